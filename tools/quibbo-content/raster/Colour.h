// Colours as the drawing code works with them: straight (not premultiplied) red, green, blue
// and alpha from 0 to 1, in the picture's own (sRGB) values.
#pragma once

#include <cstdint>

namespace raster {

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;
};

// A colour from 8-bit channels, e.g. Rgb(63, 189, 240) for the sky.
constexpr Colour Rgb(int r, int g, int b, float a = 1.0f) {
    return Colour{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

// Linear mix: t = 0 gives a, t = 1 gives b (alpha mixed alike).
Colour Mix(const Colour& a, const Colour& b, float t);
// Towards white or black by t, keeping alpha.
Colour Lighter(const Colour& c, float t);
Colour Darker(const Colour& c, float t);
Colour WithAlpha(const Colour& c, float a);

// One 8-bit pixel of a finished picture.
struct Pixel {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Pixel& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Pixel& o) const { return !(*this == o); }
};

// 0..1 to 0..255, rounded and clamped.
uint8_t ToByte(float v);
Pixel ToPixel(const Colour& c);
Colour FromPixel(const Pixel& p);
// The largest difference of one channel: how far apart two pixels look at worst.
int ChannelDistance(const Pixel& a, const Pixel& b);

} // namespace raster
