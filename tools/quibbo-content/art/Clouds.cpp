#include "art/Clouds.h"

#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

#include <algorithm>
#include <vector>

namespace art {

using namespace raster;
namespace pal = palette;

namespace {

struct Puff {
    double x, y, r; // in fractions of the picture's width (x, r) and height (y)
};

std::vector<Puff> Puffs(int variant) {
    switch (variant) {
    case 1:
        return {{0.18, 0.66, 0.13},
                {0.36, 0.46, 0.19},
                {0.58, 0.38, 0.22},
                {0.78, 0.58, 0.15},
                {0.50, 0.70, 0.16}};
    case 2:
        return {{0.20, 0.62, 0.14}, {0.42, 0.44, 0.21}, {0.66, 0.50, 0.18}, {0.84, 0.66, 0.11}};
    default:
        return {{0.22, 0.62, 0.15}, {0.46, 0.40, 0.24}, {0.74, 0.56, 0.17}};
    }
}

} // namespace

Image Cloud(int width, int height, int variant) {
    Canvas canvas(width, height);
    const double w = width;
    const double h = height;
    // A flat-bottomed base with round puffs heaped on it, their seams smoothed.
    Shape cloud = RoundedRect(w * 0.06, h * 0.52, w * 0.94, h * 0.92, h * 0.2);
    for (const Puff& p : Puffs(variant)) {
        cloud = SmoothUnion(cloud, Circle(Vec{p.x * w, p.y * h}, p.r * w), w * 0.05);
    }
    // Keep a pixel of room all round.
    cloud = Intersect(cloud, Rect(1, 1, w - 1, h - 1));

    // White above, a little sky in the shade below, and a pale sky-tinted rim that melts into
    // the blue behind it.
    const Paint body =
        Linear(Vec{0, h * 0.25}, Vec{0, h * 0.95},
               {{0.0, pal::kCloudTop}, {0.55, pal::kCloudTop}, {1.0, pal::kCloudBottom}});
    const Paint paint = [body, cloud](Vec p) {
        const double inside = std::clamp(-cloud(p) / 5.0, 0.0, 1.0);
        return Mix(pal::kCloudRim, body(p), static_cast<float>(inside * (2 - inside)));
    };
    Fill(canvas, cloud, paint);
    return Flatten(canvas, kKeyPink, pal::kCloudRim);
}

} // namespace art
