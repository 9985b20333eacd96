// Inside the platform layer: the nearest-neighbour copy behind StretchBlt and scaled loading.
#pragma once

#include "pixels/PixelSurface.h"

namespace compat {

// A rectangle of pixels: left, top, width, height; sizes above 0.
struct PixelRect {
    int x, y, width, height;
};

// Copies the source rectangle onto the destination rectangle, each destination pixel taking the
// source pixel under its centre. Destination pixels outside `to`'s surface are cut off, and those
// whose source pixel lies outside `from`'s surface are left as they were. Pixels are converted
// between formats through their colour (ColorFromRaw, RawFromColor). The two may be one surface.
void StretchPixels(const PixelSurface& from, PixelRect source, PixelSurface& to,
                   PixelRect destination);

} // namespace compat
