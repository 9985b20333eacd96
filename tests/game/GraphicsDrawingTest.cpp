#include "BmpFiles.h"
#include "CGraphicsProbe.h"

#include <string>

namespace {

using compat::seams::FailNext;

constexpr COLORREF kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;
constexpr COLORREF kKey = 0x6567E4;
constexpr uint32_t kRed565 = 0xF800, kGreen565 = 0x07E0, kBlue565 = 0x001F;

class GraphicsDrawingTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        BringUp();
    }
    void TearDown() override {
        for (IDirectDrawSurface7* surface : surfaces)
            surface->Release();
    }

    // A picture surface from a file whose pixel (x, y) is colourAt(x, y); no key set.
    template <typename ColourAt>
    IDirectDrawSurface7* Picture(int width, int height, ColourAt colourAt) {
        const std::string path = bmpfiles::WritePicture(
            "picture" + std::to_string(surfaces.size()) + ".bmp", width, height, colourAt);
        IDirectDrawSurface7* surface = graphics.LoadBitmapSurface(path.c_str(), 0, 0);
        EXPECT_NE(surface, nullptr);
        if (surface)
            surfaces.push_back(surface);
        return surface;
    }
    // Left half red, right half blue.
    IDirectDrawSurface7* Halves(int width, int height) {
        return Picture(width, height, [width](int x, int) { return x < width / 2 ? kRed : kBlue; });
    }

    std::vector<IDirectDrawSurface7*> surfaces;
};

TEST_F(GraphicsDrawingTest, APicturePartlyOffTheScreenDrawsItsVisiblePart) {
    IDirectDrawSurface7* halves = Halves(16, 16);
    CGraphics::SetColorKey(halves, kKey);
    EXPECT_TRUE(graphics.Blit(-8, -8, 16, 16, halves)); // only its blue quarter shows
    EXPECT_EQ(BackPixel(0, 0), kBlue565);
    EXPECT_EQ(BackPixel(7, 7), kBlue565);
    EXPECT_EQ(BackPixel(8, 8), 0u);
    EXPECT_TRUE(graphics.Blit(632, 472, 16, 16, halves)); // only its red quarter shows
    EXPECT_EQ(BackPixel(639, 479), kRed565);
    EXPECT_EQ(BackPixel(631, 479), 0u);
    // Scaled and cut off: the visible part is the part the whole blit would have drawn there.
    EXPECT_TRUE(graphics.Blit(-32, 100, 64, 32, halves));
    EXPECT_EQ(BackPixel(0, 100), kBlue565);
    EXPECT_EQ(BackPixel(31, 131), kBlue565);
    EXPECT_TRUE(graphics.Blit(-100, -100, 10, 10, halves)); // wholly off the screen
}

TEST_F(GraphicsDrawingTest, APictureIsCopiedPixelForPixelOrScaledWhole) {
    // Four colours in 2x2 squares.
    IDirectDrawSurface7* squares = Picture(4, 4, [](int x, int y) {
        return x < 2 ? (y < 2 ? kRed : kGreen) : (y < 2 ? kBlue : kWhite);
    });
    CGraphics::SetColorKey(squares, kKey);
    ASSERT_TRUE(graphics.Blit(10, 10, 4, 4, squares));
    EXPECT_EQ(BackPixel(11, 11), kRed565);
    EXPECT_EQ(BackPixel(12, 11), kBlue565);
    EXPECT_EQ(BackPixel(11, 12), kGreen565);
    EXPECT_EQ(BackPixel(13, 13), 0xFFFFu);
    ASSERT_TRUE(graphics.Blit(100, 100, 40, 8, squares)); // stretched: 20 wide, 4 high each
    EXPECT_EQ(BackPixel(119, 103), kRed565);
    EXPECT_EQ(BackPixel(120, 103), kBlue565);
    EXPECT_EQ(BackPixel(139, 104), 0xFFFFu);
    EXPECT_EQ(BackPixel(140, 104), 0u);
}

TEST_F(GraphicsDrawingTest, KeyedBlitsLeaveTheBackgroundWhereThePictureHoldsTheKey) {
    IDirectDrawSurface7* ring = Picture(
        8, 8, [](int x, int y) { return (x > 1 && x < 6 && y > 1 && y < 6) ? kKey : kRed; });
    graphics.Fill(kGreen);
    // Freshly loaded surfaces have no key; the sprite sets black, owners their own.
    ASSERT_EQ(CGraphics::SetColorKey(ring, kKey), DD_OK);
    ASSERT_TRUE(graphics.Blit(0, 0, 8, 8, ring));
    EXPECT_EQ(BackPixel(0, 0), kRed565);
    EXPECT_EQ(BackPixel(3, 3), kGreen565);
    EXPECT_EQ(BackPixel(7, 7), kRed565);
    // With black as the key the key colour is drawn like any other.
    ASSERT_EQ(CGraphics::SetColorKey(ring, 0), DD_OK);
    ASSERT_TRUE(graphics.Blit(0, 0, 8, 8, ring));
    EXPECT_EQ(BackPixel(3, 3), CGraphics::MatchColor(probe.Back(), kKey));
}

