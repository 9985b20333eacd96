#include "art/Icon.h"

#include "art/Mascot.h"
#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

namespace art {

using namespace raster;
namespace pal = palette;

namespace {

// The tile's edge; the drawing is made for 32 pixels and scaled to `size`.
Shape IconTile(int size) {
    const double s = size / 32.0;
    return RoundedRect(0, 0, size, size, 6 * s);
}

Image IconColours(int size) {
    const double s = size / 32.0;
    Canvas canvas(size, size);
    canvas.Clear(pal::kSky);
    Fill(
        canvas, Rect(0, 0, size, size),
        Linear(Vec{0, 0}, Vec{0, static_cast<double>(size)}, {{0, pal::kSky}, {1, pal::kSkyDeep}}));
    // Quibbo close up, its sprout at the top of the tile, the tile's edge cutting its feet.
    DrawQuibbo(canvas, Vec{16 * s, 17 * s}, 0.082 * s, Mood::Happy, 1.0 * (s < 1 ? 1 : s));
    return FlattenOpaque(canvas, pal::kSky, kIconClear);
}

} // namespace

Image Icon(int size) {
    Image icon = IconColours(size);
    const Shape tile = IconTile(size);
    // Only what lies on the tile is kept: the corners outside it are see-through.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (Coverage(tile, x, y) < 0.5f) {
                icon.At(x, y) = kIconClear;
            }
        }
    }
    return icon;
}

SoftIcon DesktopIcon(int size) {
    SoftIcon icon{IconColours(size), {}};
    const Shape tile = IconTile(size);
    icon.alpha.reserve(static_cast<size_t>(size) * static_cast<size_t>(size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            icon.alpha.push_back(ToByte(Coverage(tile, x, y)));
        }
    }
    return icon;
}

const std::vector<int>& DesktopIconSizes() {
    static const std::vector<int> sizes{16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

} // namespace art
