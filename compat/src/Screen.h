// Inside the platform layer: the display that DirectDraw's exclusive mode shows frames on.
//
// The display mode is not switched for real: the mode's pixels are scaled to the desktop in a
// borderless full-screen window, sharp (nearest neighbour) and with the aspect kept (black
// bars). Alt+Enter switches to a resizable window
// with the picture scaled alike, and back.
#pragma once

#include "FrameChanges.h"
#include "Letterbox.h"
#include "PixelSurface.h"
#include "ScreenPacing.h"
#include "Window.h"
#include "WindowVisibility.h"

#include <windows.h>

#include <cstdint>
#include <vector>

union SDL_Event;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;

namespace compat {

// Starts SDL's video subsystem once per process; false when there is no usable video driver.
bool StartVideo();

// Whether the screen is a window rather than the whole screen: as the player last chose
// (Alt+Enter), or as QUIBBO_WINDOWED=1 or =0 says until the player switches.
bool WindowedWanted();

// The desktop's size, where the display mode goes back to (1024x768 if SDL cannot tell).
void DesktopSize(int* width, int* height);

class Screen final : public WindowPresenter {
public:
    Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
    ~Screen() { Hide(); }

    // Shows the window as the display in a mode of width x height at 16 or 32 bits per pixel;
    // again with another mode resizes. False when SDL cannot make the window or renderer.
    bool Show(Window* window, int width, int height, int bitsPerPixel);
    // Stops presenting and gives up the renderer; the window stays as it is.
    void Hide();
    // The window went away under us (it is being destroyed): forget it.
    void WindowGone() override;
    bool Showing() const { return window_ != nullptr; }

    // The whole window is drawn afresh at the next present, not only what the frame changes:
    // after the black bars, the mode, the window's size or its pixels changed, or the window
    // was uncovered.
    void RedrawWhole() override { redrawWhole_ = true; }
    // Full screen becomes a window and a window full screen; the choice is kept for the next
    // start. The mode and the game's frames stay as they are.
    void SwitchFullScreen() override;

    // Shows a frame of the mode's size and depth (only what it changes against the frame
    // shown before it), then waits for the next refresh unless the
    // display's own wait already did (or `pace` is false). Paces even when nothing can be
    // shown, so that a game loop built on it never spins. A frame not `drawnWhole` (drawing
    // was left out of it while nobody could see the window) is never shown: the window and
    // the last frame wait for the next whole one.
    void Present(const PixelSurface& frame, bool pace, bool drawnWhole = true);
    // True while the last present found the window minimised, hidden or covered whole: the
    // drawing of the next frame may be left out (see Surface::LeavesOutDrawing).
    bool NobodySees() const { return nobodySees_; }

    POINT ModePixelFromWindow(int x, int y) const override;
    // The colour of a pixel of the window as last shown, where we draw into the window's
    // pixels ourselves (the headless drivers, Xvfb); false elsewhere or outside the window.
    bool WindowColor(int x, int y, COLORREF* color) const override;
    // Whether the window's pixels (where we draw them ourselves) are exactly what drawing the
    // last frame afresh, bars and all, would give.
    bool ShowsLastFrameWhole() const override;

private:
    // Picks how frames reach the window: a GPU renderer where there is one, else our own
    // scaling straight into the window's pixels, else SDL's software renderer.
    bool MakePresenter();
    bool MakeTexture();
    // The size a window for the mode starts at: the size the player last gave it, else the
    // largest whole multiple of the mode that fits the desktop.
    static void FirstWindowSize(int modeWidth, int modeHeight, int* width, int* height);
    static void ShowAsWindow(SDL_Window* window, int width, int height);
    static void ShowFullScreen(SDL_Window* window);
    // Each draws the changes found in `frame` and says whether the window shows it now.
    bool PresentThroughRenderer(const PixelSurface& frame);
    bool PresentIntoWindowSurface(const PixelSurface& frame);
    // Finds what the frame changes against the last frame shown (which it then becomes).
    void TakeFrameChanges(const PixelSurface& frame);
    // True (once) when the next frame must draw the whole window.
    bool TakeRedrawWhole();
    static int WatchWindowEvents(void* screen, SDL_Event* event);

    Window* window_ = nullptr;
    bool windowSurface_ = false;
    WindowPicture picture_;
    int rendererOutputWidth_ = 0;
    int rendererOutputHeight_ = 0;
    bool redrawWhole_ = true;
    FrameChanges changes_;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    FramePacer pacer_;
    WindowVisibility visibility_;
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
// The processor time spent presenting those that could be seen, pacing left out.
double PresentingSeconds();
void ForgetPresentedFrames();

} // namespace compat
