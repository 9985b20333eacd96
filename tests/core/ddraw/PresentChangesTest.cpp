// Presenting only what a frame changes: the window's pixels come out exactly as drawing every
// frame afresh would leave them, in both window formats, letterboxed, across a change of mode
// and of the window's size.
#include "DirectDrawFixture.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <tuple>

namespace {

using compat::seams::ProbeWindowPixels;

// Window bits, mode bits.
class PresentChanges : public DirectDrawTest,
                       public testing::WithParamInterface<std::tuple<int, int>> {
protected:
    int WindowBits() const { return std::get<0>(GetParam()); }
    int ModeBits() const { return std::get<1>(GetParam()); }

    // Draws the frame into `kept` as the next frame, checks that `kept` then holds what drawing
    // it afresh into new window pixels gives, and says how many window pixels were drawn.
    int64_t DrawAndCompare(ProbeWindowPixels& kept, int width, int height,
                           IDirectDrawSurface7* frame) {
        const int64_t drawn = kept.Draw(frame);
        ProbeWindowPixels fresh(width, height, WindowBits());
        EXPECT_EQ(int64_t{width} * height, fresh.Draw(frame));
        const int64_t differs = kept.FirstDifference(fresh);
        EXPECT_EQ(-1, differs) << "first at " << differs % width << ", " << differs / width;
        return drawn;
    }
};

// A 16:10 window letterboxes both modes: 640x480 between bars left and right, 1280x720 between
// bars above and below.
constexpr int kWidth = 1280, kHeight = 800;

TEST_P(PresentChanges, SmallChangesShowAsAFullRedrawWouldAcrossModesAndSizes) {
    BringUp(640, 480, ModeBits());
    IDirectDrawSurface7* frame = MakeNumberedPicture(640, 480, 0x12345);
    ProbeWindowPixels kept(kWidth, kHeight, WindowBits());
    EXPECT_EQ(int64_t{kWidth} * kHeight, DrawAndCompare(kept, kWidth, kHeight, frame));
    EXPECT_EQ(0, DrawAndCompare(kept, kWidth, kHeight, frame)) << "nothing changed";

    // A falling block moves down a row of 32 pixels.
    RECT block{304, 96, 336, 128};
    ASSERT_EQ(DD_OK, Fill(frame, 0x07E0, &block));
    const int64_t blockDrawn = DrawAndCompare(kept, kWidth, kHeight, frame);
    EXPECT_GT(blockDrawn, 0);
    EXPECT_LT(blockDrawn, int64_t{kWidth} * kHeight / 50);
    block = RECT{304, 128, 336, 160};
    ASSERT_EQ(DD_OK, Fill(frame, 0x001F, &block));
    EXPECT_GT(DrawAndCompare(kept, kWidth, kHeight, frame), 0);
    // Single pixels far apart, on the picture's edges next to the bars.
    compat::seams::SetPixelOf(frame, 0, 0, 0xF800);
    compat::seams::SetPixelOf(frame, 639, 240, 0x1234);
    compat::seams::SetPixelOf(frame, 320, 479, 0x4321);
    // Each is drawn alone, as the window pixels it covers: at 5:3 at most two by two.
    const int64_t dotsDrawn = DrawAndCompare(kept, kWidth, kHeight, frame);
    EXPECT_GT(dotsDrawn, 0);
    EXPECT_LE(dotsDrawn, 3 * 2 * 2);

    // A cloud's round outline moves a pixel to the right on a plain sky: what changes runs along
    // the outline at every slope, and only that much is drawn, not the box around the cloud.
    RECT sky{180, 100, 460, 380};
    const auto skyWithRing = [&](int centreX) {
        ASSERT_EQ(DD_OK, Fill(frame, 0x3DFE, &sky));
        for (int step = 0; step < 720; ++step) {
            const double angle = step * 3.14159265358979 / 360;
            compat::seams::SetPixelOf(
                frame, centreX + static_cast<int>(std::lround(100 * std::cos(angle))),
                240 + static_cast<int>(std::lround(100 * std::sin(angle))), 0xFFFF);
        }
    };
    skyWithRing(320);
    EXPECT_GT(DrawAndCompare(kept, kWidth, kHeight, frame), 0);
    skyWithRing(321);
    const int64_t ringDrawn = DrawAndCompare(kept, kWidth, kHeight, frame);
    EXPECT_GT(ringDrawn, 0);
    // The ring's box is 202 by 201 mode pixels, shown 5:3 in the window: a sixth of that.
    EXPECT_LT(ringDrawn, 202 * 201 * 25 / 9 / 6);

    // Another mode: the old picture's place is bars now.
    IDirectDrawSurface7* wide = MakeNumberedPicture(1280, 720, 0x777);
    EXPECT_EQ(int64_t{kWidth} * kHeight, DrawAndCompare(kept, kWidth, kHeight, wide));
    // Shrunk a little: a changed pixel may fall between the window pixels' centres.
    for (int x = 0; x < 1280; x += 7)
        compat::seams::SetPixelOf(wide, x, 360, 0xFFFF);
    EXPECT_GT(DrawAndCompare(kept, kWidth, kHeight, wide), 0);

    // The window's new size gets the picture and its bars whole, with nothing changed in it.
    kept.Resize(900, 1000);
    EXPECT_EQ(int64_t{900} * 1000, DrawAndCompare(kept, 900, 1000, wide));
    RECT corner{0, 0, 16, 16};
    ASSERT_EQ(DD_OK, Fill(wide, 0xABCD, &corner));
    EXPECT_GT(DrawAndCompare(kept, 900, 1000, wide), 0);
}

INSTANTIATE_TEST_SUITE_P(WindowAndModeDepths, PresentChanges,
                         testing::Combine(testing::Values(16, 32), testing::Values(16, 32)));

using ScreenPresentsChanges = DirectDrawTest;

// The real screen on the dummy driver's window: only changes are drawn, yet the window holds
// the whole last frame, also after the window is resized and after a change of mode.
TEST_F(ScreenPresentsChanges, TheWindowHoldsTheWholeFrameAfterResizeAndModeChange) {
    setenv("QUIBBO_WINDOWED", "1", 1);
    BringUp(640, 480, 16);
    unsetenv("QUIBBO_WINDOWED");
    // Under an X server (the xvfb_present_shared tests) the window's pixels are shared with it,
    // and what it shows is read back after every frame: most sends are not answered.
    const bool shared = std::getenv("QUIBBO_TEST_SHARED_PIXELS") != nullptr;
    if (shared) {
        ASSERT_TRUE(compat::seams::WindowPixelsShared());
    }
    const auto flip = [&] {
        ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
        if (shared) {
            ASSERT_TRUE(compat::seams::SharedWindowsShownByServer());
        }
    };
    ASSERT_EQ(DD_OK, Fill(back, 0x3DFE));
    flip();
    EXPECT_TRUE(compat::seams::WindowShowsLastFrameWhole(window));
    for (int frame = 0; frame < 4; ++frame) {
        // The primary now holds the frame before: draw the next one on the back buffer whole.
        ASSERT_EQ(DD_OK, Fill(back, 0x3DFE));
        RECT block{100 + 10 * frame, 50, 132 + 10 * frame, 82};
        ASSERT_EQ(DD_OK, Fill(back, 0xF800, &block));
        flip();
        ASSERT_TRUE(compat::seams::WindowShowsLastFrameWhole(window)) << frame;
    }

    compat::seams::ResizeWindow(window, 800, 500);
    ASSERT_EQ(DD_OK, Fill(back, 0x3DFE));
    RECT block{130, 50, 162, 82};
    ASSERT_EQ(DD_OK, Fill(back, 0xF800, &block));
    flip(); // the same picture as before, into the new window pixels
    ASSERT_NE(CLR_INVALID, compat::seams::WindowColor(window, 799, 499));
    EXPECT_EQ(RGB(0, 0, 0), compat::seams::WindowColor(window, 0, 0)); // a bar
    EXPECT_TRUE(compat::seams::WindowShowsLastFrameWhole(window));

    ASSERT_EQ(DD_OK, dd->SetDisplayMode(800, 600, 16, 0, 0));
    clipper->Release();
    back->Release();
    primary->Release();
    clipper = nullptr;
    back = primary = nullptr;
    setenv("QUIBBO_WINDOWED", "1", 1);
    BringUp(800, 600, 16);
    unsetenv("QUIBBO_WINDOWED");
    ASSERT_EQ(DD_OK, Fill(back, 0x3DFE));
    ASSERT_EQ(DD_OK, Fill(back, 0xF800, &block));
    flip();
    EXPECT_TRUE(compat::seams::WindowShowsLastFrameWhole(window));
    EXPECT_EQ(RGB(255, 0, 0), compat::seams::WindowColor(window, 140, 60));
}

// Frames told alike by how they were drawn (the same fills, blits and text in the same order)
// are not compared by their pixels: whatever changes a frame otherwise still reaches the last
// frame and the window, whether a source picture changed (through a lock, a fill, its key),
// the back buffer was locked and written, drawn onto itself, or had a pixel set.
TEST_F(ScreenPresentsChanges, FramesToldAlikeByTheirDrawingStillShowEveryChange) {
    setenv("QUIBBO_WINDOWED", "1", 1);
    BringUp(640, 480, 16);
    unsetenv("QUIBBO_WINDOWED");
    IDirectDrawSurface7* sprite = MakeNumberedPicture(32, 32, 0x100);
    DDCOLORKEY key{0x100, 0x100};
    ASSERT_EQ(DD_OK, sprite->SetColorKey(DDCKEY_SRCBLT, &key));
    RECT at{200, 100, 264, 164}; // scaled twice
    // With `rest`, one blit more before the others (a block that came to rest).
    const auto draw = [&](const char* text, RECT* rest = nullptr) {
        ASSERT_EQ(DD_OK, Fill(back, 0x3DFE));
        if (rest) {
            ASSERT_EQ(DD_OK, back->Blt(rest, sprite, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
        }
        ASSERT_EQ(DD_OK, back->Blt(&at, sprite, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
        HDC dc = nullptr;
        ASSERT_EQ(DD_OK, back->GetDC(&dc));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 0));
        TextOutA(dc, 300, 200, text, static_cast<int>(std::strlen(text)));
        ASSERT_EQ(DD_OK, back->ReleaseDC(dc));
    };
    const auto flipAndCheck = [&](const char* what) {
        ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                ASSERT_EQ(Pixel(primary, x, y), compat::seams::PresentedPixel(x, y))
                    << what << " at " << x << ", " << y;
        EXPECT_TRUE(compat::seams::WindowShowsLastFrameWhole(window)) << what;
    };
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    const auto poke = [&](IDirectDrawSurface7* surface, int x, int y, uint16_t raw) {
        ASSERT_EQ(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
        static_cast<uint16_t*>(desc.lpSurface)[y * desc.lPitch / 2 + x] = raw;
        ASSERT_EQ(DD_OK, surface->Unlock(nullptr));
    };

    draw("12");
    flipAndCheck("first");
    draw("12");
    flipAndCheck("alike");
    draw("13");
    flipAndCheck("other text");
    poke(sprite, 5, 5, 0x4321);
    draw("13");
    flipAndCheck("the sprite locked and written");
    RECT part{8, 8, 16, 16};
    ASSERT_EQ(DD_OK, Fill(sprite, 0x0101, &part));
    draw("13");
    flipAndCheck("the sprite filled in part");
    key = DDCOLORKEY{0x0101, 0x0101};
    ASSERT_EQ(DD_OK, sprite->SetColorKey(DDCKEY_SRCBLT, &key));
    draw("13");
    flipAndCheck("the sprite's key changed");
    draw("13");
    poke(back, 400, 300, 0xF800);
    flipAndCheck("the frame locked and written");
    draw("13");
    flipAndCheck("alike without the lock's pixel");
    draw("13");
    RECT moved{0, 0, 64, 64};
    ASSERT_EQ(DD_OK, back->Blt(&moved, back, &at, DDBLT_WAIT, nullptr));
    flipAndCheck("drawn onto itself");
    draw("13");
    flipAndCheck("alike without it");
    draw("13");
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, back->GetDC(&dc));
    SetPixel(dc, 600, 400, RGB(255, 0, 255));
    ASSERT_EQ(DD_OK, back->ReleaseDC(dc));
    flipAndCheck("a pixel set");
    draw("13");
    flipAndCheck("alike without it");
    // A step more amid the same steps, then one fewer.
    RECT rest{500, 300, 532, 332};
    draw("13", &rest);
    flipAndCheck("a step more");
    draw("13");
    flipAndCheck("a step fewer");
}

// While nobody sees the window, a frame filled whole is not drawn further: such a frame is
// never shown, and the first one shown after the window comes back is drawn whole. A frame
// drawn onto what was there before is drawn all the same.
TEST_F(ScreenPresentsChanges, DrawingNobodySeesIsLeftOutAndNeverShown) {
    setenv("QUIBBO_WINDOWED", "1", 1);
    BringUp(640, 480, 16);
    unsetenv("QUIBBO_WINDOWED");
    IDirectDrawSurface7* sprite = MakeNumberedPicture(32, 32, 0x100);
    RECT at{200, 100, 232, 132};
    const auto frame = [&](uint32_t sky, uint32_t block) {
        ASSERT_EQ(DD_OK, Fill(back, sky));
        ASSERT_EQ(DD_OK, back->Blt(&at, sprite, nullptr, DDBLT_WAIT, nullptr));
        RECT dot{10, 10, 12, 12};
        ASSERT_EQ(DD_OK, Fill(back, block, &dot));
        ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    };
    frame(0x3DFE, 0xF800);
    ASSERT_TRUE(compat::seams::WindowShowsLastFrameWhole(window));
    const uint64_t frames = compat::seams::PresentedFrames();

    compat::seams::HideWindow(window, true);
    frame(0x3DFE, 0xF800); // this present finds nobody looking
    frame(0x1234, 0x07E0); // so this frame is filled and no more
    EXPECT_EQ(0x1234u, Pixel(primary, 200, 100)) << "the sprite was drawn";
    EXPECT_EQ(0x1234u, Pixel(primary, 10, 10)) << "the small fill was drawn";
    // Drawn onto the pixels as they are (no fill of the whole first): drawn.
    RECT dot{20, 20, 22, 22};
    ASSERT_EQ(DD_OK, Fill(back, 0x001F, &dot));
    EXPECT_EQ(0x001Fu, Pixel(back, 20, 20));
    // Filled whole, a pixel set through GDI still reads back as set (how the game matches a
    // colour to the surface's raw values).
    ASSERT_EQ(DD_OK, Fill(back, 0x1234));
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, back->GetDC(&dc));
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    ASSERT_EQ(DD_OK, back->ReleaseDC(dc));
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(DD_OK, back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(0xF800u, *static_cast<const uint16_t*>(desc.lpSurface));
    ASSERT_EQ(DD_OK, back->Unlock(nullptr));

    compat::seams::HideWindow(window, false);
    frame(0x4321, 0x07E0); // drawn whole, but the present before found nobody looking
    EXPECT_EQ(0x4321u, Pixel(primary, 200, 100)) << "the sprite was drawn";
    // Not shown: the window and the last frame are still the last frame drawn whole.
    EXPECT_EQ(0x3DFEu, compat::seams::PresentedPixel(300, 300));
    EXPECT_TRUE(compat::seams::WindowShowsLastFrameWhole(window));
    frame(0x4321, 0x07E0); // the first frame drawn whole with the window seen
    EXPECT_EQ(0x100u, Pixel(primary, 200, 100));
    EXPECT_EQ(frames + 4, compat::seams::PresentedFrames());
    EXPECT_EQ(0x4321u, compat::seams::PresentedPixel(300, 300));
    EXPECT_EQ(0x100u, compat::seams::PresentedPixel(200, 100));
    EXPECT_TRUE(compat::seams::WindowShowsLastFrameWhole(window));
}

} // namespace
