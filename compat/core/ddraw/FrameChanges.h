// Inside the platform layer: finding what a frame changes against the frame shown before it,
// and drawing only that into a window's pixels.
#pragma once

#include "pixels/Blitter.h"
#include "ddraw/Letterbox.h"
#include "pixels/PixelSurface.h"

#include <cstdint>
#include <vector>

namespace compat {

// The parts of a frame that differ from the frame shown before it, in the mode's pixels.
struct FrameChanges {
    bool whole = false;          // everything is drawn afresh, the bars too
    std::vector<BlitRect> areas; // otherwise these; none when nothing changed
    bool Any() const { return whole || !areas.empty(); }
};

// Finds what `frame` changes against `shown` (the frame shown last) and brings `shown` up to
// `frame`, copying only the rows that changed. Everything has changed where `whole` is set or
// `shown` has another size or depth. Changes are found in tiles of 16 pixels by 8 rows; each
// changed tile gives the rectangle around its changed pixels. Rectangles that would waste only
// a few pixels as one (those of tiles side by side, or of the same edge in the band below) are
// drawn as one, since each area costs the window a request and its rows a setting up. Only the
// tiles that meet `damage` are compared (all of them without one).
void TakeChanges(const PixelSurface& frame, PixelSurface& shown, bool whole, FrameChanges* changes,
                 const platform::FrameDamage* damage = nullptr);

// A window's own pixels: width x height at 16 (RGB565) or 32 bits (XRGB8888, `alpha` ORed
// into every pixel).
struct WindowPixels {
    uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int bits = 0;
    uint32_t alpha = 0;
};

// Draws the changes of `frame` into the window, the frame scaled into `box`: with `whole`
// the whole window (black bars around the picture), else only the window pixels that show the
// changed areas. The window rectangles drawn go into `drawn`.
void DrawChanges(const PixelSurface& frame, const FrameChanges& changes, const WindowPixels& window,
                 const Letterbox& box, std::vector<BlitRect>* drawn);

// A window's own pixels as the frames drawn into them left them. Draws each frame as only what
// it changes, unless the window must be drawn afresh: after RedrawWhole, or when the window's
// pixels moved, its size or format changed, or the frame has another size than the last.
class WindowPicture {
public:
    void RedrawWhole() { whole_ = true; }
    // Draws `frame` into the window, letterboxed, and brings `shown` (the frame drawn last) up
    // to it. Gives the window rectangles drawn: none when nothing changed.
    const std::vector<BlitRect>& Draw(const PixelSurface& frame, PixelSurface& shown,
                                      const WindowPixels& window,
                                      const platform::FrameDamage* damage = nullptr);

private:
    bool whole_ = true;
    WindowPixels layout_;
    FrameChanges changes_;
    std::vector<BlitRect> drawn_;
};

} // namespace compat
