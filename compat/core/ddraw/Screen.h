// Inside the platform layer: the display that DirectDraw's exclusive mode shows frames on.
//
// The display mode is not switched for real: the backend scales the mode's pixels to the
// desktop in a borderless full-screen window, sharp (nearest neighbour) and with the aspect
// kept (black bars). Alt+Enter switches to a resizable window with the picture scaled alike,
// and back. The screen keeps the last frame shown (the one copy, which the seams read), counts
// and paces the frames, and hands the backend only what each frame changes.
#pragma once

#include "ddraw/ScreenPacing.h"
#include "pixels/DrawLog.h"
#include "pixels/PixelSurface.h"
#include "platform/Present.h"
#include "window/Window.h"

#include <windows.h>

#include <cstdint>
#include <memory>

namespace compat {

class Screen final : public WindowPresenter {
public:
    Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
    ~Screen() { Hide(); }

    // Shows the window as the display in a mode of width x height at 16 or 32 bits per pixel;
    // again with another mode resizes. False when the backend cannot make the window.
    bool Show(Window* window, int width, int height, int bitsPerPixel);
    // Stops presenting; the window stays as it is.
    void Hide();
    // The window went away under us (it is being destroyed): forget it.
    void WindowGone() override;
    bool Showing() const { return window_ != nullptr; }

    // The whole window is drawn afresh at the next present, not only what the frame changes.
    void RedrawWhole() override { redrawWhole_ = true; }
    // Full screen becomes a window and a window full screen; the choice is kept for the next
    // start. The mode and the game's frames stay as they are.
    void SwitchFullScreen() override;

    // Shows a frame of the mode's size and depth (only what it changes against the frame
    // shown before it), then waits for the next refresh unless the display's own wait already
    // did (or `pace` is false). Paces even when nothing can be shown, so that a game loop
    // built on it never spins. A frame not `drawnWhole` (drawing was left out of it while
    // nobody could see the window) is never shown: the window and the last frame wait for the
    // next whole one.
    // With `drawn` (what drew the frame), the frame is compared with the last one by its
    // pixels only where their drawing differed. True when the frame became the last one
    // (LastPresentedFrame).
    bool Present(const PixelSurface& frame, bool pace, bool drawnWhole = true,
                 const DrawLog* drawn = nullptr);
    // True while the last present found the window minimised, hidden or covered whole: the
    // drawing of the next frame may be left out (see Surface::LeavesOutDrawing).
    bool NobodySees() const { return nobodySees_; }

    POINT ModePixelFromWindow(int x, int y) const override;
    // The colour of a pixel of the window as last shown, where the backend can read it back
    // (the headless drivers, Xvfb); false elsewhere or outside the window.
    bool WindowColor(int x, int y, COLORREF* color) const override;
    // Whether the window's pixels are exactly what drawing the last frame afresh, bars and
    // all, would give.
    bool ShowsLastFrameWhole() const override;

private:
    // True (once) when the next frame must draw the whole window.
    bool TakeRedrawWhole();

    Window* window_ = nullptr;
    std::unique_ptr<platform::Presenter> presenter_;
    bool redrawWhole_ = true;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    FramePacer pacer_;
    bool nobodySees_ = false;
};

// The frames that reached a screen, for the test seams: the last one (the copy of its pixels
// that the next frame is compared with), how many there were since the last reset and the
// time they took.
const PixelSurface& LastPresentedFrame();
// False while the last frame presented was not drawn whole (nobody could see it): then
// LastPresentedFrame is the frame drawn whole before it.
bool LastFrameDrawnWhole();
uint64_t PresentedFrameCount();
// The processor time spent presenting those that could be seen, pacing left out: counted from
// the first call on (before it, 0).
double PresentingSeconds();
void ForgetPresentedFrames();

} // namespace compat
