#include "art/Border.h"

#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

namespace art {

using namespace raster;
namespace pal = palette;

Image BorderTile(int side) {
    static const Colour kGems[4] = {Rgb(226, 52, 62), Rgb(70, 190, 70), Rgb(52, 104, 230),
                                    Rgb(150, 84, 222)};
    const Colour gem = kGems[side & 3];
    Canvas canvas(16, 16);
    // The mortar between studs fills the whole tile: border tiles have no transparent pixel.
    canvas.Clear(pal::kGoldOutline);
    const Shape stud = RoundedRect(0.6, 0.6, 15.4, 15.4, 3.2);
    Fill(canvas, stud,
         Linear(Vec{1, 1}, Vec{15, 15},
                {{0.0, pal::kGoldLight}, {0.5, pal::kGold}, {1.0, pal::kGoldDark}}));
    Fill(canvas, Outline(Grow(stud, -1.4), 1.2),
         Linear(Vec{2, 2}, Vec{14, 14},
                {{0.0, WithAlpha(pal::kWhite, 0.8f)},
                 {0.45, WithAlpha(pal::kWhite, 0.0f)},
                 {0.6, WithAlpha(pal::kGoldOutline, 0.0f)},
                 {1.0, WithAlpha(pal::kGoldOutline, 0.6f)}}));
    const Shape stone = Circle(Vec{8, 8}, 3.6);
    Fill(canvas, Grow(stone, 0.9), Solid(Darker(gem, 0.5f)));
    Fill(canvas, stone, Radial(Vec{6.8, 6.8}, 4.5, {{0, Lighter(gem, 0.5f)}, {1, gem}}));
    Fill(canvas, Circle(Vec{6.9, 6.7}, 1.1), Solid(WithAlpha(pal::kWhite, 0.9f)));
    return Flatten(canvas, kKeyBlack, pal::kGoldOutline);
}

} // namespace art
