#include "BmpFiles.h"
#include "CGraphicsProbe.h"

#include "gfx/CSprite.h"

namespace {

constexpr COLORREF kKey = 0x6567E4;
constexpr uint32_t kRed565 = 0xF800, kGreen565 = 0x07E0;

class SpriteTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        BringUp();
        graphics.Fill(0x00FF00); // green
        // A 40x40 picture: a black square in the middle, key-coloured corners, red elsewhere.
        bmpfiles::WritePicture("picture.bmp", 40, 40, [](int x, int y) -> COLORREF {
            if (x >= 15 && x < 25 && y >= 15 && y < 25)
                return 0;
            if ((x < 5 || x >= 35) && (y < 5 || y >= 35))
                return kKey;
            return 0x0000FF;
        });
    }
};

TEST_F(SpriteTest, AnEmptySpriteDrawsNothingAndSaysSo) {
    CSprite sprite;
    EXPECT_EQ(sprite.Width(), 64);
    EXPECT_EQ(sprite.Height(), 64);
    EXPECT_FALSE(sprite.Draw(graphics));
    EXPECT_EQ(Messages().back(), "ERROR --- Invalid surface passed to blitter");
    EXPECT_FALSE(sprite.DrawTiled(graphics, 26, 1));
    EXPECT_EQ(Messages().back(), "ERROR --- Invalid surface passed to blitter");
    sprite.SetColorKey(graphics, kKey); // ignored
    sprite.Release();                   // nothing to give up
}

TEST_F(SpriteTest, SizesBelowOneAreIgnoredAndLoadingTakesThePicturesSize) {
    CSprite sprite;
    sprite.SetSize(0, 100);
    EXPECT_EQ(sprite.Width(), 64);
    EXPECT_EQ(sprite.Height(), 100);
    sprite.SetSize(-5, -5);
    EXPECT_EQ(sprite.Height(), 100);
    sprite.SetSize(32, 32);
    ASSERT_TRUE(sprite.Load(graphics, "picture.bmp"));
    EXPECT_EQ(sprite.Width(), 40);
    EXPECT_EQ(sprite.Height(), 40);
}

TEST_F(SpriteTest, BlackIsTransparentUntilTheOwnerChoosesAKey) {
    CSprite sprite;
    ASSERT_TRUE(sprite.Load(graphics, "picture.bmp"));
    sprite.SetPosition(100, 50);
    ASSERT_TRUE(sprite.Draw(graphics));
    EXPECT_EQ(BackPixel(120, 70), kGreen565);                                 // black: see-through
    EXPECT_EQ(BackPixel(100, 50), CGraphics::MatchColor(probe.Back(), kKey)); // key colour drawn
    EXPECT_EQ(BackPixel(110, 60), kRed565);

    sprite.SetColorKey(graphics, kKey);
    graphics.Fill(0x00FF00);
    ASSERT_TRUE(sprite.Draw(graphics));
    EXPECT_EQ(BackPixel(120, 70), 0u);        // black drawn
    EXPECT_EQ(BackPixel(100, 50), kGreen565); // key colour see-through
}

TEST_F(SpriteTest, TheWholePictureIsScaledIntoTheDrawnSize) {
    CSprite sprite;
    ASSERT_TRUE(sprite.Load(graphics, "picture.bmp"));
    sprite.SetColorKey(graphics, kKey);
    sprite.SetSize(208, 90);
    sprite.SetPosition(0, 0);
    ASSERT_TRUE(sprite.Draw(graphics));
    EXPECT_EQ(BackPixel(104, 45), 0u);        // the black middle, scaled
    EXPECT_EQ(BackPixel(207, 89), kGreen565); // a keyed corner
    EXPECT_EQ(BackPixel(207, 45), kRed565);
    EXPECT_EQ(BackPixel(208, 45), kGreen565); // nothing past the drawn size

    // Tiled: 26 cells of 16x16 along a 416-pixel strip.
    sprite.SetSize(416, 16);
    sprite.SetPosition(0, 200);
    ASSERT_TRUE(sprite.DrawTiled(graphics, 416 / 16, 1));
    for (int cell = 0; cell < 26; ++cell)
        EXPECT_EQ(BackPixel(16 * cell + 8, 208), 0u) << cell; // each tile's black middle
}

TEST_F(SpriteTest, AFailedLoadLeavesTheSpriteEmpty) {
    CSprite sprite;
    ASSERT_TRUE(sprite.Load(graphics, "picture.bmp"));
    sprite.SetPosition(7, 9);
    EXPECT_FALSE(sprite.Load(graphics, "missing.bmp"));
    EXPECT_EQ(Messages().back(), "ERROR --- Could not load bitmap: missing.bmp");
    EXPECT_EQ(sprite.Width(), 40); // size and place are kept
    EXPECT_FALSE(sprite.Draw(graphics));
    EXPECT_EQ(Messages().back(), "ERROR --- Invalid surface passed to blitter");
}

} // namespace
