// Coverage alone, 0 to 1 per pixel: rendered text, and shapes on their way to becoming soft
// shadows and glows.
#pragma once

#include "raster/Shape.h"

#include <vector>

namespace raster {

class Mask {
public:
    Mask(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }
    float& At(int x, int y) { return values[static_cast<size_t>(y) * width + x]; }
    float At(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
    // 0 outside the mask.
    float Get(int x, int y) const {
        return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : At(x, y);
    }

private:
    int width;
    int height;
    std::vector<float> values;
};

// The smallest box (in pixels, right and bottom exclusive) holding every covered pixel.
Box InkBounds(const Mask& mask);
// A soft copy: three box blurs of the given radius, close to a Gaussian.
Mask Blur(const Mask& mask, int radius);
// Every pixel takes the largest coverage within `radius`: the mask grown outwards, for
// outlines around text.
Mask Spread(const Mask& mask, double radius);
// The mask with a border of `pad` empty pixels all round, so blurs and spreads have room.
Mask Padded(const Mask& mask, int pad);

} // namespace raster
