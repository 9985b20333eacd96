// The screen: flipping, what reaches the window, pacing, mouse positions, saved pictures.
#include "DirectDrawFixture.h"
#include "TestFiles.h"

#include <mmsystem.h>

#include <cstdlib>
#include <utility>

namespace {

using DirectDrawScreen = DirectDrawTest;

TEST_F(DirectDrawScreen, FlipShowsTheBackBufferAndHandsBackThePreviousFrame) {
    BringUp();
    const uint64_t before = compat::seams::PresentedFrames();
    ASSERT_EQ(DD_OK, Fill(back, 0x1111));
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ(0x1111u, Pixel(primary, 320, 240));
    EXPECT_EQ(0u, Pixel(back, 320, 240)); // the primary's old, empty frame
    EXPECT_EQ(0x1111u, compat::seams::PresentedPixel(639, 479));

    ASSERT_EQ(DD_OK, Fill(back, 0x2222));
    ASSERT_EQ(DD_OK, primary->Flip(back, DDFLIP_WAIT));
    EXPECT_EQ(0x2222u, Pixel(primary, 0, 0));
    EXPECT_EQ(0x1111u, Pixel(back, 0, 0));
    EXPECT_EQ(0x2222u, compat::seams::PresentedPixel(0, 0));
    EXPECT_EQ(before + 2, compat::seams::PresentedFrames());
    const compat::seams::SurfaceFormat shown = compat::seams::PresentedFormat();
    EXPECT_EQ(640, shown.width);
    EXPECT_EQ(480, shown.height);
    EXPECT_EQ(16, shown.bitsPerPixel);

    EXPECT_EQ(DDERR_NOTFLIPPABLE, back->Flip(nullptr, DDFLIP_WAIT));
    IDirectDrawSurface7* picture = MakePicture(4, 4);
    EXPECT_EQ(DDERR_INVALIDPARAMS, primary->Flip(picture, DDFLIP_WAIT));
}

TEST_F(DirectDrawScreen, FlipsArePacedToSixtyFramesASecond) {
    BringUp();
    const DWORD start = timeGetTime();
    for (int i = 0; i < 60; ++i)
        ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    // The set clock moves only by the pacing sleeps: one second for sixty frames.
    EXPECT_EQ(1000u, timeGetTime() - start);
    const DWORD beforeNoWait = timeGetTime();
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_NOVSYNC));
    EXPECT_EQ(beforeNoWait, timeGetTime());
}

TEST_F(DirectDrawScreen, ASlowFrameIsNotFollowedByABurstOfUnpacedOnes) {
    BringUp();
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    compat::seams::AdvanceTicks(500); // the game stalled
    const DWORD stalled = timeGetTime();
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ(stalled, timeGetTime()); // late already: shown at once
    for (int i = 0; i < 3; ++i) {
        const DWORD before = timeGetTime();
        ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
        EXPECT_GE(timeGetTime() - before, 16u);
        EXPECT_LE(timeGetTime() - before, 17u);
    }
}

TEST_F(DirectDrawScreen, PacingGoesOnAcrossTheWrapOfTheClock) {
    BringUp();
    compat::seams::SetTicks(0xFFFFFFF0u);
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT)); // the schedule starts here
    for (int i = 0; i < 3; ++i) {
        const DWORD before = timeGetTime();
        ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
        EXPECT_GE(timeGetTime() - before, 16u) << i;
        EXPECT_LE(timeGetTime() - before, 17u) << i;
    }
}

TEST_F(DirectDrawScreen, FlipGoesOnPacingWhenTheWindowIsGone) {
    BringUp();
    compat::seams::DestroyTestWindow(window);
    const DWORD before = timeGetTime();
    EXPECT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_GE(timeGetTime() - before, 16u);
}

TEST_F(DirectDrawScreen, MousePositionsMapThroughTheBarsToModePixels) {
    // A 16:9 mode on the dummy driver's 1024x768 desktop: 1024x576 of picture, bars of 96
    // pixels above and below.
    BringUp(1280, 720, 16);
    const auto at = [&](int x, int y) {
        const POINT p = compat::seams::ModePixelFromWindow(window, x, y);
        return std::make_pair(static_cast<int>(p.x), static_cast<int>(p.y));
    };
    EXPECT_EQ(std::make_pair(0, 0), at(0, 96));
    EXPECT_EQ(std::make_pair(1279, 719), at(1023, 671));
    EXPECT_EQ(std::make_pair(640, 359), at(512, 383));
    EXPECT_EQ(std::make_pair(640, 0), at(512, 0));     // in the top bar
    EXPECT_EQ(std::make_pair(640, 719), at(512, 767)); // in the bottom bar
}

class WindowScaling : public DirectDrawTest, public testing::WithParamInterface<int> {};

