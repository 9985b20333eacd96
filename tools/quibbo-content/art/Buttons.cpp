#include "art/Buttons.h"

#include "art/Lettering.h"
#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

namespace art {

using namespace raster;
namespace pal = palette;

Image MenuButton(const Fonts& fonts, const std::string& label, int width, int height,
                 bool highlighted) {
    Canvas canvas(width, height);
    const double w = width;
    const double h = height;
    // At rest the pill sits a little inside the picture; highlighted it swells to the edges.
    const double inset = highlighted ? 0.5 : 2.5;
    const Shape pill = RoundedRect(inset, inset, w - inset, h - inset, (h - 2 * inset) / 2);
    const Shape face = Grow(pill, -2.0);

    const Colour outline = highlighted ? pal::kGoldOutline : pal::kBlueOutline;
    const Colour light = highlighted ? pal::kGoldLight : pal::kBlueLight;
    const Colour middle = highlighted ? pal::kGold : pal::kBlue;
    const Colour dark = highlighted ? pal::kGoldDark : pal::kBlueDark;

    Fill(canvas, pill, Solid(outline));
    Fill(canvas, face,
         Linear(Vec{0, inset}, Vec{0, h - inset},
                {{0.0, light}, {0.48, middle}, {0.52, Mix(middle, dark, 0.35f)}, {1.0, dark}}));
    // A glossy reflection across the upper half, fading downwards.
    const double r = (h - 2 * inset) / 2 - 4;
    const Shape gloss = RoundedRect(inset + 8, inset + 3.5, w - inset - 8, h / 2, r * 0.7);
    Fill(canvas, gloss,
         Linear(Vec{0, inset + 3}, Vec{0, h / 2},
                {{0.0, WithAlpha(pal::kWhite, 0.55f)}, {1.0, WithAlpha(pal::kWhite, 0.08f)}}));
    // A light rim along the bottom inside edge, as if the pill were lit from below too.
    Fill(canvas, Intersect(Outline(Grow(face, -1.0), 1.5), Rect(0, h * 0.6, w, h)),
         Solid(WithAlpha(Lighter(dark, 0.5f), 0.6f)));

    LetterStyle style;
    style.size = height * 2 / 5 + 1;
    style.top = pal::kWhite;
    style.bottom = highlighted ? Rgb(255, 248, 225) : Rgb(225, 235, 255);
    style.outline = highlighted ? Rgb(150, 80, 10) : pal::kBlueOutline;
    style.outlineWidth = 1.6;
    style.shadow = WithAlpha(outline, 0.7f);
    style.shadowOffset = Vec{1, 2};
    DrawLabel(canvas, fonts, label, Vec{w / 2, h / 2}, style);
    return Flatten(canvas, kKeyPink, outline);
}

} // namespace art
