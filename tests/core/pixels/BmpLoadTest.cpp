// Bitmap files of every supported form decode to the pixels they hold.
#include "BmpFiles.h"
#include "TestFiles.h"
#include "compat/GdiSeams.h"
#include "compat/Seams.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using bmpfiles::BmpFile;
using Rows = std::vector<std::vector<uint32_t>>;

constexpr UINT kFromFile = LR_LOADFROMFILE | LR_CREATEDIBSECTION;

class BmpLoadTest : public testing::Test {
protected:
    HBITMAP Load(const BmpFile& file, int cx = 0, int cy = 0) { return Load(file.Bytes(), cx, cy); }
    HBITMAP Load(const std::vector<uint8_t>& bytes, int cx = 0, int cy = 0) {
        const std::string path = bmpfiles::WriteBmp(dir / "picture.bmp", bytes);
        auto bitmap = static_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, cx, cy, kFromFile));
        if (bitmap)
            loaded.push_back(bitmap);
        return bitmap;
    }
    // The bitmap's colours, rows top first.
    static Rows Colors(HBITMAP bitmap) {
        compat::seams::BitmapPixels pixels;
        EXPECT_TRUE(compat::seams::ReadBitmapPixels(bitmap, &pixels));
        Rows rows(pixels.height, std::vector<uint32_t>(pixels.width));
        for (int y = 0; y < pixels.height; ++y)
            for (int x = 0; x < pixels.width; ++x)
                rows[y][x] = pixels.At(x, y);
        return rows;
    }
    void TearDown() override {
        for (HBITMAP bitmap : loaded)
            EXPECT_TRUE(DeleteObject(bitmap));
    }

    testfiles::ScratchDir dir;
    std::vector<HBITMAP> loaded;
};

// Five columns, so that every depth needs row padding, and three rows, so that bottom-up and
// top-down order differ.
constexpr int kWidth = 5, kHeight = 3;

Rows IndexPattern(uint32_t colors) {
    Rows rows(kHeight, std::vector<uint32_t>(kWidth));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            rows[y][x] = (x + 2 * y) % colors;
    return rows;
}

std::vector<uint32_t> Palette(uint32_t count) {
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < count; ++i)
        palette.push_back(RGB(17 * i, 255 - 13 * i, (i * 71) & 0xFF));
    return palette;
}

Rows ThroughPalette(const Rows& indices, const std::vector<uint32_t>& palette) {
    Rows colors = indices;
    for (auto& row : colors)
        for (auto& value : row)
            value = palette[value];
    return colors;
}

// XRGB words as stored in 24- and 32-bit files, and the COLORREF each stands for.
uint32_t Xrgb(COLORREF color) {
    return GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color);
}

// Red in the top byte, then green and blue, alpha in the lowest: an RGBA layout.
uint32_t Rgba(COLORREF color) {
    return static_cast<uint32_t>(GetRValue(color)) << 24 | GetGValue(color) << 16 |
           GetBValue(color) << 8 | 0x5A;
}

Rows ColorPattern() {
    Rows rows(kHeight, std::vector<uint32_t>(kWidth));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            rows[y][x] = RGB(40 * x + 3, 90 * y + 7, 255 - 20 * x - 50 * y);
    return rows;
}

Rows Map(Rows rows, uint32_t (*f)(uint32_t)) {
    for (auto& row : rows)
        for (auto& value : row)
            value = f(value);
    return rows;
}

// One row of stored values.
BmpFile OneRow(int bits, std::vector<uint32_t> values) {
    BmpFile file;
    file.width = static_cast<int32_t>(values.size());
    file.height = 1;
    file.bitCount = static_cast<uint16_t>(bits);
    file.pixels = bmpfiles::PackRows({values}, bits);
    return file;
}

// A compressed picture with a full colour table; the stream is the caller's.
BmpFile RleFile(uint32_t compression, int width, int height) {
    BmpFile file;
    file.width = width;
    file.height = height;
    file.bitCount = compression == BI_RLE8 ? 8 : 4;
    file.compression = compression;
    file.palette = Palette(1u << file.bitCount);
    return file;
}

// The test pattern through a colour table of `tableSize` entries, at most 16 of them used.
BmpFile IndexedFile(int bits, uint32_t tableSize, bool topDown = false, uint32_t headerSize = 40) {
    BmpFile file;
    file.headerSize = headerSize;
    file.width = kWidth;
    file.height = topDown ? -kHeight : kHeight;
    file.bitCount = static_cast<uint16_t>(bits);
    file.palette = Palette(tableSize);
    file.pixels = bmpfiles::PackRows(IndexPattern(std::min(tableSize, 16u)), bits, topDown);
    return file;
}

