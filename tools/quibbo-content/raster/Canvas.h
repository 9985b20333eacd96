// The drawing surface: premultiplied colour and coverage per pixel, in floating point, so that
// layers of soft shapes, shadows and highlights add up without banding. A finished canvas is
// flattened into an Image (Keying.h).
#pragma once

#include "raster/Colour.h"
#include "raster/Image.h"

#include <optional>
#include <vector>

namespace raster {

// Premultiplied: the colour channels are already multiplied by a.
struct Premultiplied {
    float r = 0, g = 0, b = 0, a = 0;
};

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }
    const Premultiplied& At(int x, int y) const {
        return pixels[static_cast<size_t>(y) * width + x];
    }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // Lays `colour` over pixel (x, y), as much as its alpha times `coverage` says.
    void Blend(int x, int y, const Colour& colour, float coverage);
    // Lays another canvas over this one with its top-left corner at (x, y).
    void Draw(const Canvas& layer, int x, int y, float opacity = 1.0f);
    // Makes every pixel the given colour.
    void Clear(const Colour& colour);

private:
    int width;
    int height;
    std::vector<Premultiplied> pixels;
};

// A finished picture as a canvas layer: opaque pixels, except those equal to `key`, which
// become fully transparent.
Canvas ToCanvas(const Image& image, std::optional<Pixel> key);

} // namespace raster
