#include "raster/Colour.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace raster {

Colour Mix(const Colour& a, const Colour& b, float t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                  a.a + (b.a - a.a) * t};
}

Colour Lighter(const Colour& c, float t) {
    return Mix(c, Colour{1, 1, 1, c.a}, t);
}

Colour Darker(const Colour& c, float t) {
    return Mix(c, Colour{0, 0, 0, c.a}, t);
}

Colour WithAlpha(const Colour& c, float a) {
    return Colour{c.r, c.g, c.b, a};
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

Pixel ToPixel(const Colour& c) {
    return Pixel{ToByte(c.r), ToByte(c.g), ToByte(c.b)};
}

Colour FromPixel(const Pixel& p) {
    return Rgb(p.r, p.g, p.b);
}

int ChannelDistance(const Pixel& a, const Pixel& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

} // namespace raster