Rows IndexedColors(uint32_t tableSize) {
    return ThroughPalette(IndexPattern(std::min(tableSize, 16u)), Palette(tableSize));
}

// The colour pattern, each pixel stored as `store` makes it.
BmpFile DirectFile(int bits, uint32_t (*store)(uint32_t), bool topDown = false,
                   uint32_t headerSize = 40) {
    BmpFile file;
    file.headerSize = headerSize;
    file.width = kWidth;
    file.height = topDown ? -kHeight : kHeight;
    file.bitCount = static_cast<uint16_t>(bits);
    file.pixels = bmpfiles::PackRows(Map(ColorPattern(), store), bits, topDown);
    return file;
}

TEST_F(BmpLoadTest, IndexedDepthsDecodeThroughTheColourTableBothRowOrders) {
    for (int bits : {1, 4, 8}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, top-down " << topDown);
            const uint32_t tableSize = 1u << bits;
            HBITMAP bitmap = Load(IndexedFile(bits, tableSize, topDown));
            ASSERT_NE(bitmap, nullptr);
            EXPECT_EQ(Colors(bitmap), IndexedColors(tableSize));
        }
    }
}

TEST_F(BmpLoadTest, TrueColourDepthsDecodeBothRowOrders) {
    for (int bits : {24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, top-down " << topDown);
            // The top byte of 32-bit pixels is unused; junk there must not show.
            HBITMAP bitmap = Load(DirectFile(
                bits, [](uint32_t c) { return Xrgb(c) | 0xA5000000; }, topDown));
            ASSERT_NE(bitmap, nullptr);
            EXPECT_EQ(Colors(bitmap), ColorPattern());
        }
    }
}

TEST_F(BmpLoadTest, SixteenBitPixelsWidenTheirChannels) {
    // X1R5G5B5 without bit fields: 31 is full, 16 becomes 0x84 (bits repeated), 1 becomes 8.
    HBITMAP bitmap = Load(OneRow(16, {31u << 10, 16u << 5 | 1u, 0x7FFF}));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Colors(bitmap), (Rows{{RGB(255, 0, 0), RGB(0, 0x84, 8), RGB(255, 255, 255)}}));

    // R5G6B5 given as bit fields after an info header.
    BmpFile fields = OneRow(16, {0xF800, 32u << 5, 0x001F});
    fields.compression = BI_BITFIELDS;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    bitmap = Load(fields);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Colors(bitmap), (Rows{{RGB(255, 0, 0), RGB(0, 0x82, 0), RGB(0, 0, 255)}}));
}

TEST_F(BmpLoadTest, BitFieldsInEveryHeaderThatCarriesThem) {
    const Rows colors = ColorPattern();
    for (uint32_t headerSize : {40u, 52u, 56u, 108u, 124u}) {
        SCOPED_TRACE(headerSize);
        BmpFile file = DirectFile(32, Rgba, false, headerSize);
        file.compression = BI_BITFIELDS;
        file.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
        HBITMAP bitmap = Load(file);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(Colors(bitmap), colors);
    }
}

TEST_F(BmpLoadTest, LaterHeadersWithPlainPixelsAndColourTables) {
    for (uint32_t headerSize : {108u, 124u}) {
        SCOPED_TRACE(headerSize);
        BmpFile indexed = IndexedFile(8, 16, false, headerSize);
        indexed.colorsUsed = 16;
        HBITMAP bitmap = Load(indexed);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(Colors(bitmap), IndexedColors(16));

        // Plain 32-bit pixels ignore whatever masks a later header holds.
        BmpFile direct = DirectFile(32, Xrgb, true, headerSize);
        direct.masks = {0xFF, 0xFF00, 0xFF0000};
        bitmap = Load(direct);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(Colors(bitmap), ColorPattern());
    }
}

TEST_F(BmpLoadTest, CoreHeaderWithThreeByteColourTable) {
    HBITMAP bitmap = Load(IndexedFile(4, 16, false, 12));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Colors(bitmap), IndexedColors(16));

    bitmap = Load(DirectFile(24, Xrgb, false, 12));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Colors(bitmap), ColorPattern());
}

