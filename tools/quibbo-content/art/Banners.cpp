#include "art/Banners.h"

#include "art/Lettering.h"
#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

namespace art {

using namespace raster;
namespace pal = palette;

Image GetReady(const Fonts& fonts) {
    Canvas canvas(256, 128);
    const Shape badge = RoundedRect(6, 20, 250, 108, 30);
    Fill(canvas, badge, Solid(pal::kBlueOutline));
    const Shape face = Grow(badge, -3);
    Fill(canvas, face,
         Linear(Vec{0, 20}, Vec{0, 108},
                {{0.0, pal::kBlueLight}, {0.5, pal::kBlue}, {1.0, pal::kBlueDark}}));
    Fill(canvas, RoundedRect(20, 25, 236, 62, 18),
         Linear(Vec{0, 25}, Vec{0, 62},
                {{0.0, WithAlpha(pal::kWhite, 0.45f)}, {1.0, WithAlpha(pal::kWhite, 0.05f)}}));
    // A gold thread round the inside.
    Fill(canvas, Outline(Grow(face, -4), 1.6), Solid(WithAlpha(pal::kGold, 0.9f)));

    // Sparkles at two corners.
    for (const Vec& at : {Vec{30, 22}, Vec{228, 104}}) {
        Fill(canvas, Grow(Star(at, 13, 4, 4), 1.5), Solid(pal::kGoldOutline));
        Fill(canvas, Star(at, 13, 4, 4), Radial(at, 12, {{0, pal::kWhite}, {1, pal::kGold}}));
    }

    DrawLabel(canvas, fonts, "Get Ready!", Vec{128, 64}, Headline(48));
    return Flatten(canvas, kKeyPink, pal::kBlueOutline);
}

} // namespace art
