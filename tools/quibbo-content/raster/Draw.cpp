#include "raster/Draw.h"

#include <algorithm>
#include <cmath>

namespace raster {
namespace {

constexpr int kSamples = 4;
// Beyond this distance from the edge (in pixels) a pixel is taken as wholly inside or outside.
// Larger than half the pixel's diagonal, to allow for distances that are only approximate.
constexpr double kSureDistance = 1.0;

struct PixelRange {
    int x0, y0, x1, y1;
};

PixelRange Clip(const Box& b, int width, int height) {
    return PixelRange{std::max(0, static_cast<int>(std::floor(b.x0)) - 1),
                      std::max(0, static_cast<int>(std::floor(b.y0)) - 1),
                      std::min(width, static_cast<int>(std::ceil(b.x1)) + 1),
                      std::min(height, static_cast<int>(std::ceil(b.y1)) + 1)};
}

} // namespace

float Coverage(const Shape& shape, int x, int y) {
    const double d = shape(Vec{x + 0.5, y + 0.5});
    if (d >= kSureDistance) {
        return 0.0f;
    }
    if (d <= -kSureDistance) {
        return 1.0f;
    }
    int inside = 0;
    for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
            const Vec p{x + (i + 0.5) / kSamples, y + (j + 0.5) / kSamples};
            if (shape(p) < 0.0) {
                ++inside;
            }
        }
    }
    return static_cast<float>(inside) / (kSamples * kSamples);
}

void Fill(Canvas& canvas, const Shape& shape, const Paint& paint, float opacity) {
    const PixelRange r = Clip(shape.Bounds(), canvas.Width(), canvas.Height());
    for (int y = r.y0; y < r.y1; ++y) {
        for (int x = r.x0; x < r.x1; ++x) {
            const float c = Coverage(shape, x, y);
            if (c > 0.0f) {
                canvas.Blend(x, y, paint(Vec{x + 0.5, y + 0.5}), c * opacity);
            }
        }
    }
}

Mask ToMask(const Shape& shape, int width, int height) {
    Mask mask(width, height);
    const PixelRange r = Clip(shape.Bounds(), width, height);
    for (int y = r.y0; y < r.y1; ++y) {
        for (int x = r.x0; x < r.x1; ++x) {
            mask.At(x, y) = Coverage(shape, x, y);
        }
    }
    return mask;
}

void FillMask(Canvas& canvas, const Mask& mask, int x, int y, const Paint& paint, float opacity) {
    for (int my = 0; my < mask.Height(); ++my) {
        for (int mx = 0; mx < mask.Width(); ++mx) {
            const float c = mask.At(mx, my);
            if (c > 0.0f && canvas.Contains(x + mx, y + my)) {
                canvas.Blend(x + mx, y + my, paint(Vec{x + mx + 0.5, y + my + 0.5}), c * opacity);
            }
        }
    }
}

void SoftShadow(Canvas& canvas, const Shape& shape, Vec offset, int blur, const Colour& colour) {
    const Mask mask = Blur(ToMask(Moved(shape, offset), canvas.Width(), canvas.Height()), blur);
    FillMask(canvas, mask, 0, 0, Solid(colour));
}

} // namespace raster
