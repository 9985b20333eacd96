// Blt's pixels: the sampling rule of scaled copies, colour keys, fills, clipping.
#include "DirectDrawFixture.h"

#include <algorithm>

namespace {

using BlitPixels = DirectDrawTest;

// The sampling rule written out plainly: destination pixel k takes the source pixel under its
// centre.
int CentreIndex(int k, int destLength, int sourceLength) {
    return static_cast<int>((k + 0.5) * sourceLength / destLength);
}

TEST_F(BlitPixels, SameSizeCopiesPixelForPixel) {
    BringUp();
    IDirectDrawSurface7* picture = MakeNumberedPicture(5, 3);
    RECT dest{10, 20, 15, 23};
    ASSERT_EQ(DD_OK, back->Blt(&dest, picture, nullptr, DDBLT_WAIT, nullptr));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(Pixel(picture, x, y), Pixel(back, 10 + x, 20 + y));
    EXPECT_EQ(0u, Pixel(back, 9, 20));
    EXPECT_EQ(0u, Pixel(back, 15, 22));
    EXPECT_EQ(0u, Pixel(back, 10, 23));
}

TEST_F(BlitPixels, ScaledCopiesSampleThePixelUnderEachCentre) {
    BringUp(640, 480, 32);
    const int sizes[][4] = {{3, 2, 7, 5}, {32, 32, 16, 16}, {100, 60, 208, 90}, {9, 1, 1, 9}};
    for (const auto& s : sizes) {
        const int sw = s[0], sh = s[1], dw = s[2], dh = s[3];
        IDirectDrawSurface7* picture = MakeNumberedPicture(sw, sh);
        RECT dest{0, 0, dw, dh};
        ASSERT_EQ(DD_OK, back->Blt(&dest, picture, nullptr, DDBLT_WAIT, nullptr));
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x)
                ASSERT_EQ(Pixel(picture, CentreIndex(x, dw, sw), CentreIndex(y, dh, sh)),
                          Pixel(back, x, y))
                    << sw << "x" << sh << " to " << dw << "x" << dh << " at " << x << "," << y;
    }
}

class BlitDepths : public DirectDrawTest, public testing::WithParamInterface<int> {};