// The frame reaches the whole-desktop window scaled, with black bars: a 1280x720 mode on the
// dummy driver's 1024x768 desktop shows as 1024x576 between bars of 96 pixel rows.
TEST_P(WindowScaling, TheFrameIsScaledBetweenBlackBars) {
    const int bits = GetParam();
    BringUp(1280, 720, bits);
    const uint32_t sky = bits == 16 ? 0x3DFE : 0x3FBDF0; // red 63, green 189, blue 240
    ASSERT_EQ(DD_OK, Fill(back, sky));
    compat::seams::SetPixelOf(back, 0, 0, bits == 16 ? 0xF800 : 0xFF0000);
    compat::seams::SetPixelOf(back, 1279, 719, bits == 16 ? 0x001F : 0x0000FF);
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    const auto color = [&](int x, int y) { return compat::seams::WindowColor(window, x, y); };
    EXPECT_EQ(RGB(0, 0, 0), color(0, 95));
    EXPECT_EQ(RGB(255, 0, 0), color(0, 96));
    EXPECT_EQ(RGB(0, 0, 255), color(1023, 671));
    EXPECT_EQ(RGB(0, 0, 0), color(1023, 672));
    EXPECT_EQ(RGB(0, 0, 0), color(512, 767));
    const COLORREF middle = color(512, 384);
    // Within RGB565's precision: the top 5, 6 and 5 bits.
    EXPECT_EQ(63 & 0xF8, GetRValue(middle) & 0xF8);
    EXPECT_EQ(189 & 0xFC, GetGValue(middle) & 0xFC);
    EXPECT_EQ(240 & 0xF8, GetBValue(middle) & 0xF8);
    EXPECT_EQ(CLR_INVALID, color(1024, 0));
}

// Enlarged, every window pixel shows the frame pixel under its centre: 640x480 fills the dummy
// driver's 1024x768 desktop, 1.6 times the mode's size.
TEST_P(WindowScaling, AnEnlargedFrameShowsThePixelUnderEachCentre) {
    const int bits = GetParam();
    BringUp(640, 480, bits);
    const auto raw = [](int x, int y) { return static_cast<uint32_t>(x * 97 + y * 31 * 256); };
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            compat::seams::SetPixelOf(back, x, y, raw(x, y));
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    // The colour a raw value shows as; RGB565 widened by repeating its top bits.
    const auto colour = [bits](uint32_t value) {
        if (bits == 32)
            return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
        const uint32_t r = (value >> 11) & 0x1F, g = (value >> 5) & 0x3F, b = value & 0x1F;
        return RGB(r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2);
    };
    const auto centre = [](int k, int to, int from) {
        return static_cast<int>((k + 0.5) * from / to);
    };
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            const uint32_t value = raw(centre(x, 1024, 640), centre(y, 768, 480));
            ASSERT_EQ(colour(bits == 16 ? value & 0xFFFF : value & 0xFFFFFF),
                      compat::seams::WindowColor(window, x, y))
                << x << ", " << y;
        }
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, WindowScaling, testing::Values(16, 32));

TEST_F(DirectDrawScreen, AWindowedScreenHasTheModesSize) {
    setenv("QUIBBO_WINDOWED", "1", 1);
    BringUp(640, 480, 16);
    unsetenv("QUIBBO_WINDOWED");
    const POINT inside = compat::seams::ModePixelFromWindow(window, 100, 50);
    EXPECT_EQ(100, inside.x);
    EXPECT_EQ(50, inside.y);
    ASSERT_EQ(DD_OK, Fill(back, 0xF800));
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ(RGB(255, 0, 0), compat::seams::WindowColor(window, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), compat::seams::WindowColor(window, 639, 479));
    EXPECT_EQ(CLR_INVALID, compat::seams::WindowColor(window, 640, 0));
    const POINT beyond = compat::seams::ModePixelFromWindow(window, 700, -5);
    EXPECT_EQ(639, beyond.x);
    EXPECT_EQ(0, beyond.y);
}

TEST_F(DirectDrawScreen, SavedSurfacesAreTwentyFourBitBottomUpBitmaps) {
    BringUp();
    IDirectDrawSurface7* picture = MakePicture(2, 2);
    compat::seams::SetPixelOf(picture, 0, 0, 0xF800); // red
    compat::seams::SetPixelOf(picture, 1, 1, 0x001F); // blue
    testfiles::ScratchDir dir;
    const std::string path = dir / "shot.bmp";
    ASSERT_TRUE(compat::seams::SaveSurfaceBmp(picture, path.c_str()));
    const std::vector<uint8_t> bytes = testfiles::ReadBytes(path);
    ASSERT_EQ(54u + 2 * 8, bytes.size());
    EXPECT_EQ('B', bytes[0]);
    EXPECT_EQ('M', bytes[1]);
    EXPECT_EQ(24, bytes[28]);
    // The first row stored is the bottom one: black, then blue.
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0xFF, 0, 0}),
              std::vector<uint8_t>(bytes.begin() + 54, bytes.begin() + 60));
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0xFF, 0, 0, 0}),
              std::vector<uint8_t>(bytes.begin() + 62, bytes.begin() + 68));
    EXPECT_FALSE(compat::seams::SaveSurfaceBmp(picture, (dir / "missing/shot.bmp").c_str()));
}

} // namespace
