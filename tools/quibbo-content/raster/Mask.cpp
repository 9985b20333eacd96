#include "raster/Mask.h"

#include <algorithm>
#include <cmath>

namespace raster {
namespace {

// One box blur along rows (across = true) or columns.
Mask BoxPass(const Mask& in, int radius, bool across) {
    Mask out(in.Width(), in.Height());
    const int lines = across ? in.Height() : in.Width();
    const int length = across ? in.Width() : in.Height();
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int line = 0; line < lines; ++line) {
        auto get = [&](int i) { return across ? in.Get(i, line) : in.Get(line, i); };
        double sum = 0;
        for (int i = -radius; i <= radius; ++i) {
            sum += get(i);
        }
        for (int i = 0; i < length; ++i) {
            (across ? out.At(i, line) : out.At(line, i)) = static_cast<float>(sum) * scale;
            sum += get(i + radius + 1) - get(i - radius);
        }
    }
    return out;
}

} // namespace

Mask::Mask(int width, int height)
    : width(width), height(height), values(static_cast<size_t>(width) * height, 0.0f) {}

Box InkBounds(const Mask& mask) {
    int x0 = mask.Width(), y0 = mask.Height(), x1 = 0, y1 = 0;
    for (int y = 0; y < mask.Height(); ++y) {
        for (int x = 0; x < mask.Width(); ++x) {
            if (mask.At(x, y) > 0.0f) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x + 1);
                y1 = std::max(y1, y + 1);
            }
        }
    }
    if (x1 <= x0) {
        return Box{};
    }
    return Box{static_cast<double>(x0), static_cast<double>(y0), static_cast<double>(x1),
               static_cast<double>(y1)};
}

Mask Blur(const Mask& mask, int radius) {
    Mask m = mask;
    for (int pass = 0; pass < 3; ++pass) {
        m = BoxPass(BoxPass(m, radius, true), radius, false);
    }
    return m;
}

Mask Spread(const Mask& mask, double radius) {
    Mask out(mask.Width(), mask.Height());
    const int r = static_cast<int>(std::ceil(radius)) + 1;
    for (int y = 0; y < mask.Height(); ++y) {
        for (int x = 0; x < mask.Width(); ++x) {
            float best = 0.0f;
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    // A covered pixel is a square reaching half a pixel from its centre, so
                    // grown by `radius` it reaches radius + 0.5; the pixel whose centre lies
                    // there is half covered by it. Softly in between, for a round rim.
                    const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
                    const double weight = std::clamp(radius + 1.0 - d, 0.0, 1.0);
                    if (weight > 0) {
                        best =
                            std::max(best, mask.Get(x + dx, y + dy) * static_cast<float>(weight));
                    }
                }
            }
            out.At(x, y) = best;
        }
    }
    return out;
}

Mask Padded(const Mask& mask, int pad) {
    Mask out(mask.Width() + 2 * pad, mask.Height() + 2 * pad);
    for (int y = 0; y < mask.Height(); ++y) {
        for (int x = 0; x < mask.Width(); ++x) {
            out.At(x + pad, y + pad) = mask.At(x, y);
        }
    }
    return out;
}

} // namespace raster
