// Inside the platform layer: drawing noted for a surface instead of done at once, and done
// later, either all of it or only inside given areas.
//
// A flip chain's back buffer is drawn afresh every frame, and most of a frame is drawn by the
// same steps as the frame its pixels still hold (see DrawLog). So its drawing after a whole
// fill is noted here; when the frame is flipped, only the areas where the two frames' steps
// differ are drawn: everywhere else the pixels already are what the steps would draw.
#pragma once

#include "pixels/Blitter.h"
#include "pixels/PixelSurface.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace compat {

class PendingDrawing {
public:
    // Draws a step into `target`: all of it, or only its pixels inside `*within` (which lies
    // inside the target).
    using Draw = std::function<void(PixelSurface& target, const BlitRect* within)>;

    bool Empty() const { return steps_.empty(); }
    void Clear() {
        steps_.clear();
        others_.clear();
    }
    // Steps as FillPixels and CopyPixels take them. The source's pixels must stay as they are
    // until the drawing is done.
    void AddFill(const BlitRect& area, uint32_t raw);
    void AddCopy(const BlitRect& to, const BlitRect& visible, const PixelSurface* source,
                 const BlitRect& from, const uint32_t* key);
    void AddOther(Draw draw);
    // Whether a noted copy reads from `source`.
    bool Uses(const PixelSurface* source) const;
    // Whether the noted drawing is one fill of `area`, and with which value.
    bool OnlyFill(const BlitRect& area, uint32_t* raw) const;
    // Does the noted drawing, in order.
    void DrawAll(PixelSurface& target) const;
    // Does the noted drawing only inside `areas` (cut to the target), each area in turn.
    void DrawWithin(PixelSurface& target, const std::vector<BlitRect>& areas) const;

private:
    enum class Kind { Fill, Copy, Other };
    struct Step {
        Kind kind = Kind::Fill;
        BlitRect to;      // a fill's area, a copy's destination rectangle
        BlitRect visible; // the part of `to` a copy draws
        const PixelSurface* source = nullptr;
        BlitRect from;
        bool keyed = false;
        uint32_t raw = 0; // a fill's value, a copy's key
        size_t other = 0; // into others_
    };
    void DrawStep(const Step& step, PixelSurface& target, const BlitRect* within) const;

    std::vector<Step> steps_;
    std::vector<Draw> others_;
};

// What a device context that draws into a surface asks of the surface.
class NotingSurface {
public:
    // Where the context notes its text and pixels instead of drawing them; null while
    // drawing is done at once.
    virtual PendingDrawing* NotedDrawing() = 0;
    // Does the noted drawing, before the pixels are read or drawn on in any other way.
    virtual void Settle() = 0;

protected:
    ~NotingSurface() = default;
};

} // namespace compat