TEST_F(GraphicsDrawingTest, TiledBlitsDrawEveryCellColumnByColumnAndLeaveTheRemainder) {
    // A tile with a red top-left pixel on green.
    IDirectDrawSurface7* tile =
        Picture(4, 4, [](int x, int y) { return x == 0 && y == 0 ? kRed : kGreen; });
    CGraphics::SetColorKey(tile, kKey);
    ASSERT_TRUE(graphics.BlitTiled(100, 0, 16, 416, tile, 1, 26));
    for (int row = 0; row < 26; ++row) {
        EXPECT_EQ(BackPixel(100, 16 * row), kRed565) << row;
        EXPECT_EQ(BackPixel(103, 16 * row + 3), kRed565) << row; // scaled 4x
        EXPECT_EQ(BackPixel(104, 16 * row), kGreen565) << row;
        EXPECT_EQ(BackPixel(115, 16 * row + 15), kGreen565) << row;
    }
    EXPECT_EQ(BackPixel(100, 416), 0u);
    EXPECT_EQ(BackPixel(116, 0), 0u);

    // 100 pixels in 3 columns: cells of 33, the last pixel column is not drawn.
    ASSERT_TRUE(graphics.BlitTiled(200, 300, 100, 10, tile, 3, 1));
    EXPECT_EQ(BackPixel(233, 300), kRed565);
    EXPECT_EQ(BackPixel(266, 300), kRed565);
    EXPECT_EQ(BackPixel(298, 305), kGreen565);
    EXPECT_EQ(BackPixel(299, 305), 0u);

    // Cells need not be square: 40x20 in 2 by 2 gives cells of 20x10.
    ASSERT_TRUE(graphics.BlitTiled(500, 100, 40, 20, tile, 2, 2));
    EXPECT_EQ(BackPixel(500, 110), kRed565);
    EXPECT_EQ(BackPixel(520, 110), kRed565);
    EXPECT_EQ(BackPixel(500, 120), 0u);
    EXPECT_EQ(BackPixel(504, 101), kRed565); // each cell's red pixel scales to 5 by 2.5
    EXPECT_EQ(BackPixel(505, 100), kGreen565);
    EXPECT_EQ(BackPixel(504, 102), kGreen565);

    // No cells: nothing drawn, success.
    EXPECT_TRUE(graphics.BlitTiled(400, 400, 16, 16, tile, 0, 1));
    EXPECT_TRUE(graphics.BlitTiled(400, 400, 16, 16, nullptr, 1, 0));
    EXPECT_EQ(BackPixel(400, 400), 0u);
}

TEST_F(GraphicsDrawingTest, BlitFailuresAreLoggedWithTheirOwnLines) {
    IDirectDrawSurface7* picture = Halves(8, 8);
    CGraphics::SetColorKey(picture, kKey);
    const size_t before = Messages().size();
    EXPECT_FALSE(graphics.Blit(0, 0, 8, 8, nullptr));
    EXPECT_FALSE(graphics.Blit(0, 0, 0, 8, picture));
    EXPECT_FALSE(graphics.Blit(0, 0, 8, 0, picture));
    EXPECT_FALSE(graphics.BlitTiled(0, 0, 0, 16, picture, 1, 1));
    EXPECT_FALSE(graphics.BlitTiled(0, 0, 16, 0, picture, 1, 1));
    EXPECT_FALSE(graphics.BlitTiled(0, 0, 16, 16, nullptr, 1, 1));
    FailNext("IDirectDrawSurface7::Blt", DDERR_SURFACEBUSY);
    EXPECT_FALSE(graphics.Blit(0, 0, 8, 8, picture));
    // A tiled blit stops at the first cell that fails; the cells before it stay drawn.
    FailNext("IDirectDrawSurface7::Blt", DDERR_SURFACELOST);
    EXPECT_FALSE(graphics.BlitTiled(0, 0, 16, 16, picture, 2, 2));
    FailNext("IDirectDrawSurface7::Blt", E_INVALIDARG);
    EXPECT_FALSE(graphics.Fill(kWhite));
    const std::vector<std::string> expected = {
        "ERROR --- Invalid surface passed to blitter",
        "ERROR --- Width = 0",
        "ERROR --- Height = 0",
        "ERROR --- Width = 0",
        "ERROR --- Height = 0",
        "ERROR --- Invalid surface passed to blitter",
        "ERROR --- IDirectDrawSurface7::Blt failed: Surface busy",
        "ERROR --- IDirectDrawSurface7::Blt failed: Surface Lost",
        "ERROR --- IDirectDrawSurface7::Blt failed: Invalid Parameter",
    };
    EXPECT_EQ(MessagesAfter(before), expected);
}

