// The program's icon: Quibbo's face on a tile of sky, for the window, the task bar, the Windows
// program file and the Linux desktop's icon theme.
#pragma once

#include "raster/Colour.h"
#include "raster/Image.h"
#include "raster/Keying.h"

#include <cstdint>
#include <vector>

namespace art {

// The colour standing for the icon's see-through corners: the pictures' key colour.
constexpr raster::Pixel kIconClear = raster::kKeyPink;

// `size` by `size` (32 for the program's own icon): a rounded tile of sky with Quibbo looking
// out of it; the corners outside the tile are kIconClear.
raster::Image Icon(int size = 32);

// The same drawing for icon themes: the colours with the corners filled in as sky, and how
// much of each pixel the rounded tile covers (0 to 255), for soft edges instead of a key.
struct SoftIcon {
    raster::Image colours;
    std::vector<uint8_t> alpha; // one a pixel, top row first
};
SoftIcon DesktopIcon(int size);

// The sizes the desktop's icon theme gets, in pixels.
const std::vector<int>& DesktopIconSizes();

} // namespace art
