// Device contexts, pixels, stretched copies, object handles, regions and the cursor count.
#include "BmpFiles.h"
#include "TestFiles.h"
#include "compat/GdiSeams.h"
#include "compat/InputSeams.h"
#include "compat/Seams.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <utility>

namespace {

namespace seams = compat::seams;

uint32_t Raw(HDC dc, int x, int y) {
    uint32_t raw = 0;
    EXPECT_TRUE(seams::ReadRawPixel(dc, x, y, &raw)) << x << "," << y;
    return raw;
}

// A bitmap loaded from a file of the given 24-bit colours (rows top first).
HBITMAP LoadPicture(const std::vector<std::vector<COLORREF>>& rows) {
    bmpfiles::BmpFile file;
    file.width = static_cast<int32_t>(rows[0].size());
    file.height = -static_cast<int32_t>(rows.size());
    std::vector<std::vector<uint32_t>> stored = rows;
    for (auto& row : stored)
        for (auto& c : row)
            c = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    file.pixels = bmpfiles::PackRows(stored, 24, true);
    testfiles::ScratchDir dir;
    const std::string path = bmpfiles::WriteBmp(dir / "picture.bmp", file.Bytes());
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
               kKey = RGB(228, 103, 101);

TEST(GdiPixelTest, SetPixelWritesTheFormatsOwnValueAndReportsIt) {
    // 32 bits hold every colour: the raw value is XRGB.
    HDC wide = seams::CreatePixelContext(8, 8, 32);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(SetPixel(wide, 3, 4, kKey), kKey);
    EXPECT_EQ(Raw(wide, 3, 4), 0xE46765u);
    EXPECT_EQ(GetPixel(wide, 3, 4), kKey);

    // RGB565 keeps the top 5, 6 and 5 bits; the colour reported is the one really stored.
    HDC narrow = seams::CreatePixelContext(8, 8, 16);
    ASSERT_NE(narrow, nullptr);
    const COLORREF stored = SetPixel(narrow, 0, 0, kKey);
    EXPECT_EQ(Raw(narrow, 0, 0), (28u << 11) | (25u << 5) | 12u);
    EXPECT_EQ(stored, RGB(231, 101, 99));
    EXPECT_EQ(GetPixel(narrow, 0, 0), stored);
    // Writing the reported colour again gives the very same pixel.
    EXPECT_EQ(SetPixel(narrow, 1, 0, stored), stored);
    EXPECT_EQ(Raw(narrow, 1, 0), Raw(narrow, 0, 0));
    // White and black survive the narrow format exactly.
    EXPECT_EQ(SetPixel(narrow, 2, 0, RGB(255, 255, 255)), RGB(255, 255, 255));
    EXPECT_EQ(Raw(narrow, 2, 0), 0xFFFFu);
    EXPECT_EQ(SetPixel(narrow, 2, 0, 0), 0u);
    EXPECT_EQ(Raw(narrow, 2, 0), 0u);
}

TEST(GdiPixelTest, OutsideThePixelsNothingIsReadOrWritten) {
    HDC dc = seams::CreatePixelContext(4, 3, 16);
    ASSERT_NE(dc, nullptr);
    const std::pair<int, int> outside[] = {
        {-1, 0}, {0, -1}, {4, 0}, {0, 3}, {INT32_MIN, INT32_MAX}};
    for (auto [x, y] : outside) {
        EXPECT_EQ(SetPixel(dc, x, y, kRed), CLR_INVALID);
        EXPECT_EQ(GetPixel(dc, x, y), CLR_INVALID);
    }
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Raw(dc, x, y), 0u);
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(nullptr, 0, 0, kRed), CLR_INVALID);

    // A memory context with no bitmap of its own has no pixels.
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetPixel(memory, 0, 0, kRed), CLR_INVALID);
    EXPECT_EQ(GetPixel(memory, 0, 0), CLR_INVALID);
    EXPECT_TRUE(DeleteDC(memory));
    // Nor has a deleted one.
    EXPECT_EQ(GetPixel(memory, 0, 0), CLR_INVALID);
}

