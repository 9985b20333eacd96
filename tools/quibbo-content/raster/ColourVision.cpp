#include "raster/ColourVision.h"

#include <array>
#include <cmath>

namespace raster {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Full-strength simulation matrices of Machado, Oliveira and Fernandes (2009), applied to
// linear RGB.
constexpr Matrix kDeuteranopia{{{0.367322, 0.860646, -0.227968},
                                {0.280085, 0.672501, 0.047413},
                                {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kProtanopia{{{0.152286, 1.052583, -0.204868},
                              {0.114503, 0.786281, 0.099216},
                              {-0.003882, -0.048116, 1.051998}}};

double ToLinear(uint8_t v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

uint8_t FromLinear(double c) {
    c = c < 0 ? 0 : (c > 1 ? 1 : c);
    const double s = c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
    return static_cast<uint8_t>(std::lround(s * 255.0));
}

} // namespace

Pixel SeenWith(Deficiency deficiency, const Pixel& p) {
    const Matrix& m = deficiency == Deficiency::Deuteranopia ? kDeuteranopia : kProtanopia;
    const std::array<double, 3> in{ToLinear(p.r), ToLinear(p.g), ToLinear(p.b)};
    std::array<uint8_t, 3> out{};
    for (size_t row = 0; row < 3; ++row) {
        out[row] = FromLinear(m[row][0] * in[0] + m[row][1] * in[1] + m[row][2] * in[2]);
    }
    return Pixel{out[0], out[1], out[2]};
}

Image SeenWith(Deficiency deficiency, const Image& image) {
    Image out(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            out.At(x, y) = SeenWith(deficiency, image.At(x, y));
        }
    }
    return out;
}

} // namespace raster