TEST_F(BmpLoadTest, ShortColourTableLeavesHigherIndicesBlack) {
    BmpFile file = OneRow(8, {1, 0, 2, 255});
    file.colorsUsed = 2;
    file.palette = {RGB(10, 20, 30), RGB(200, 100, 50)};
    HBITMAP bitmap = Load(file);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Colors(bitmap), (Rows{{RGB(200, 100, 50), RGB(10, 20, 30), 0, 0}}));
}

TEST_F(BmpLoadTest, Rle8RunsLiteralsMovesAndLineEnds) {
    BmpFile file = RleFile(BI_RLE8, 6, 4);
    file.pixels = {
        3, 7, 0, 3, 1, 2, 9, 0, // bottom row: 7 7 7, then 3 literals (padded), to 6 pixels
        0, 0,                   // end of line
        2, 5, 0, 2, 2, 1,       // second row: 5 5, then move right 2 and up 1
        1, 8, 0, 0,             // third row, at x 4: one 8, end of line
        0, 4, 1, 2, 3, 4,       // top row: four literals (even: no padding)
        0, 1,                   // end of picture; the rest of the top row is skipped
    };
    file.imageSize = static_cast<uint32_t>(file.pixels.size());
    HBITMAP bitmap = Load(file);
    ASSERT_NE(bitmap, nullptr);
    const Rows indices{
        {1, 2, 3, 4, 0, 0},
        {0, 0, 0, 0, 8, 0},
        {5, 5, 0, 0, 0, 0},
        {7, 7, 7, 1, 2, 9},
    };
    // Skipped pixels keep index 0.
    EXPECT_EQ(Colors(bitmap), ThroughPalette(indices, file.palette));
}

TEST_F(BmpLoadTest, Rle4NibblePairsAndOddLiterals) {
    BmpFile file = RleFile(BI_RLE4, 7, 2);
    file.pixels = {
        5, 0x12, 0,    2,    2, 0, // bottom row: 1 2 1 2 1, move right 2
        0, 0,                      // end of line
        0, 3,    0xAB, 0xC0,       // top row: three literals A B C (two bytes, already even)
        4, 0xFF, 0,    1,          // four F, end of picture
    };
    HBITMAP bitmap = Load(file);
    ASSERT_NE(bitmap, nullptr);
    const Rows indices{
        {10, 11, 12, 15, 15, 15, 15},
        {1, 2, 1, 2, 1, 0, 0},
    };
    EXPECT_EQ(Colors(bitmap), ThroughPalette(indices, file.palette));
}

TEST_F(BmpLoadTest, RlePixelsCodedPastARowsEndAreDropped) {
    BmpFile rle8 = RleFile(BI_RLE8, 6, 2);
    rle8.pixels = {
        8, 3, 0, 0,                   // bottom row: eight 3s for six pixels, end of line
        0, 7, 1, 2, 3, 4, 5, 6, 7, 0, // top row: seven literals (padded) for six pixels
        0, 1,                         // end of picture
    };
    HBITMAP bitmap = Load(rle8);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Colors(bitmap),
              ThroughPalette({{1, 2, 3, 4, 5, 6}, {3, 3, 3, 3, 3, 3}}, rle8.palette));

    BmpFile rle4 = RleFile(BI_RLE4, 5, 2);
    rle4.pixels = {
        7, 0x12, 0,    0,                // bottom row: seven of 1 2 for five pixels, end of line
        0, 7,    0xAB, 0xCD, 0xEF, 0x10, // top row: seven literals for five pixels
        0, 1,                            // end of picture
    };
    bitmap = Load(rle4);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Colors(bitmap),
              ThroughPalette({{10, 11, 12, 13, 14}, {1, 2, 1, 2, 1}}, rle4.palette));
}

