// The backend contract: presenting finished frames in a window or full screen.
//
// The core keeps the frames (the last one shown, for its seams and its recorder), counts them,
// paces them and says when the whole window must be drawn afresh; the backend shows them. A
// frame is scaled to the window with the aspect kept (black bars), sharp.
#pragma once

#include "platform/Display.h"
#include "platform/Frame.h"

#include <cstdint>
#include <memory>

namespace platform {

// What a new native window carries: its title, its icon (ARGB8888 rows; none when null) and
// whether the pointer shows over it.
struct WindowLook {
    const char* title = "";
    const uint32_t* iconArgb = nullptr;
    int iconWidth = 0;
    int iconHeight = 0;
    bool pointerShown = true;
};

// One window at a time shows the frames of a display mode.
class Presenter {
public:
    virtual ~Presenter() = default;
    // Shows `*window` (made first while null) as the display in a mode of width x height at 16
    // or 32 bits, full screen or in a window as the player last chose; again with another mode
    // resizes. False when the backend cannot.
    virtual bool Show(NativeWindow** window, const WindowLook& look, int width, int height,
                      int bitsPerPixel) = 0;
    // Stops presenting; the window stays as it is.
    virtual void Hide() = 0;
    // The display's refresh rate; 0 when unknown.
    virtual int RefreshRate() = 0;
    // Whether anybody can see the window: not minimised, hidden or covered whole.
    virtual bool Seen() = 0;
    // Shows `frame` (the mode's size and depth) and brings `shown`, the frame shown before it,
    // up to it: the whole window afresh (bars too) with `whole` or whenever the backend lost
    // what it showed, else only what the frame changes against `shown`. False, with `shown`
    // untouched, when the window cannot show it now. Outside `damage` the two frames are
    // alike.
    virtual bool Present(const FrameBuffer& frame, FrameBuffer& shown, bool whole,
                         const FrameDamage& damage) = 0;
    // Whether a present that showed its frame returns only at the display's next refresh (a
    // browser's animation frame): the core's pacing then follows the display instead of
    // sleeping to a schedule of its own, which would only push the next frame off its refresh.
    virtual bool WaitsForDisplay() { return false; }
    // The mode pixel under a pointer position (the window's coordinates), clamped to the mode.
    virtual void ModePixelFromWindow(int x, int y, int* modeX, int* modeY) = 0;
    // The colour (0x00BBGGRR) of a pixel of the window as last shown, where the backend can
    // read it back; false elsewhere.
    virtual bool WindowColor(int x, int y, uint32_t* color) = 0;
    // Whether the window shows exactly what drawing `frame` afresh, bars and all, would give.
    virtual bool ShowsWhole(const FrameBuffer& frame) = 0;
    // Full screen becomes a window and a window full screen; the choice is kept for the next
    // start.
    virtual void SwitchFullScreen() = 0;
};

std::unique_ptr<Presenter> MakePresenter();

} // namespace platform
