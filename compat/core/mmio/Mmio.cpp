// RIFF file reading (mmio), for reading only. Files are untrusted: a chunk is looked for only
// inside the chunk that holds it and inside the file, and no read goes past the end of the file.
#include <mmsystem.h>

#include "seams/Failures.h"
#include "files/Files.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string_view>
#include <sys/stat.h>

namespace {

// Offsets are 32-bit signed (LONG) at this interface: no file position beyond that is reachable.
constexpr uint64_t kLargestFile = 0x7FFFFFFF;
constexpr DWORD kModeBits = 0x00000003;    // MMIO_READ, MMIO_WRITE, MMIO_READWRITE
constexpr DWORD kSharingBits = 0x00000070; // MMIO_EXCLUSIVE ... MMIO_DENYNONE
constexpr uint64_t kHeaderBytes = 8;       // identifier and size
constexpr uint64_t kFormTypeBytes = 4;     // the form or list type of RIFF and LIST chunks

struct MmioFile {
    std::FILE* stream = nullptr;
    uint64_t size = 0;
    uint64_t position = 0;
};

MmioFile* FileOf(HMMIO handle) {
    return reinterpret_cast<MmioFile*>(handle);
}

// A forced failure of an operation that answers with an MMRESULT.
bool ForcedMmFailure(std::string_view operation, MMRESULT* result) {
    HRESULT forced;
    if (!compat::TakeForcedFailure(operation, &forced))
        return false;
    *result = forced != 0 ? static_cast<MMRESULT>(forced) : MMSYSERR_ERROR;
    return true;
}

// Reads up to `count` bytes at `offset`, never past the end of the file; the count read.
size_t ReadAt(MmioFile& file, uint64_t offset, void* into, size_t count) {
    if (offset >= file.size)
        return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, file.size - offset));
    if (fseeko(file.stream, static_cast<off_t>(offset), SEEK_SET) != 0)
        return 0;
    return std::fread(into, 1, count, file.stream);
}

// What descending and ascending check first: a forced failure, the handle, the chunk. The open
// file, or null with the answer in `*result`.
MmioFile* ChunkCall(std::string_view operation, HMMIO handle, const MMCKINFO* chunk,
                    MMRESULT* result) {
    if (ForcedMmFailure(operation, result))
        return nullptr;
    *result = !handle ? MMSYSERR_INVALHANDLE : !chunk ? MMSYSERR_INVALPARAM : MMSYSERR_NOERROR;
    return *result == MMSYSERR_NOERROR ? FileOf(handle) : nullptr;
}

bool IsForm(FOURCC id) {
    return id == FOURCC_RIFF || id == FOURCC_LIST;
}

} // namespace

HMMIO WINAPI mmioOpenA(LPSTR fileName, LPMMIOINFO info, DWORD flags) {
    if (compat::TakeForcedFailure("mmioOpenA"))
        return nullptr;
    if (!fileName || info || (flags & kModeBits) != MMIO_READ ||
        (flags & ~(kModeBits | kSharingBits | MMIO_ALLOCBUF)))
        return nullptr;
    std::FILE* stream = std::fopen(fileName, "rb");
    if (!stream)
        return nullptr;
    struct stat status {};
    if (fstat(fileno(stream), &status) != 0 || !S_ISREG(status.st_mode)) {
        std::fclose(stream);
        return nullptr;
    }
    auto* file = new (std::nothrow) MmioFile;
    if (!file) {
        std::fclose(stream);
        return nullptr;
    }
    file->stream = stream;
    file->size = std::min<uint64_t>(static_cast<uint64_t>(status.st_size), kLargestFile);
    return reinterpret_cast<HMMIO>(file);
}

MMRESULT WINAPI mmioClose(HMMIO handle, UINT) {
    MmioFile* file = FileOf(handle);
    if (!file)
        return MMSYSERR_INVALHANDLE;
    MMRESULT result = MMSYSERR_NOERROR;
    if (std::fclose(file->stream) != 0)
        result = MMIOERR_CANNOTCLOSE;
    delete file;
    ForcedMmFailure("mmioClose", &result); // the file is closed all the same
    return result;
}

LONG WINAPI mmioRead(HMMIO handle, HPSTR into, LONG count) {
    if (compat::TakeForcedFailure("mmioRead"))
        return -1;
    MmioFile* file = FileOf(handle);
    if (!file || count < 0 || (!into && count > 0))
        return -1;
    size_t got = ReadAt(*file, file->position, into, static_cast<size_t>(count));
    if (got < static_cast<size_t>(count) && std::ferror(file->stream)) {
        std::clearerr(file->stream);
        return -1;
    }
    file->position += got;
    return static_cast<LONG>(got);
}

