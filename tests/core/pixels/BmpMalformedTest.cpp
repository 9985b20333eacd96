// Malformed, truncated, lying and oversized bitmap files are refused without reading outside
// the file (the sanitizer build of this suite is the real check).
#include "BmpFiles.h"
#include "TestFiles.h"
#include "compat/GdiSeams.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>

namespace {

using bmpfiles::BmpFile;

constexpr UINT kFromFile = LR_LOADFROMFILE | LR_CREATEDIBSECTION;

HANDLE LoadBytes(const testfiles::ScratchDir& dir, const std::vector<uint8_t>& bytes) {
    const std::string path = bmpfiles::WriteBmp(dir / "case.bmp", bytes);
    return LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, kFromFile);
}

void Set32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Valid files that the cases below spoil in one way each.
BmpFile Indexed8() {
    BmpFile file;
    file.width = 6;
    file.height = 4;
    file.bitCount = 8;
    file.palette = std::vector<uint32_t>(256, RGB(1, 2, 3));
    file.pixels = bmpfiles::PackRows(std::vector<std::vector<uint32_t>>(4, {1, 2, 3, 4, 5, 6}), 8);
    return file;
}

BmpFile Rle8(std::vector<uint8_t> stream) {
    BmpFile file = Indexed8();
    file.compression = BI_RLE8;
    file.pixels = std::move(stream);
    return file;
}

BmpFile Rle4(std::vector<uint8_t> stream) {
    BmpFile file = Indexed8();
    file.bitCount = 4;
    file.palette.resize(16);
    file.compression = BI_RLE4;
    file.pixels = std::move(stream);
    return file;
}

BmpFile Fields16() {
    BmpFile file;
    file.width = 3;
    file.height = 2;
    file.bitCount = 16;
    file.compression = BI_BITFIELDS;
    file.masks = {0xF800, 0x07E0, 0x001F};
    file.pixels = bmpfiles::PackRows({{1, 2, 3}, {4, 5, 6}}, 16);
    return file;
}

BmpFile Direct24() {
    BmpFile file;
    file.width = 5;
    file.height = 3;
    file.pixels = bmpfiles::PackRows(std::vector<std::vector<uint32_t>>(3, {1, 2, 3, 4, 5}), 24);
    return file;
}

std::vector<uint8_t> Cut(const BmpFile& file, size_t length) {
    std::vector<uint8_t> bytes = file.Bytes();
    bytes.resize(std::min(length, bytes.size()));
    return bytes;
}

template <typename Change> BmpFile With(BmpFile file, Change change) {
    change(file);
    return file;
}

std::vector<uint8_t> Spoil(const BmpFile& file, size_t at, std::vector<uint8_t> replacement) {
    std::vector<uint8_t> bytes = file.Bytes();
    std::copy(replacement.begin(), replacement.end(), bytes.begin() + static_cast<long>(at));
    return bytes;
}

// One full line of each RLE8 row of the 6x4 base, then the end mark.
const std::vector<uint8_t> kGoodRle8 = {6, 1, 0, 0, 6, 2, 0, 0, 6, 3, 0, 0, 6, 4, 0, 1};

struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
};

TEST(BmpMalformedTest, TheSpoiledFilesStartOutValid) {
    testfiles::ScratchDir dir;
    for (const BmpFile& file :
         {Indexed8(), Rle8(kGoodRle8), Rle4({6, 0x12, 0, 0, 0, 1}), Fields16(), Direct24()}) {
        HANDLE bitmap = LoadBytes(dir, file.Bytes());
        EXPECT_NE(bitmap, nullptr);
        DeleteObject(bitmap);
    }
}

