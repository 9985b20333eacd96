// The program's icon: Quibbo's face on a tile of sky, for the window, the task bar and the
// Windows program file.
#pragma once

#include "raster/Colour.h"
#include "raster/Image.h"

namespace art {

// The colour standing for the icon's see-through corners.
constexpr raster::Pixel kIconClear{228, 103, 101};

// 32 by 32: a rounded tile of sky with Quibbo looking out of it; the corners outside the tile
// are kIconClear.
raster::Image Icon();

} // namespace art