TEST_F(GraphicsDrawingTest, ALostPictureIsRestoredQuietlyAndSkippedForOneFrame) {
    IDirectDrawSurface7* picture = Halves(8, 8);
    CGraphics::SetColorKey(picture, kKey);
    const size_t before = Messages().size();
    compat::seams::LoseSurface(picture);
    EXPECT_FALSE(graphics.Blit(0, 0, 8, 8, picture));
    EXPECT_FALSE(compat::seams::IsLost(picture));
    EXPECT_EQ(Messages().size(), before);
    EXPECT_EQ(BackPixel(0, 0), 0u);
    // Its memory is back, its picture is not: the game loads it again.
    EXPECT_TRUE(graphics.Blit(0, 0, 8, 8, picture));
}

TEST_F(GraphicsDrawingTest, MatchColorPutsPixelZeroBackAndFitsTheFormat) {
    IDirectDrawSurface7* picture = Halves(8, 8);
    const uint32_t before = compat::seams::PixelOf(picture, 0, 0);
    const DWORD key = CGraphics::MatchColor(picture, kKey);
    EXPECT_EQ(compat::seams::PixelOf(picture, 0, 0), before);
    EXPECT_LE(key, 0xFFFFu);
    EXPECT_EQ(key, (228u >> 3) << 11 | (103u >> 2) << 5 | (101u >> 3));
    // No colour: nothing is written, the raw value of pixel (0, 0) comes back.
    EXPECT_EQ(CGraphics::MatchColor(picture, CLR_INVALID), before);
    // A surface that cannot be locked has no match.
    FailNext("IDirectDrawSurface7::Lock", DDERR_SURFACEBUSY);
    EXPECT_EQ(CGraphics::MatchColor(picture, kKey), CLR_INVALID);
    EXPECT_EQ(compat::seams::PixelOf(picture, 0, 0), before);
}

TEST_F(GraphicsDrawingTest, AtThirtyTwoBitsTheWholeWordIsTheMatch) {
    graphics.Release();
    CGraphics deep;
    CGraphicsProbe deepProbe{deep};
    ASSERT_TRUE(deep.Init(window, 640, 480, 32));
    EXPECT_EQ(CGraphics::MatchColor(deepProbe.Back(), kKey), 0x00E46765u);
    ASSERT_TRUE(deep.Fill(0xF0BD3F));
    EXPECT_EQ(compat::seams::PixelOf(deepProbe.Back(), 639, 479), 0x003FBDF0u);
}