class StretchTest : public testing::Test {
protected:
    void SetUp() override {
        // Red green / blue white.
        bitmap = LoadPicture({{kRed, kGreen}, {kBlue, RGB(255, 255, 255)}});
        ASSERT_NE(bitmap, nullptr);
        memory = CreateCompatibleDC(nullptr);
        ASSERT_NE(memory, nullptr);
        stock = SelectObject(memory, bitmap);
        ASSERT_NE(stock, nullptr);
    }
    void TearDown() override {
        EXPECT_TRUE(DeleteDC(memory));
        EXPECT_TRUE(DeleteObject(bitmap));
    }

    HBITMAP bitmap = nullptr;
    HDC memory = nullptr;
    HGDIOBJ stock = nullptr;
};

TEST_F(StretchTest, ScalesABitmapIntoA16BitTargetConvertingEachPixel) {
    HDC screen = seams::CreatePixelContext(6, 5, 16);
    ASSERT_TRUE(StretchBlt(screen, 1, 1, 4, 4, memory, 0, 0, 2, 2, SRCCOPY));
    const uint32_t r = 0xF800, g = 0x07E0, b = 0x001F, w = 0xFFFF;
    const std::vector<std::vector<uint32_t>> expected = {
        {0, 0, 0, 0, 0, 0}, {0, r, r, g, g, 0}, {0, r, r, g, g, 0},
        {0, b, b, w, w, 0}, {0, b, b, w, w, 0},
    };
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Raw(screen, x, y), expected[y][x]) << x << "," << y;
}

