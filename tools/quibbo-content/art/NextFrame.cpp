#include "art/NextFrame.h"

#include "art/Lettering.h"
#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

namespace art {

using namespace raster;
namespace pal = palette;

Image NextFrame(const Fonts& fonts) {
    Canvas canvas(kNextWidth, kNextHeight);
    const double w = kNextWidth;
    const double h = kNextHeight;
    // Rounded at the top; the bottom stands flat on the playfield's bottom line.
    const Shape panel = Intersect(RoundedRect(0.5, 0.5, w - 0.5, h + 10, 9), Rect(0, 0, w, h));
    Fill(canvas, panel, Solid(pal::kGoldOutline));
    const Shape face = Grow(panel, -1.6);
    Fill(canvas, face,
         Linear(Vec{0, 0}, Vec{0, h},
                {{0.0, pal::kGoldLight}, {0.45, pal::kGold}, {1.0, pal::kGoldDark}}));
    Fill(canvas, Intersect(Outline(Grow(face, -1.0), 1.4), Rect(0, 0, w, h / 2)),
         Solid(WithAlpha(pal::kWhite, 0.55f)));

    // The window: a dark recess a pixel and a half round the block.
    const double x0 = kNextBlockX - 1.5;
    const double y0 = kNextBlockY - 1.5;
    const Shape window = RoundedRect(x0, y0, kNextBlockX + 32 + 1.5, h + 4, 3);
    Fill(canvas, Grow(window, 1.2), Solid(WithAlpha(pal::kWhite, 0.5f)));
    Fill(canvas, window,
         Linear(Vec{0, y0}, Vec{0, h}, {{0.0, Rgb(22, 30, 74)}, {1.0, Rgb(46, 62, 130)}}));

    LetterStyle label;
    label.size = 8;
    label.top = pal::kInk;
    label.bottom = pal::kInk;
    label.shadow = WithAlpha(pal::kWhite, 0.6f);
    label.shadowOffset = Vec{0, 1};
    DrawLabel(canvas, fonts, "NEXT", Vec{16.5, 21}, label);
    Fill(canvas, Polygon({{12, 30}, {21.5, 35}, {12, 40}}), Solid(pal::kInk));
    return Flatten(canvas, kKeyBlack, pal::kGoldOutline);
}

} // namespace art
