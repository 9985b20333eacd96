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
    double x, y, r; // in fractions of the box's width (x, r) and height (y)
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

CloudColours WhiteCloud() {
    return CloudColours{pal::kCloudTop, pal::kCloudBottom, pal::kCloudRim};
}

void DrawCloud(Canvas& canvas, Vec at, double w, double h, int variant,
               const CloudColours& colours) {
    // A flat-bottomed base with round puffs heaped on it, their seams smoothed, a pixel of
    // room kept all round.
    Shape cloud =
        RoundedRect(at.x + w * 0.06, at.y + h * 0.52, at.x + w * 0.94, at.y + h * 0.92, h * 0.2);
    for (const Puff& p : Puffs(variant)) {
        // No puff may reach the top: a cloud cut flat there looks like a mistake.
        const double r = std::min(p.r * w, p.y * h - 2.0);
        cloud = SmoothUnion(cloud, Circle(Vec{at.x + p.x * w, at.y + p.y * h}, r), w * 0.05);
    }
    cloud = Intersect(cloud, Rect(at.x + 1, at.y + 1, at.x + w - 1, at.y + h - 1));

    // Lit above, shaded below, and a rim that melts into the sky behind it.
    const Paint body = Linear(Vec{0, at.y + h * 0.25}, Vec{0, at.y + h * 0.95},
                              {{0.0, colours.top}, {0.55, colours.top}, {1.0, colours.bottom}});
    const Paint paint = [body, cloud, rim = colours.rim](Vec p) {
        const double inside = std::clamp(-cloud(p) / 5.0, 0.0, 1.0);
        return Mix(rim, body(p), static_cast<float>(inside * (2 - inside)));
    };
    Fill(canvas, cloud, paint);
}

Image Cloud(int width, int height, int variant) {
    Canvas canvas(width, height);
    DrawCloud(canvas, Vec{0, 0}, width, height, variant, WhiteCloud());
    return Flatten(canvas, kKeyPink, pal::kCloudRim);
}

} // namespace art