TEST_F(StretchTest, ShrinkingTakesThePixelUnderEachCentre) {
    HBITMAP strip = LoadPicture({{kRed, kGreen, kBlue, kKey}});
    ASSERT_NE(strip, nullptr);
    HGDIOBJ previous = SelectObject(memory, strip);
    EXPECT_EQ(previous, bitmap);
    HDC screen = seams::CreatePixelContext(2, 1, 32);
    ASSERT_TRUE(StretchBlt(screen, 0, 0, 2, 1, memory, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(GetPixel(screen, 0, 0), kGreen);
    EXPECT_EQ(GetPixel(screen, 1, 0), kKey);
    // A source rectangle inside the bitmap copies just that part.
    ASSERT_TRUE(StretchBlt(screen, 0, 0, 2, 1, memory, 2, 0, 1, 1, SRCCOPY));
    EXPECT_EQ(GetPixel(screen, 0, 0), kBlue);
    EXPECT_EQ(GetPixel(screen, 1, 0), kBlue);
    SelectObject(memory, previous);
    EXPECT_TRUE(DeleteObject(strip));
}

TEST_F(StretchTest, ClippedAtEveryEdgeOfTheTarget) {
    HDC screen = seams::CreatePixelContext(3, 3, 32);
    // 2x2 scaled to 4x4 with its top-left off the screen by one pixel each way: the screen
    // shows the inner 3x3 of the 4x4 picture.
    ASSERT_TRUE(StretchBlt(screen, -1, -1, 4, 4, memory, 0, 0, 2, 2, SRCCOPY));
    const std::vector<std::vector<COLORREF>> expected = {
        {kRed, kGreen, kGreen},
        {kBlue, RGB(255, 255, 255), RGB(255, 255, 255)},
        {kBlue, RGB(255, 255, 255), RGB(255, 255, 255)},
    };
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(GetPixel(screen, x, y), expected[y][x]) << x << "," << y;

    // Past the right and bottom edges, and wholly outside: drawn where visible, no harm done.
    seams::FillRawPixels(screen, 0);
    ASSERT_TRUE(StretchBlt(screen, 2, 2, 4, 4, memory, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(screen, 2, 2), kRed);
    EXPECT_EQ(Raw(screen, 1, 1), 0u);
    const std::pair<int, int> outside[] = {
        {-10, 0}, {3, 0}, {0, -4}, {0, 3}, {INT32_MAX, INT32_MAX}};
    for (auto [x, y] : outside)
        EXPECT_TRUE(StretchBlt(screen, x, y, 4, 4, memory, 0, 0, 2, 2, SRCCOPY));
    int drawn = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            drawn += Raw(screen, x, y) != 0;
    EXPECT_EQ(drawn, 1);
}

TEST_F(StretchTest, SourceRectangleReachingPastTheBitmapCopiesOnlyRealPixels) {
    HDC screen = seams::CreatePixelContext(4, 1, 32);
    seams::FillRawPixels(screen, 0x123456);
    ASSERT_TRUE(StretchBlt(screen, 0, 0, 4, 1, memory, -1, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(Raw(screen, 0, 0), 0x123456u);
    EXPECT_EQ(GetPixel(screen, 1, 0), kRed);
    EXPECT_EQ(GetPixel(screen, 2, 0), kGreen);
    EXPECT_EQ(Raw(screen, 3, 0), 0x123456u);
}

TEST_F(StretchTest, CopyWithinOneTargetReadsTheOriginalPixels) {
    HDC screen = seams::CreatePixelContext(4, 1, 32);
    for (int x = 0; x < 4; ++x)
        seams::WriteRawPixel(screen, x, 0, 0x10u * (x + 1));
    ASSERT_TRUE(StretchBlt(screen, 1, 0, 3, 1, screen, 0, 0, 3, 1, SRCCOPY));
    EXPECT_EQ(Raw(screen, 0, 0), 0x10u);
    EXPECT_EQ(Raw(screen, 1, 0), 0x10u);
    EXPECT_EQ(Raw(screen, 2, 0), 0x20u);
    EXPECT_EQ(Raw(screen, 3, 0), 0x30u);
}

TEST_F(StretchTest, RefusedWithoutDrawing) {
    HDC screen = seams::CreatePixelContext(4, 4, 32);
    HDC empty = CreateCompatibleDC(nullptr);
    const std::vector<std::function<BOOL()>> refused = {
        [&] { return StretchBlt(screen, 0, 0, 4, 4, memory, 0, 0, 2, 2, 0x00EE0086); },
        [&] { return StretchBlt(screen, 0, 0, 0, 4, memory, 0, 0, 2, 2, SRCCOPY); },
        [&] { return StretchBlt(screen, 0, 0, 4, -4, memory, 0, 0, 2, 2, SRCCOPY); },
        [&] { return StretchBlt(screen, 0, 0, 4, 4, memory, 0, 0, -2, 2, SRCCOPY); },
        [&] { return StretchBlt(screen, 0, 0, 4, 4, empty, 0, 0, 2, 2, SRCCOPY); },
        [&] { return StretchBlt(nullptr, 0, 0, 4, 4, memory, 0, 0, 2, 2, SRCCOPY); },
    };
    for (size_t i = 0; i < refused.size(); ++i)
        EXPECT_FALSE(refused[i]()) << i;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Raw(screen, x, y), 0u);
    EXPECT_TRUE(DeleteDC(empty));
}

TEST(GdiObjectTest, ABitmapLivesInOneMemoryContextAtATime) {
    const int before = seams::LiveGdiObjects();
    HBITMAP bitmap = LoadPicture({{kRed}});
    ASSERT_NE(bitmap, nullptr);
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(first);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);

    HGDIOBJ stock = SelectObject(first, bitmap);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    // Selected objects cannot be deleted, and stay usable.
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_EQ(GetPixel(first, 0, 0), kRed);
    // Putting the old bitmap back frees it; deleting the context frees it too.
    EXPECT_EQ(SelectObject(first, stock), bitmap);
    EXPECT_NE(SelectObject(second, bitmap), nullptr);
    EXPECT_TRUE(DeleteDC(second));
    EXPECT_FALSE(DeleteDC(second));
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_EQ(seams::LiveGdiObjects(), before);
}

TEST(GdiObjectTest, SurfaceContextsTakeNoBitmapAndAreNotDeletedHere) {
    HDC surface = seams::CreatePixelContext(2, 2, 16);
    HBITMAP bitmap = LoadPicture({{kRed}});
    EXPECT_EQ(SelectObject(surface, bitmap), nullptr);
    EXPECT_FALSE(DeleteDC(surface));
    EXPECT_EQ(SetPixel(surface, 1, 1, kRed), kRed); // still alive
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(bitmap)), nullptr);
    HRGN region = CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(SelectObject(surface, region), nullptr);
    EXPECT_EQ(SelectObject(surface, nullptr), nullptr);
    EXPECT_TRUE(DeleteObject(region));
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(GdiObjectTest, RegionsAreMadeAndDeletedOnce) {
    const int before = seams::LiveGdiObjects();
    HRGN region = CreateRectRgn(0, 0, 640, 480);
    ASSERT_NE(region, nullptr);
    HRGN flipped = CreateRectRgn(640, 480, 0, 0);
    ASSERT_NE(flipped, nullptr);
    EXPECT_EQ(seams::LiveGdiObjects(), before + 2);
    EXPECT_TRUE(DeleteObject(region));
    EXPECT_FALSE(DeleteObject(region));
    EXPECT_TRUE(DeleteObject(flipped));
    EXPECT_EQ(seams::LiveGdiObjects(), before);
}

TEST(GdiCursorTest, DisplayCountRisesAndFalls) {
    EXPECT_EQ(seams::CursorDisplayCount(), 0);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(seams::CursorDisplayCount(), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(ShowCursor(TRUE), 1);
    // Every test starts from the count of a fresh process.
    seams::ResetAll();
    EXPECT_EQ(ShowCursor(FALSE), -1);
}

// Each forced failure fails the call the way it reports failure, and changes nothing.
TEST(GdiFailureTest, ForcedFailuresFailAndDoNothingElse) {
    HDC screen = seams::CreatePixelContext(4, 4, 32);
    HBITMAP bitmap = LoadPicture({{kRed, kGreen}});
    ASSERT_NE(bitmap, nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    const int objects = seams::LiveGdiObjects();

    struct Row {
        const char* operation;
        std::function<bool()> failsQuietly;
    };
    const std::vector<Row> rows = {
        {"CreateCompatibleDC", [&] { return CreateCompatibleDC(nullptr) == nullptr; }},
        {"SelectObject",
         [&] {
             return SelectObject(memory, bitmap) == nullptr &&
                    GetPixel(memory, 0, 0) == CLR_INVALID;
         }},
        {"DeleteDC", [&] { return !DeleteDC(memory) && SelectObject(memory, bitmap) != nullptr; }},
        {"GetPixel",
         [&] { return GetPixel(memory, 0, 0) == CLR_INVALID && GetPixel(memory, 0, 0) == kRed; }},
        {"SetPixel",
         [&] {
             return SetPixel(screen, 0, 0, kBlue) == CLR_INVALID && GetPixel(screen, 0, 0) == 0;
         }},
        {"StretchBlt",
         [&] {
             return !StretchBlt(screen, 0, 0, 4, 4, memory, 0, 0, 2, 1, SRCCOPY) &&
                    GetPixel(screen, 3, 3) == 0;
         }},
        {"GetObjectA",
         [&] {
             BITMAP description{};
             return GetObjectA(bitmap, sizeof description, &description) == 0 &&
                    description.bmWidth == 0;
         }},
        {"CreateRectRgn", [&] { return CreateRectRgn(0, 0, 1, 1) == nullptr; }},
        {"SetBkMode",
         [&] { return SetBkMode(screen, TRANSPARENT) == 0 && GetBkMode(screen) == OPAQUE; }},
        {"SetTextColor",
         [&] { return SetTextColor(screen, kRed) == CLR_INVALID && GetTextColor(screen) == 0; }},
        {"SetBkColor",
         [&] {
             return SetBkColor(screen, kRed) == CLR_INVALID &&
                    GetBkColor(screen) == RGB(255, 255, 255);
         }},
        {"CreateFontA",
         [&] {
             return CreateFontA(-23, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                                CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, "verdana") == nullptr;
         }},
        {"TextOutA",
         [&] { return !TextOutA(screen, 0, 0, "Hello", 5) && GetPixel(screen, 1, 1) == 0; }},
        {"DeleteObject",
         [&] {
             HRGN region = CreateRectRgn(0, 0, 1, 1);
             return !DeleteObject(region) && DeleteObject(region);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operation);
        seams::FailNext(row.operation, E_FAIL);
        EXPECT_TRUE(row.failsQuietly());
        EXPECT_EQ(seams::PendingFailures(row.operation), 0);
    }
    EXPECT_EQ(seams::LiveGdiObjects(), objects);
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_TRUE(DeleteObject(bitmap));
}

} // namespace