// ImageMagick writes 8-bit pictures as RLE8 and codes each row's padding pixels too. Its
// pictures, made as the test runs at widths that are and are not multiples of 4, load with
// the pixels ImageMagick itself decodes from them.
TEST_F(BmpLoadTest, Rle8PicturesWrittenByImageMagick) {
    for (const int width : {70, 69, 72}) {
        SCOPED_TRACE(width);
        const std::string bmp = dir / "magick.bmp", rgb = dir / "magick.rgb";
        const std::string size = std::to_string(width) + "x40";
        const std::string make = "convert -size " + size +
                                 " gradient:red-blue -fill white -draw 'rectangle 10,2 30,25'"
                                 " -colors 200 -type palette BMP3:" +
                                 bmp;
        ASSERT_EQ(std::system(make.c_str()), 0);
        ASSERT_EQ(std::system(("convert " + bmp + " rgb:" + rgb).c_str()), 0);
        const std::vector<uint8_t> file = testfiles::ReadBytes(bmp);
        ASSERT_GT(file.size(), 34u);
        ASSERT_EQ(file[30], BI_RLE8);
        const std::vector<uint8_t> decoded = testfiles::ReadBytes(rgb);
        ASSERT_EQ(decoded.size(), static_cast<size_t>(width) * 40 * 3);

        HBITMAP bitmap = Load(file);
        ASSERT_NE(bitmap, nullptr);
        Rows expected(40, std::vector<uint32_t>(width));
        for (size_t i = 0; i < decoded.size() / 3; ++i)
            expected[i / width][i % width] =
                RGB(decoded[3 * i], decoded[3 * i + 1], decoded[3 * i + 2]);
        EXPECT_EQ(Colors(bitmap), expected);
    }
}

TEST_F(BmpLoadTest, WantedSizeStretchesThePicture) {
    BmpFile file;
    file.width = 2;
    file.height = 2;
    file.pixels = bmpfiles::PackRows(
        {{Xrgb(RGB(255, 0, 0)), Xrgb(RGB(0, 255, 0))}, {Xrgb(RGB(0, 0, 255)), Xrgb(RGB(9, 9, 9))}},
        24);
    HBITMAP bitmap = Load(file, 4, 3);
    ASSERT_NE(bitmap, nullptr);
    const uint32_t r = RGB(255, 0, 0), g = RGB(0, 255, 0), b = RGB(0, 0, 255), k = RGB(9, 9, 9);
    // Each new pixel takes the old pixel under its centre.
    EXPECT_EQ(Colors(bitmap), (Rows{{r, r, g, g}, {b, b, k, k}, {b, b, k, k}}));

    // A zero keeps the file's own size in that direction.
    bitmap = Load(file, 0, 1);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Colors(bitmap), (Rows{{b, k}}));
}

TEST_F(BmpLoadTest, GetObjectDescribesTheBitmap) {
    HBITMAP bitmap = Load(IndexedFile(8, 256, true));
    ASSERT_NE(bitmap, nullptr);

    EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    BITMAP description{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof description, &description),
              static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(description.bmWidth, kWidth);
    EXPECT_EQ(description.bmHeight, kHeight); // positive, whatever the file's row order
    EXPECT_EQ(description.bmPlanes, 1);
    EXPECT_EQ(description.bmBitsPixel, 32);
    EXPECT_GE(description.bmWidthBytes, kWidth * 4);
    EXPECT_NE(description.bmBits, nullptr);

    // Too small a buffer, or a handle that is no bitmap, gets nothing.
    EXPECT_EQ(GetObjectA(bitmap, sizeof description - 1, &description), 0);
    EXPECT_EQ(GetObjectA(nullptr, sizeof description, &description), 0);
    HRGN region = CreateRectRgn(0, 0, 4, 4);
    EXPECT_EQ(GetObjectA(region, sizeof description, &description), 0);
    EXPECT_TRUE(DeleteObject(region));
}

TEST_F(BmpLoadTest, OnlyBitmapFilesAreLoaded) {
    const BmpFile file = OneRow(24, {0});
    const std::string path = bmpfiles::WriteBmp(dir / "one.bmp", file.Bytes());
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, kFromFile), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, -1, 0, kFromFile), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, (dir / "missing.bmp").c_str(), IMAGE_BITMAP, 0, 0, kFromFile),
              nullptr);
    EXPECT_EQ(LoadImageA(nullptr, dir.Path().c_str(), IMAGE_BITMAP, 0, 0, kFromFile), nullptr);
    // A device is no file: it is not read, however much it would give.
    EXPECT_EQ(LoadImageA(nullptr, "/dev/zero", IMAGE_BITMAP, 0, 0, kFromFile), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, kFromFile), nullptr);

    HANDLE bitmap = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, kFromFile);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(bitmap)); // already gone
}

TEST_F(BmpLoadTest, ForcedFailureRefusesAGoodFileOnce) {
    const BmpFile file = OneRow(24, {0});
    const int before = compat::seams::LiveGdiObjects();
    compat::seams::FailNext("LoadImageA", E_FAIL);
    EXPECT_EQ(Load(file), nullptr);
    EXPECT_EQ(compat::seams::LiveGdiObjects(), before);
    EXPECT_NE(Load(file), nullptr);
}

} // namespace