TEST_F(GraphicsDrawingTest, LoadingABitmapLogsWhatBecameOfIt) {
    const std::string path = bmpfiles::WritePicture("three.bmp", 3, 2, [](int x, int) {
        return x == 0 ? kRed : x == 1 ? kGreen : kBlue;
    });
    const size_t before = Messages().size();
    IDirectDrawSurface7* surface = graphics.LoadBitmapSurface(path.c_str(), 0, 0);
    ASSERT_NE(surface, nullptr);
    surfaces.push_back(surface);
    EXPECT_EQ(CGraphics::SurfaceWidth(surface), 3);
    EXPECT_EQ(CGraphics::SurfaceHeight(surface), 2);
    EXPECT_EQ(compat::seams::PixelOf(surface, 0, 1), kRed565);
    EXPECT_EQ(compat::seams::PixelOf(surface, 2, 0), kBlue565);

    // Scaled on loading when asked for.
    IDirectDrawSurface7* wide = graphics.LoadBitmapSurface(path.c_str(), 6, 4);
    ASSERT_NE(wide, nullptr);
    surfaces.push_back(wide);
    EXPECT_EQ(CGraphics::SurfaceWidth(wide), 6);
    EXPECT_EQ(compat::seams::PixelOf(wide, 3, 3), kGreen565);

    EXPECT_EQ(graphics.LoadBitmapSurface("no/such.bmp", 0, 0), nullptr);
    FailNext("IDirectDraw7::CreateSurface", DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(graphics.LoadBitmapSurface(path.c_str(), 0, 0), nullptr);
    const std::vector<std::string> expected = {
        "NOTICE --- Loaded three.bmp",
        "NOTICE --- Loaded three.bmp",
        "ERROR --- Could not load bitmap: no/such.bmp",
        "ERROR --- Could not create surface: Out of video memory",
        "ERROR --- Could not build surface for: three.bmp",
    };
    EXPECT_EQ(MessagesAfter(before), expected);
}

TEST_F(GraphicsDrawingTest, CopyBitmapRefusesMissingObjectsAndSurvivesAMissingContext) {
    IDirectDrawSurface7* surface = Halves(4, 4);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, "picture0.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr);
    const size_t before = Messages().size();
    EXPECT_EQ(graphics.CopyBitmap(surface, nullptr, 0, 0, 0, 0), E_FAIL);
    EXPECT_EQ(graphics.CopyBitmap(nullptr, bitmap, 0, 0, 0, 0), E_FAIL);
    // A part of the bitmap stretched over the whole surface: its blue right half.
    EXPECT_EQ(graphics.CopyBitmap(surface, bitmap, 2, 0, 2, 4), DD_OK);
    EXPECT_EQ(compat::seams::PixelOf(surface, 0, 0), kBlue565);
    FailNext("CreateCompatibleDC", E_FAIL);
    EXPECT_EQ(graphics.CopyBitmap(surface, bitmap, 0, 0, 0, 0), DD_OK);
    DeleteObject(bitmap);
    const std::vector<std::string> expected = {"Invalid bitmap handle provided",
                                               "Invalid surface provided",
                                               "Could not create compatible device context"};
    EXPECT_EQ(MessagesAfter(before), expected);
}

TEST_F(GraphicsDrawingTest, TextIsWrittenAtItsPlaceInItsColourOverTheBackground) {
    ASSERT_TRUE(graphics.Fill(0xF0BD3F));
    const uint32_t sky = BackPixel(0, 0);
    HFONT font = graphics.MakeFont("verdana", 23, 400);
    ASSERT_NE(font, nullptr);
    graphics.PrintText(font, kWhite, 100, 200, "Score: %d", 1250);
    int left = 640, top = 480, right = -1, bottom = -1, white = 0, skyInside = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const uint32_t pixel = BackPixel(x, y);
            if (pixel == sky)
                continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
            white += pixel == 0xFFFF;
        }
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            skyInside += BackPixel(x, y) == sky;
    EXPECT_GE(left, 100);
    EXPECT_LE(left, 104);
    EXPECT_GE(top, 200);
    EXPECT_LE(top, 210);
    EXPECT_GT(right - left, 60); // "Score: 1250" is many glyphs wide at 23 pixels
    EXPECT_LT(bottom - top, 30);
    EXPECT_GT(white, 40);
    EXPECT_GT(skyInside, white); // the background shows between the glyphs

    // A text longer than the buffer is cut, not written past it.
    const std::string longName(1000, 'W');
    graphics.PrintText(font, kRed, 0, 0, "Level: %s", longName.c_str());
    EXPECT_NE(BackPixel(5, 10), 0u);
    DeleteObject(font);
}

// A long label broken into lines stays within its width and on the screen; a short one is the
// same one line PrintText writes.
TEST_F(GraphicsDrawingTest, TextInLinesStaysWithinItsWidthAndAShortTextIsOneLine) {
    HFONT font = graphics.MakeFont("verdana", 640 / 27, 400);
    ASSERT_NE(font, nullptr);
    const auto drawnBox = [&](RECT* box) {
        const uint32_t sky = BackPixel(639, 479);
        *box = RECT{640, 480, -1, -1};
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (BackPixel(x, y) != sky)
                    *box = RECT{std::min<LONG>(box->left, x), std::min<LONG>(box->top, y),
                                std::max<LONG>(box->right, x), std::max<LONG>(box->bottom, y)};
    };
    ASSERT_TRUE(graphics.Fill(0xF0BD3F));
    EXPECT_GT(
        graphics.PrintLines(font, kWhite, 0, 416, 92, true, "Level: levels/WWWWWWWWWWWWWWWWWW.lev"),
        3);
    RECT box{};
    drawnBox(&box);
    EXPECT_LE(box.right, 92);
    EXPECT_LT(box.bottom, 480);
    EXPECT_GT(box.top, 28); // below the score
    EXPECT_GT(box.bottom, 416);

    ASSERT_TRUE(graphics.Fill(0xF0BD3F));
    graphics.PrintText(font, kWhite, 130, 240, "%s", "Level: 7");
    RECT single{};
    drawnBox(&single);
    ASSERT_TRUE(graphics.Fill(0xF0BD3F));
    EXPECT_EQ(graphics.PrintLines(font, kWhite, 130, 240, 384, false, "Level: 7"), 1);
    drawnBox(&box);
    EXPECT_EQ(std::vector<LONG>({box.left, box.top, box.right, box.bottom}),
              std::vector<LONG>({single.left, single.top, single.right, single.bottom}));
    EXPECT_GT(graphics.TextWidth(font, "x 13"), graphics.TextWidth(font, "x 3"));
    DeleteObject(font);
}

} // namespace
