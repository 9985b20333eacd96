// A finished picture: 8-bit red, green and blue per pixel, top row first.
#pragma once

#include "raster/Colour.h"

#include <optional>
#include <vector>

namespace raster {

class Image {
public:
    Image() = default;
    Image(int width, int height, Pixel fill = Pixel{});

    int Width() const { return width; }
    int Height() const { return height; }
    Pixel& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Pixel& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    const std::vector<Pixel>& Pixels() const { return pixels; }

    bool operator==(const Image& o) const {
        return width == o.width && height == o.height && pixels == o.pixels;
    }

private:
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
};

// Copies `source` onto `target` with its top-left corner at (x, y), scaled to w by h by picking
// the nearest source pixel (as the game's blitter does), leaving out pixels equal to the key.
// Whatever falls outside the target is cut off.
void Blit(Image& target, const Image& source, int x, int y, int w, int h, std::optional<Pixel> key);
// Every pixel repeated `factor` times across and down.
Image Enlarge(const Image& source, int factor);
// The average of each `factor` by `factor` square: a smaller picture for previews.
Image Reduce(const Image& source, int factor);

} // namespace raster
