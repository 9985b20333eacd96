// Reading RIFF files with mmio: chunk search, bounds against hostile sizes, short reads.
#include <windows.h>
#include <mmsystem.h>

#include "SoundTestFiles.h"
#include "TestFiles.h"
#include "compat/Seams.h"

#include <gtest/gtest.h>

#include <random>

using namespace soundfiles;

namespace {

constexpr FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');
constexpr FOURCC kFmt = mmioFOURCC('f', 'm', 't', ' ');
constexpr FOURCC kData = mmioFOURCC('d', 'a', 't', 'a');

class MmioTest : public testing::Test {
protected:
    // Opens `bytes` written to a scratch file.
    HMMIO Open(const Bytes& bytes) {
        testfiles::WriteBytes(dir / "file.riff", bytes);
        name = dir / "file.riff";
        return mmioOpenA(name.data(), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    }

    testfiles::ScratchDir dir;
    std::string name;
};

MMRESULT FindRiff(HMMIO file, MMCKINFO& riff) {
    riff = MMCKINFO{};
    riff.fccType = kWave;
    return mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF);
}

MMRESULT FindChunk(HMMIO file, MMCKINFO& chunk, const MMCKINFO& parent, FOURCC id) {
    chunk = MMCKINFO{};
    chunk.ckid = id;
    return mmioDescend(file, &chunk, &parent, MMIO_FINDCHUNK);
}

TEST_F(MmioTest, FindsChunksPastOthersAndPadBytes) {
    // An odd-sized chunk with its pad byte, and a list with its own sub-chunk, before "fmt ".
    Bytes odd = Chunk("junk", {1, 2, 3});
    Bytes list = Form("LIST", "INFO", Chunk("INAM", {'p', 'o', 'p', 0}));
    Bytes samples = Constant16(5, 1000);
    HMMIO file = Open(Wave(odd + list + FmtChunk() + Chunk("data", samples)));
    ASSERT_NE(file, nullptr);

    MMCKINFO riff, fmt, data;
    ASSERT_EQ(FindRiff(file, riff), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.ckid, FOURCC_RIFF);
    EXPECT_EQ(riff.fccType, kWave);
    EXPECT_EQ(riff.dwDataOffset, 8u);

    ASSERT_EQ(FindChunk(file, fmt, riff, kFmt), MMSYSERR_NOERROR);
    const DWORD fmtOffset = 12 + (8 + 4) + (8 + 4 + 8 + 4) + 8;
    EXPECT_EQ(fmt.dwDataOffset, fmtOffset);
    EXPECT_EQ(fmt.cksize, 16u);
    WAVEFORMATEX format{};
    // 18 bytes from a 16-byte chunk: reading is bounded by the file, not by the chunk.
    ASSERT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof format), 18);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);
    EXPECT_EQ(format.nBlockAlign, 2);
    EXPECT_EQ(format.wBitsPerSample, 16);

    ASSERT_EQ(mmioAscend(file, &fmt, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(FindChunk(file, data, riff, kData), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 10u);
    EXPECT_EQ(data.dwDataOffset, fmtOffset + 16 + 8);
    Bytes read(10);
    EXPECT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(read.data()), 10), 10);
    EXPECT_EQ(read, samples);
    EXPECT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(read.data()), 10), 0); // end of file
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST_F(MmioTest, AscendSkipsThePadByteAndDescendWithoutFlagTakesTheNextChunk) {
    HMMIO file = Open(Wave(Chunk("odd ", {7, 7, 7}) + Chunk("next", {9, 9})));
    ASSERT_NE(file, nullptr);
    MMCKINFO riff, chunk{};
    ASSERT_EQ(FindRiff(file, riff), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioDescend(file, &chunk, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(chunk.ckid, mmioFOURCC('o', 'd', 'd', ' '));
    EXPECT_EQ(chunk.cksize, 3u);
    ASSERT_EQ(mmioAscend(file, &chunk, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 12 + 8 + 4); // after the pad byte
    ASSERT_EQ(mmioDescend(file, &chunk, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(chunk.ckid, mmioFOURCC('n', 'e', 'x', 't'));
    // Nothing more inside the RIFF chunk.
    EXPECT_EQ(mmioAscend(file, &chunk, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioDescend(file, &chunk, &riff, 0), static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
    mmioClose(file, 0);
}

TEST_F(MmioTest, SearchesStayInsideTheirParentAndForm) {
    // A "data" chunk after the RIFF chunk is outside it, and a RIFF of another form is no WAVE.
    HMMIO file = Open(Form("RIFF", "AVI ", Chunk("data", {1, 2})) + Wave(FmtChunk()) +
                      Chunk("data", {1, 2}));
    ASSERT_NE(file, nullptr);
    MMCKINFO riff, chunk;
    ASSERT_EQ(FindRiff(file, riff), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.dwDataOffset, 8u + 14 + 8);
    EXPECT_EQ(FindChunk(file, chunk, riff, kFmt), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioAscend(file, &chunk, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(FindChunk(file, chunk, riff, kData), static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
    mmioClose(file, 0);

    file = Open(Form("RIFF", "AVI ", FmtChunk()));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(FindRiff(file, riff), static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
    mmioClose(file, 0);
}

TEST_F(MmioTest, LyingSizesAreErrorsNotReads) {
    struct Case {
        const char* what;
        Bytes file;
        MMRESULT fmtResult;
    } cases[] = {
        {"format chunk larger than its RIFF chunk",
         Form("RIFF", "WAVE", Chunk("fmt ", FormatData({}), 4000)), MMIOERR_INVALIDFILE},
        {"format chunk of 4 GB", Form("RIFF", "WAVE", Chunk("fmt ", FormatData({}), 0xFFFFFFFF)),
         MMIOERR_INVALIDFILE},
        {"list before the format runs past the file",
         Wave(Chunk("LIST", {'I', 'N', 'F', 'O'}, 0x7FFFFFF0) + FmtChunk()), MMIOERR_CHUNKNOTFOUND},
        {"list before the format runs past its RIFF chunk",
         Form("RIFF", "WAVE", Chunk("LIST", {'I', 'N', 'F', 'O'}, 100) + FmtChunk(), 40),
         MMIOERR_CHUNKNOTFOUND},
        {"RIFF chunk smaller than its format chunk", Form("RIFF", "WAVE", FmtChunk(), 12),
         MMIOERR_INVALIDFILE},
        {"file ends inside the format chunk's header", Wave({}) + Bytes{'f', 'm', 't'},
         MMIOERR_CHUNKNOTFOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HMMIO file = Open(c.file);
        ASSERT_NE(file, nullptr);
        MMCKINFO riff, fmt;
        ASSERT_EQ(FindRiff(file, riff), MMSYSERR_NOERROR);
        EXPECT_EQ(FindChunk(file, fmt, riff, kFmt), c.fmtResult);
        mmioClose(file, 0);
    }
}

TEST_F(MmioTest, ChunkCutShortByTheEndOfTheFileReadsShortAndCannotBeAscended) {
    // The data chunk claims 1000 bytes; the file holds 6 of them.
    Bytes body = FmtChunk() + Chunk("data", {1, 2, 3, 4, 5, 6}, 1000);
    Bytes riff = Form("RIFF", "WAVE", body, 4 + 24 + 8 + 1000);
    HMMIO file = Open(riff);
    ASSERT_NE(file, nullptr);
    MMCKINFO wave, data;
    ASSERT_EQ(FindRiff(file, wave), MMSYSERR_NOERROR);
    ASSERT_EQ(FindChunk(file, data, wave, kData), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 1000u);
    LONG here = mmioSeek(file, 0, SEEK_CUR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_END) - here, 6);
    mmioSeek(file, here, SEEK_SET);
    Bytes read(1000, 0xEE);
    EXPECT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(read.data()), 1000), 6);
    EXPECT_EQ(Bytes(read.begin(), read.begin() + 6), (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(read[6], 0xEE); // nothing written past what was read
    EXPECT_EQ(mmioAscend(file, &data, 0), static_cast<MMRESULT>(MMIOERR_CANNOTSEEK));
    mmioClose(file, 0);
}

TEST_F(MmioTest, OpeningRefusesWhatCannotBeRead) {
    EXPECT_EQ(mmioOpenA(nullptr, nullptr, MMIO_READ), nullptr);
    std::string missing = dir / "missing.wav";
    EXPECT_EQ(mmioOpenA(missing.data(), nullptr, MMIO_READ | MMIO_ALLOCBUF), nullptr);
    std::string folder = dir.Path().string();
    EXPECT_EQ(mmioOpenA(folder.data(), nullptr, MMIO_READ | MMIO_ALLOCBUF), nullptr);

    HMMIO file = Open(Wave(FmtChunk()));
    ASSERT_NE(file, nullptr);
    mmioClose(file, 0);
    // Reading only: writing modes are not offered.
    EXPECT_EQ(mmioOpenA(name.data(), nullptr, MMIO_READWRITE), nullptr);
    EXPECT_EQ(mmioOpenA(name.data(), nullptr, MMIO_WRITE), nullptr);
    compat::seams::FailNext("mmioOpenA", E_FAIL);
    EXPECT_EQ(mmioOpenA(name.data(), nullptr, MMIO_READ | MMIO_ALLOCBUF), nullptr);
    file = mmioOpenA(name.data(), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    EXPECT_NE(file, nullptr);
    mmioClose(file, 0);
}

TEST_F(MmioTest, SeekingAndReadingStayInRange) {
    HMMIO file = Open(Bytes{10, 11, 12, 13, 14});
    ASSERT_NE(file, nullptr);
    char byte = 0;
    EXPECT_EQ(mmioSeek(file, 0, SEEK_END), 5);
    EXPECT_EQ(mmioRead(file, &byte, 1), 0);
    EXPECT_EQ(mmioSeek(file, -6, SEEK_END), -1);
    EXPECT_EQ(mmioSeek(file, 3, SEEK_SET), 3);
    EXPECT_EQ(mmioSeek(file, 1, SEEK_CUR), 4);
    EXPECT_EQ(mmioRead(file, &byte, 1), 1);
    EXPECT_EQ(byte, 14);
    EXPECT_EQ(mmioSeek(file, 100, SEEK_SET), 100); // past the end: reads nothing
    EXPECT_EQ(mmioRead(file, &byte, 1), 0);
    EXPECT_EQ(mmioRead(file, &byte, -1), -1);
    EXPECT_EQ(mmioSeek(file, 0, 7), -1);
    mmioClose(file, 0);
}

TEST_F(MmioTest, ForcedFailuresAnswerWithTheirCode) {
    HMMIO file = Open(Wave(FmtChunk()));
    ASSERT_NE(file, nullptr);
    MMCKINFO riff, fmt;
    compat::seams::FailNext("mmioDescend", MMIOERR_CHUNKNOTFOUND);
    EXPECT_EQ(FindRiff(file, riff), static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
    ASSERT_EQ(FindRiff(file, riff), MMSYSERR_NOERROR);
    ASSERT_EQ(FindChunk(file, fmt, riff, kFmt), MMSYSERR_NOERROR);
    char bytes[4];
    compat::seams::FailNext("mmioRead", E_FAIL);
    EXPECT_EQ(mmioRead(file, bytes, 4), -1);
    compat::seams::FailNext("mmioAscend", MMIOERR_CANNOTSEEK);
    EXPECT_EQ(mmioAscend(file, &fmt, 0), static_cast<MMRESULT>(MMIOERR_CANNOTSEEK));
    compat::seams::FailNext("mmioClose", MMIOERR_CANNOTCLOSE);
    EXPECT_EQ(mmioClose(file, 0), static_cast<MMRESULT>(MMIOERR_CANNOTCLOSE));
}

// Every prefix of a good file, and many randomly damaged copies, walked the way the game walks a
// WAV file. Under the sanitizers this proves no read strays; here every chunk found must lie
// where the rules allow.
TEST_F(MmioTest, DamagedFilesNeverYieldChunksOutsideTheirParent) {
    const Bytes good = Wave(Form("LIST", "INFO", Chunk("INAM", {'a', 'b', 'c'})) + FmtChunk() +
                            Chunk("data", Constant16(20, 300)));
    std::mt19937 random(12345);
    std::vector<Bytes> files;
    for (size_t length = 0; length <= good.size(); ++length)
        files.emplace_back(good.begin(), good.begin() + static_cast<long>(length));
    for (int i = 0; i < 300; ++i) {
        Bytes damaged = good;
        for (int hits = 0; hits < 3; ++hits)
            damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        files.push_back(damaged);
    }
    int complete = 0;
    for (const Bytes& bytes : files) {
        HMMIO file = Open(bytes);
        ASSERT_NE(file, nullptr);
        MMCKINFO riff, fmt, data;
        if (FindRiff(file, riff) == MMSYSERR_NOERROR &&
            FindChunk(file, fmt, riff, kFmt) == MMSYSERR_NOERROR) {
            const uint64_t riffEnd = uint64_t{riff.dwDataOffset} + riff.cksize;
            EXPECT_LE(uint64_t{fmt.dwDataOffset} + fmt.cksize, riffEnd);
            EXPECT_LE(fmt.dwDataOffset, bytes.size());
            WAVEFORMATEX format;
            mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof format);
            if (mmioAscend(file, &fmt, 0) == MMSYSERR_NOERROR &&
                FindChunk(file, data, riff, kData) == MMSYSERR_NOERROR) {
                EXPECT_LE(uint64_t{data.dwDataOffset} + data.cksize, riffEnd);
                EXPECT_LE(data.dwDataOffset, bytes.size());
                Bytes read(4096);
                LONG got = mmioRead(file, reinterpret_cast<HPSTR>(read.data()), 4096);
                EXPECT_LE(uint64_t(data.dwDataOffset) + uint64_t(got), bytes.size());
                ++complete;
            }
        }
        mmioClose(file, 0);
    }
    EXPECT_GT(complete, 0); // the whole file at least
}

} // namespace