TEST_P(BlitDepths, KeyedCopyLeavesTheBackgroundWhereThePictureHoldsTheKey) {
    BringUp(640, 480, GetParam());
    IDirectDrawSurface7* picture = MakeNumberedPicture(4, 2);
    SetKey(picture, 3); // pixel (2, 0)
    ASSERT_EQ(DD_OK, Fill(back, 0x77));
    RECT dest{1, 1, 5, 3};
    ASSERT_EQ(DD_OK, back->Blt(&dest, picture, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr));
    EXPECT_EQ(1u, Pixel(back, 1, 1));
    EXPECT_EQ(0x77u, Pixel(back, 3, 1));
    EXPECT_EQ(4u, Pixel(back, 4, 1));
    EXPECT_EQ(8u, Pixel(back, 4, 2));
    // Without DDBLT_KEYSRC the key pixel is copied like any other.
    ASSERT_EQ(DD_OK, back->Blt(&dest, picture, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(3u, Pixel(back, 3, 1));
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, BlitDepths, testing::Values(16, 32));

TEST_F(BlitPixels, KeyedRowsOfEveryLengthKeepTheirLastPixel) {
    // Vectorised loops have a tail; check lengths around the vector widths, scaled and not.
    BringUp();
    for (int width = 1; width <= 40; ++width) {
        IDirectDrawSurface7* picture = MakeNumberedPicture(width, 1);
        SetKey(picture, static_cast<uint32_t>(width)); // the last pixel
        ASSERT_EQ(DD_OK, Fill(back, 0xBEEF));
        RECT same{0, 0, width, 1};
        RECT doubled{0, 1, 2 * width, 2};
        ASSERT_EQ(DD_OK, back->Blt(&same, picture, nullptr, DDBLT_KEYSRC, nullptr));
        ASSERT_EQ(DD_OK, back->Blt(&doubled, picture, nullptr, DDBLT_KEYSRC, nullptr));
        for (int x = 0; x + 1 < width; ++x) {
            ASSERT_EQ(static_cast<uint32_t>(1 + x), Pixel(back, x, 0)) << width;
            ASSERT_EQ(static_cast<uint32_t>(1 + x), Pixel(back, 2 * x + 1, 1)) << width;
        }
        ASSERT_EQ(0xBEEFu, Pixel(back, width - 1, 0)) << width;
        ASSERT_EQ(0xBEEFu, Pixel(back, 2 * width - 1, 1)) << width;
    }
}

TEST_F(BlitPixels, AKeyBeyondSixteenBitsMatchesNoPixel) {
    BringUp();
    IDirectDrawSurface7* picture = MakePicture(1, 1);
    compat::seams::SetPixelOf(picture, 0, 0, 0xFFFF);
    SetKey(picture, 0xFFFFFFFF);
    ASSERT_EQ(DD_OK, back->Blt(nullptr, picture, nullptr, DDBLT_KEYSRC, nullptr));
    EXPECT_EQ(0xFFFFu, Pixel(back, 320, 240));
}

TEST_F(BlitPixels, ColourFillSetsTheRawValueCutToTheFormat) {
    BringUp();
    RECT area{5, 6, 9, 8};
    ASSERT_EQ(DD_OK, Fill(back, 0xABCD1234, &area));
    EXPECT_EQ(0x1234u, Pixel(back, 5, 6));
    EXPECT_EQ(0x1234u, Pixel(back, 8, 7));
    EXPECT_EQ(0u, Pixel(back, 4, 6));
    EXPECT_EQ(0u, Pixel(back, 9, 7));
    EXPECT_EQ(0u, Pixel(back, 5, 8));
    ASSERT_EQ(DD_OK, Fill(back, 0xF81F));
    EXPECT_EQ(0xF81Fu, Pixel(back, 0, 0));
    EXPECT_EQ(0xF81Fu, Pixel(back, 639, 479));
}

// A 20x10 numbered picture drawn at 2x (40x20) partly off each edge: every visible pixel is
// the one the whole blit would have drawn there, and nothing else changes.
TEST_F(BlitPixels, ClippedBlitsDrawTheVisiblePartOfTheWholeBlit) {
    BringUp();
    IDirectDrawSurface7* picture = MakeNumberedPicture(20, 10);
    SetKey(picture, 0xFFFF); // not in the picture
    const POINT places[] = {{-13, 100}, {610, 100}, {300, -7}, {300, 469}, {-39, -19}, {639, 479}};
    for (const POINT& at : places) {
        ASSERT_EQ(DD_OK, Fill(back, 0));
        RECT dest{at.x, at.y, at.x + 40, at.y + 20};
        ASSERT_EQ(DD_OK, back->Blt(&dest, picture, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr));
        for (int y = std::max(0, static_cast<int>(at.y) - 2); y < std::min(480, at.y + 22); ++y)
            for (int x = std::max(0, static_cast<int>(at.x) - 2); x < std::min(640, at.x + 42);
                 ++x) {
                const bool inside = x >= at.x && x < at.x + 40 && y >= at.y && y < at.y + 20;
                const uint32_t expected =
                    inside ? Pixel(picture, (x - at.x) / 2, (y - at.y) / 2) : 0u;
                ASSERT_EQ(expected, Pixel(back, x, y))
                    << at.x << "," << at.y << " at " << x << "," << y;
            }
    }
}

TEST_F(BlitPixels, AClipRectangleInsideTheSurfaceCutsFillsAndCopies) {
    BringUp();
    SetClipRect(clipper, RECT{100, 100, 200, 150});
    RECT all{0, 0, 640, 480};
    ASSERT_EQ(DD_OK, Fill(back, 0x1111, &all));
    EXPECT_EQ(0x1111u, Pixel(back, 100, 100));
    EXPECT_EQ(0x1111u, Pixel(back, 199, 149));
    EXPECT_EQ(0u, Pixel(back, 99, 100));
    EXPECT_EQ(0u, Pixel(back, 200, 149));
    EXPECT_EQ(0u, Pixel(back, 150, 150));

    IDirectDrawSurface7* picture = MakeNumberedPicture(4, 4);
    RECT corner{98, 148, 102, 152}; // over the clip rectangle's bottom-left corner
    ASSERT_EQ(DD_OK, back->Blt(&corner, picture, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(Pixel(picture, 2, 0), Pixel(back, 100, 148));
    EXPECT_EQ(Pixel(picture, 3, 1), Pixel(back, 101, 149));
    EXPECT_EQ(0u, Pixel(back, 99, 149));
    EXPECT_EQ(0u, Pixel(back, 100, 150));
}

TEST_F(BlitPixels, WithoutAClipperARectangleOffTheSurfaceIsRefused) {
    BringUp();
    ASSERT_EQ(DD_OK, back->SetClipper(nullptr));
    IDirectDrawSurface7* picture = MakeNumberedPicture(4, 4);
    RECT off{-1, 0, 3, 4};
    EXPECT_EQ(DDERR_INVALIDRECT, back->Blt(&off, picture, nullptr, DDBLT_WAIT, nullptr));
    RECT past{637, 0, 641, 4};
    EXPECT_EQ(DDERR_INVALIDRECT, back->Blt(&past, picture, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_INVALIDRECT, Fill(back, 1, &past));
    EXPECT_EQ(0u, Pixel(back, 0, 0));
    RECT fits{636, 476, 640, 480};
    EXPECT_EQ(DD_OK, back->Blt(&fits, picture, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(Pixel(picture, 3, 3), Pixel(back, 639, 479));
}

TEST_F(BlitPixels, ASourceRectangleIsScaledAlone) {
    BringUp();
    IDirectDrawSurface7* picture = MakeNumberedPicture(8, 8);
    RECT part{2, 3, 4, 5};
    RECT dest{0, 0, 4, 4};
    ASSERT_EQ(DD_OK, back->Blt(&dest, picture, &part, DDBLT_WAIT, nullptr));
    EXPECT_EQ(Pixel(picture, 2, 3), Pixel(back, 0, 0));
    EXPECT_EQ(Pixel(picture, 3, 4), Pixel(back, 3, 3));
    RECT outside{6, 6, 9, 8};
    EXPECT_EQ(DDERR_INVALIDRECT, back->Blt(&dest, picture, &outside, DDBLT_WAIT, nullptr));
}

TEST_F(BlitPixels, ASurfaceBlittedOntoItselfReadsTheWholeSourceFirst) {
    BringUp();
    IDirectDrawSurface7* picture = MakeNumberedPicture(4, 1);
    RECT left{0, 0, 2, 1};
    RECT shifted{1, 0, 3, 1};
    ASSERT_EQ(DD_OK, picture->Blt(&shifted, picture, &left, DDBLT_WAIT, nullptr));
    EXPECT_EQ((std::vector<uint32_t>{1, 1, 2, 4}),
              (std::vector<uint32_t>{Pixel(picture, 0, 0), Pixel(picture, 1, 0),
                                     Pixel(picture, 2, 0), Pixel(picture, 3, 0)}));
}

TEST_F(BlitPixels, WrongArgumentsGiveTheSdkCodes) {
    BringUp();
    IDirectDrawSurface7* picture = MakeNumberedPicture(4, 4);
    RECT dest{0, 0, 4, 4};
    RECT inverted{4, 0, 0, 4};
    RECT empty{2, 2, 2, 4};
    DDBLTFX shortFx{};
    shortFx.dwSize = 100; // the 32-bit record size
    EXPECT_EQ(DDERR_INVALIDPARAMS, back->Blt(&dest, nullptr, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_INVALIDPARAMS,
              back->Blt(&dest, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_INVALIDPARAMS,
              back->Blt(&dest, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &shortFx));
    EXPECT_EQ(DDERR_COLORKEYNOTSET, back->Blt(&dest, picture, nullptr, DDBLT_KEYSRC, nullptr));
    EXPECT_EQ(DDERR_INVALIDRECT, back->Blt(&inverted, picture, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_INVALIDRECT, back->Blt(&empty, picture, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_UNSUPPORTED, back->Blt(&dest, picture, nullptr, DDBLT_ROP, nullptr));
    IDirectDrawClipper* bare = nullptr;
    ASSERT_EQ(DD_OK, dd->CreateClipper(0, &bare, nullptr));
    ASSERT_EQ(DD_OK, picture->SetClipper(bare));
    EXPECT_EQ(1u, bare->Release()); // the surface holds it
    EXPECT_EQ(DDERR_NOCLIPLIST, Fill(picture, 1));
}

} // namespace
