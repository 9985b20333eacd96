#include "art/Icon.h"

#include "art/Mascot.h"
#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

namespace art {

using namespace raster;
namespace pal = palette;

Image Icon() {
    constexpr int kSize = 32;
    const Shape tile = RoundedRect(0, 0, kSize, kSize, 6);

    Canvas canvas(kSize, kSize);
    canvas.Clear(pal::kSky);
    Fill(canvas, Rect(0, 0, kSize, kSize),
         Linear(Vec{0, 0}, Vec{0, kSize}, {{0, pal::kSky}, {1, pal::kSkyDeep}}));
    // Quibbo close up, its sprout at the top of the tile, the tile's edge cutting its feet.
    DrawQuibbo(canvas, Vec{16, 17}, 0.082, Mood::Happy, 1.0);
    Image icon = FlattenOpaque(canvas, pal::kSky, kIconClear);

    // Only what lies on the tile is kept: the corners outside it are see-through.
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (Coverage(tile, x, y) < 0.5f) {
                icon.At(x, y) = kIconClear;
            }
        }
    }
    return icon;
}

} // namespace art