TEST(BmpMalformedTest, RefusedWithoutReadingPastTheFile) {
    const BmpFile base = Indexed8();
    const size_t headersEnd = 14 + 40;
    const std::vector<Case> cases = {
        // Truncated at every part of the file.
        {"empty file", {}},
        {"magic only", {'B', 'M'}},
        {"inside the file header", Cut(base, 10)},
        {"before the header size", Cut(base, 16)},
        {"inside the info header", Cut(base, 30)},
        {"inside the core header",
         Cut(With(Direct24(), [](BmpFile& f) { f.headerSize = 12; }), 20)},
        {"inside the V5 header", Cut(With(base, [](BmpFile& f) { f.headerSize = 124; }), 100)},
        {"inside the bit-field masks", Cut(Fields16(), headersEnd + 6)},
        {"inside the colour table", Cut(base, headersEnd + 512)},
        {"one byte short of the pixels", Cut(base, base.Bytes().size() - 1)},
        {"24-bit row padding missing", Cut(Direct24(), Direct24().Bytes().size() - 1)},
        // Not a bitmap, or a header we do not know.
        {"wrong magic", Spoil(base, 0, {'M', 'B'})},
        {"header size 0", With(base, [](BmpFile& f) { f.headerSize = 0; }).Bytes()},
        {"header size 41", With(base, [](BmpFile& f) { f.headerSize = 41; }).Bytes()},
        {"header size 64", With(base, [](BmpFile& f) { f.headerSize = 64; }).Bytes()},
        {"header size huge", Spoil(base, 14, {0xF0, 0xFF, 0xFF, 0xFF})},
        // Sizes out of range.
        {"width 0", With(base, [](BmpFile& f) { f.width = 0; }).Bytes()},
        {"negative width", With(base, [](BmpFile& f) { f.width = -6; }).Bytes()},
        {"height 0", With(base, [](BmpFile& f) { f.height = 0; }).Bytes()},
        {"width 16385", With(base, [](BmpFile& f) { f.width = 16385; }).Bytes()},
        {"height 16385", With(base, [](BmpFile& f) { f.height = 16385; }).Bytes()},
        {"top-down height -16385", With(base, [](BmpFile& f) { f.height = -16385; }).Bytes()},
        {"height of the most negative value",
         With(base, [](BmpFile& f) { f.height = INT32_MIN; }).Bytes()},
        {"both sides the largest value",
         With(base, [](BmpFile& f) { f.width = f.height = INT32_MAX; }).Bytes()},
        {"16384 square from a two-byte RLE stream",
         With(Rle8({0, 1}), [](BmpFile& f) { f.width = f.height = 16384; }).Bytes()},
        {"one row more than 16 Mi pixels from a two-byte RLE stream",
         With(Rle8({0, 1}), [](BmpFile& f) { f.width = 4096, f.height = 4097; }).Bytes()},
        {"16384 by 1025 from a two-byte RLE stream",
         With(Rle8({0, 1}), [](BmpFile& f) { f.width = 16384, f.height = 1025; }).Bytes()},
        {"rows claimed beyond the data", With(base, [](BmpFile& f) { f.height = 5000; }).Bytes()},
        // Impossible forms.
        {"no planes", With(base, [](BmpFile& f) { f.planes = 0; }).Bytes()},
        {"two planes", With(base, [](BmpFile& f) { f.planes = 2; }).Bytes()},
        {"0 bits per pixel", With(base, [](BmpFile& f) { f.bitCount = 0; }).Bytes()},
        {"2 bits per pixel", With(base, [](BmpFile& f) { f.bitCount = 2; }).Bytes()},
        {"7 bits per pixel", With(base, [](BmpFile& f) { f.bitCount = 7; }).Bytes()},
        {"64 bits per pixel", With(base, [](BmpFile& f) { f.bitCount = 64; }).Bytes()},
        {"16 bits in a core header",
         With(Direct24(), [](BmpFile& f) { f.headerSize = 12, f.bitCount = 16; }).Bytes()},
        {"JPEG inside", With(Direct24(), [](BmpFile& f) { f.compression = BI_JPEG; }).Bytes()},
        {"PNG inside", With(Direct24(), [](BmpFile& f) { f.compression = BI_PNG; }).Bytes()},
        {"unknown compression",
         With(Direct24(), [](BmpFile& f) { f.compression = 0xFFFFFFFF; }).Bytes()},
        {"RLE8 at 4 bits", With(Rle8(kGoodRle8), [](BmpFile& f) { f.bitCount = 4; }).Bytes()},
        {"RLE4 at 8 bits", With(Rle4({6, 0x12, 0, 1}), [](BmpFile& f) { f.bitCount = 8; }).Bytes()},
        {"RLE stored top-down", With(Rle8(kGoodRle8), [](BmpFile& f) { f.height = -4; }).Bytes()},
        {"bit fields at 24 bits",
         With(Direct24(), [](BmpFile& f) { f.compression = BI_BITFIELDS; }).Bytes()},
        {"bit fields at 8 bits", With(base,
                                      [](BmpFile& f) {
                                          f.compression = BI_BITFIELDS, f.masks = {1, 2, 4};
                                      })
                                     .Bytes()},
        // Lying colour tables and masks.
        {"257 colours at 8 bits", With(base, [](BmpFile& f) { f.colorsUsed = 257; }).Bytes()},
        {"three colours at 1 bit", With(base,
                                        [](BmpFile& f) {
                                            f.bitCount = 1, f.colorsUsed = 3, f.palette.resize(3);
                                            f.pixels.assign(16, 0);
                                        })
                                       .Bytes()},
        {"colour count near 2^32",
         With(base, [](BmpFile& f) { f.colorsUsed = 0xFFFFFFFF; }).Bytes()},
        {"colour table overlapping the pixels",
         With(base, [](BmpFile& f) { f.offBits = 14 + 40 + 100; }).Bytes()},
        {"scattered mask", With(Fields16(), [](BmpFile& f) { f.masks[0] = 0xA800; }).Bytes()},
        {"overlapping masks", With(Fields16(), [](BmpFile& f) { f.masks[1] = 0x0FE0; }).Bytes()},
        {"mask wider than 16 bits",
         With(Fields16(), [](BmpFile& f) { f.masks[2] = 0x1001F; }).Bytes()},
        // Lying pixel offsets.
        {"pixels at offset 0", With(base, [](BmpFile& f) { f.offBits = 0; }).Bytes()},
        {"pixels inside the header", With(base, [](BmpFile& f) { f.offBits = 20; }).Bytes()},
        {"pixels past the end", With(base, [](BmpFile& f) { f.offBits = 0x7FFFFFFF; }).Bytes()},
        {"pixels offset too far by one row",
         With(base, [](BmpFile& f) { f.offBits = f.DataOffset() + 8; }).Bytes()},
        // RLE streams running past the picture or the stream. (Pixels past a row's end are
        // dropped, not refused.)
        {"RLE8 move past the right edge", Rle8({0, 2, 7, 0, 0, 1}).Bytes()},
        {"RLE8 move past the top", Rle8({0, 2, 0, 5, 0, 1}).Bytes()},
        {"RLE8 writing above the top", Rle8({0, 0, 0, 0, 0, 0, 0, 0, 1, 9, 0, 1}).Bytes()},
        {"RLE8 more line ends than rows", Rle8({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}).Bytes()},
        {"RLE8 literals past the stream", Rle8({0, 6, 1, 2, 3}).Bytes()},
        {"RLE8 literal padding past the stream", Rle8({0, 3, 1, 2, 3}).Bytes()},
        {"RLE8 move cut short", Rle8({0, 2, 1}).Bytes()},
        {"RLE8 stream stops mid-picture", Rle8({6, 1, 0, 0, 6, 2}).Bytes()},
        {"RLE8 stream stops on an escape", Rle8({6, 1, 0}).Bytes()},
        {"RLE8 stream size beyond the file",
         With(Rle8(kGoodRle8), [](BmpFile& f) { f.imageSize = 1000; }).Bytes()},
        {"RLE8 stream size cuts the stream",
         With(Rle8(kGoodRle8), [](BmpFile& f) { f.imageSize = 6; }).Bytes()},
        {"RLE4 literals past the stream", Rle4({0, 6, 0x12, 0x34}).Bytes()},
    };
    testfiles::ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HANDLE bitmap = LoadBytes(dir, c.bytes);
        EXPECT_EQ(bitmap, nullptr);
        if (bitmap)
            DeleteObject(bitmap);
    }
    EXPECT_EQ(compat::seams::LiveGdiObjects(), 0);
}

