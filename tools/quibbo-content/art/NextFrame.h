// scenery/next.bmp: the golden panel beside the playfield that shows the next block. The game
// draws the block 33 pixels right of and 15 pixels below the panel's corner, so the panel is
// built round a 32 by 32 window there, with a "NEXT" label and an arrow on its left.
#pragma once

#include "raster/Image.h"
#include "raster/Text.h"

namespace art {

constexpr int kNextWidth = 76;
constexpr int kNextHeight = 48;
constexpr int kNextBlockX = 33;
constexpr int kNextBlockY = 15;

raster::Image NextFrame(const raster::Fonts& fonts);

} // namespace art