LONG WINAPI mmioSeek(HMMIO handle, LONG offset, int origin) {
    if (compat::TakeForcedFailure("mmioSeek"))
        return -1;
    MmioFile* file = FileOf(handle);
    if (!file)
        return -1;
    int64_t base;
    switch (origin) {
    case SEEK_SET:
        base = 0;
        break;
    case SEEK_CUR:
        base = static_cast<int64_t>(file->position);
        break;
    case SEEK_END:
        base = static_cast<int64_t>(file->size);
        break;
    default:
        return -1;
    }
    int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(kLargestFile))
        return -1;
    file->position = static_cast<uint64_t>(target);
    return static_cast<LONG>(target);
}

MMRESULT WINAPI mmioDescend(HMMIO handle, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags) {
    MMRESULT refused;
    MmioFile* file = ChunkCall("mmioDescend", handle, chunk, &refused);
    if (!file)
        return refused;
    const UINT search = flags & (MMIO_FINDCHUNK | MMIO_FINDRIFF | MMIO_FINDLIST);
    if (flags != search ||
        (search && search != MMIO_FINDCHUNK && search != MMIO_FINDRIFF && search != MMIO_FINDLIST))
        return MMSYSERR_INVALFLAG;

    // The search stays inside the parent's data as declared, and inside the file.
    const uint64_t parentEnd =
        parent ? uint64_t{parent->dwDataOffset} + parent->cksize : UINT64_MAX;
    const uint64_t end = std::min(parentEnd, file->size);

    for (uint64_t at = file->position;;) {
        uint8_t header[kHeaderBytes + kFormTypeBytes];
        if (at + kHeaderBytes > end || ReadAt(*file, at, header, kHeaderBytes) != kHeaderBytes)
            return MMIOERR_CHUNKNOTFOUND;
        const FOURCC id = compat::ReadU32(header);
        const DWORD size = compat::ReadU32(header + 4);
        const uint64_t dataOffset = at + kHeaderBytes;
        const uint64_t chunkEnd = dataOffset + size;
        // The form type, when it is there to be read.
        const bool typed =
            IsForm(id) && size >= kFormTypeBytes && dataOffset + kFormTypeBytes <= end &&
            ReadAt(*file, dataOffset, header + kHeaderBytes, kFormTypeBytes) == kFormTypeBytes;
        const FOURCC type = typed ? compat::ReadU32(header + kHeaderBytes) : 0;

        bool found;
        switch (search) {
        case MMIO_FINDCHUNK:
            found = id == chunk->ckid;
            break;
        case MMIO_FINDRIFF:
            found = id == FOURCC_RIFF && typed && type == chunk->fccType;
            break;
        case MMIO_FINDLIST:
            found = id == FOURCC_LIST && typed && type == chunk->fccType;
            break;
        default:
            found = true; // the chunk at the current position
            break;
        }

        if (found) {
            // Its header lies inside its parent and the file, but its data may claim more than
            // either holds, as on Windows (a file cut short, a size that lies): reading it then
            // comes up short at the end of the file, and a search for the next chunk still stops
            // at the parent's end.
            if (IsForm(id) && !typed)
                return MMIOERR_INVALIDFILE;
            chunk->ckid = id;
            chunk->cksize = size;
            chunk->fccType = type;
            chunk->dwDataOffset = static_cast<DWORD>(dataOffset);
            chunk->dwFlags = 0;
            file->position = dataOffset + (IsForm(id) ? kFormTypeBytes : 0);
            return MMSYSERR_NOERROR;
        }
        // Passed over: the next chunk follows this one's data and its pad byte. A size that runs
        // past the parent or the file leaves no room there for a next chunk's header.
        at = chunkEnd + (size & 1);
    }
}

MMRESULT WINAPI mmioAscend(HMMIO handle, LPMMCKINFO chunk, UINT) {
    MMRESULT refused;
    MmioFile* file = ChunkCall("mmioAscend", handle, chunk, &refused);
    if (!file)
        return refused;
    // As on Windows, the end of a chunk cut short by the end of the file is past the end of the
    // file: the ascent succeeds, and reading there finds nothing.
    file->position = uint64_t{chunk->dwDataOffset} + chunk->cksize + (chunk->cksize & 1);
    return MMSYSERR_NOERROR;
}
