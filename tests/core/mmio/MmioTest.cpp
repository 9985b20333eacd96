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
    // Another RIFF form first, and a chunk after the RIFF chunk, which is outside it.
    Bytes avi = Form("RIFF", "AVI ", Chunk("data", {9, 9}));
    HMMIO file =
        Open(avi + Wave(odd + list + FmtChunk() + Chunk("data", samples)) + Chunk("more", {1, 2}));
    ASSERT_NE(file, nullptr);

    MMCKINFO riff, fmt, data, more;
    ASSERT_EQ(FindRiff(file, riff), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.ckid, FOURCC_RIFF);
    EXPECT_EQ(riff.fccType, kWave);
    EXPECT_EQ(riff.dwDataOffset, avi.size() + 8);

    ASSERT_EQ(FindChunk(file, fmt, riff, kFmt), MMSYSERR_NOERROR);
    const DWORD fmtOffset = static_cast<DWORD>(avi.size()) + 12 + (8 + 4) + (8 + 4 + 8 + 4) + 8;
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
    EXPECT_EQ(FindChunk(file, more, riff, mmioFOURCC('m', 'o', 'r', 'e')),
              static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST_F(MmioTest, AscendPassesThePadByteOfAnOddChunk) {
    HMMIO file = Open(Wave(Chunk("odd ", {7, 7, 7}) + Chunk("next", {9, 9})));
    ASSERT_NE(file, nullptr);
    MMCKINFO riff, chunk{};
    ASSERT_EQ(FindRiff(file, riff), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioDescend(file, &chunk, &riff, 0), MMSYSERR_NOERROR); // the chunk that is there
    EXPECT_EQ(chunk.cksize, 3u);
    ASSERT_EQ(mmioAscend(file, &chunk, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 12 + 8 + 4);
    ASSERT_EQ(mmioDescend(file, &chunk, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(chunk.ckid, mmioFOURCC('n', 'e', 'x', 't'));
    mmioClose(file, 0);
}

TEST_F(MmioTest, AChunkCutShortByTheFilesEndIsFoundAndReadsShort) {
    // A file that was cut short is not lying, only shorter.
    HMMIO file = Open(Form("RIFF", "WAVE", Chunk("fmt ", {1, 0, 1, 0}, 16), 28));
    ASSERT_NE(file, nullptr);
    MMCKINFO riff, fmt;
    ASSERT_EQ(FindRiff(file, riff), MMSYSERR_NOERROR);
    ASSERT_EQ(FindChunk(file, fmt, riff, kFmt), MMSYSERR_NOERROR);
    EXPECT_EQ(fmt.cksize, 16u);
    char read[16];
    EXPECT_EQ(mmioRead(file, read, 16), 4);
    EXPECT_EQ(mmioAscend(file, &fmt, 0), MMSYSERR_NOERROR); // past the end, as on Windows
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 36);
    EXPECT_EQ(mmioRead(file, read, 16), 0);
    mmioClose(file, 0);
}

TEST_F(MmioTest, AChunkClaimingMoreThanItsParentIsFoundAndReadsToTheFilesEnd) {
    // The RIFF size is honest, the "data" size is not: as on Windows the chunk is found with the
    // size it claims, and its data reads short at the end of the file.
    const Bytes samples = Constant16(10, 500);
    HMMIO file = Open(Wave(FmtChunk() + Chunk("data", samples, 5000) + Chunk("more", {1, 2})));
    ASSERT_NE(file, nullptr);
    MMCKINFO riff, fmt, data, more;
    ASSERT_EQ(FindRiff(file, riff), MMSYSERR_NOERROR);
    ASSERT_EQ(FindChunk(file, fmt, riff, kFmt), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioAscend(file, &fmt, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(FindChunk(file, data, riff, kData), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 5000u);
    EXPECT_GT(uint64_t{data.dwDataOffset} + data.cksize, uint64_t{riff.dwDataOffset} + riff.cksize);
    Bytes read(5000);
    // The 20 bytes of samples and the 10 of the chunk after them: all that is left of the file.
    ASSERT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(read.data()), 5000), 30);
    EXPECT_EQ(Bytes(read.begin(), read.begin() + 20), samples);
    // Past the claimed end there is nothing inside the RIFF chunk to be found.
    ASSERT_EQ(mmioAscend(file, &data, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(FindChunk(file, more, riff, mmioFOURCC('m', 'o', 'r', 'e')),
              static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
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
}

TEST_F(MmioTest, DamagedFilesNeverYieldChunksThatStartOutsideTheirParent) {
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
            EXPECT_LE(fmt.dwDataOffset, riffEnd);
            EXPECT_LE(fmt.dwDataOffset, bytes.size());
            WAVEFORMATEX format;
            mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof format);
            if (mmioAscend(file, &fmt, 0) == MMSYSERR_NOERROR &&
                FindChunk(file, data, riff, kData) == MMSYSERR_NOERROR) {
                EXPECT_LE(data.dwDataOffset, riffEnd);
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