TEST(BmpMalformedTest, ATinyFileMayClaimAPictureOf16MiPixels) {
    // The largest picture there may be, all of it skipped by the stream: index 0 everywhere.
    testfiles::ScratchDir dir;
    HANDLE bitmap =
        LoadBytes(dir, With(Rle8({0, 1}), [](BmpFile& f) { f.width = f.height = 4096; }).Bytes());
    ASSERT_NE(bitmap, nullptr);
    BITMAP description{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof description, &description),
              static_cast<int>(sizeof description));
    EXPECT_EQ(description.bmWidth, 4096);
    EXPECT_EQ(description.bmHeight, 4096);
    EXPECT_TRUE(DeleteObject(bitmap));
}

// Many deterministic mutations of valid files: each is loaded or refused, and a loaded one has
// a sane size. The sanitizers catch any read outside the file.
TEST(BmpMalformedTest, MutatedFilesNeverReadOutOfBounds) {
    testfiles::ScratchDir dir;
    std::mt19937 random(20240611);
    const uint32_t interesting[] = {0,     1,     2,          3,          4,
                                    8,     0x7F,  0x80,       0xFF,       0x7FFF,
                                    16384, 16385, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    const std::vector<BmpFile> bases = {
        Indexed8(),
        Rle8(kGoodRle8),
        Rle8({2, 1, 0, 4, 1, 2, 3, 4, 0, 2, 1, 1, 3, 9, 0, 0, 0, 3, 7, 7, 7, 0, 0, 1}),
        Rle4({6, 0x12, 0, 0, 0, 5, 0x12, 0x34, 0x50, 0, 0, 2, 1, 0, 1}),
        Fields16(),
        Direct24(),
        With(Direct24(), [](BmpFile& f) { f.headerSize = 124, f.height = -3; }),
        With(Indexed8(),
             [](BmpFile& f) { f.headerSize = 12, f.bitCount = 1, f.palette.resize(2); }),
    };
    int loaded = 0, refused = 0;
    for (const BmpFile& base : bases) {
        const std::vector<uint8_t> original = base.Bytes();
        for (int round = 0; round < 600; ++round) {
            std::vector<uint8_t> bytes = original;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes && !bytes.empty(); ++i) {
                const size_t at = random() % bytes.size();
                switch (random() % 5) {
                case 0:
                    bytes[at] = static_cast<uint8_t>(random());
                    break;
                case 1:
                    bytes[at] ^= static_cast<uint8_t>(1u << (random() % 8));
                    break;
                case 2:
                    bytes.resize(at);
                    break;
                case 3:
                    // A header field or the stream gets a value from the edges of its range.
                    if (at + 4 <= bytes.size())
                        Set32(bytes, at, interesting[random() % std::size(interesting)]);
                    break;
                default:
                    bytes.insert(bytes.begin() + static_cast<long>(at),
                                 static_cast<uint8_t>(random()));
                    break;
                }
            }
            HANDLE bitmap = LoadBytes(dir, bytes);
            if (!bitmap) {
                ++refused;
                continue;
            }
            ++loaded;
            BITMAP description{};
            ASSERT_EQ(GetObjectA(bitmap, sizeof description, &description),
                      static_cast<int>(sizeof description));
            EXPECT_GE(description.bmWidth, 1);
            EXPECT_LE(description.bmWidth, 16384);
            EXPECT_GE(description.bmHeight, 1);
            EXPECT_LE(description.bmHeight, 16384);
            EXPECT_TRUE(DeleteObject(bitmap));
        }
    }
    // Both outcomes happen, so the decoders ran on spoiled data and not only the header checks.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(refused, 100);
}

} // namespace
