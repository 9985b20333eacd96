// Quibbo, the game's mascot: a round, butter-yellow creature with a leaf sprout on its head.
#pragma once

#include "raster/Canvas.h"
#include "raster/Image.h"
#include "raster/Shape.h"

namespace art {

enum class Mood { Happy, Cheering, Sad };

// Draws Quibbo with the middle of its body at `centre`; at scale 1 it stands about 350 pixels
// tall. The outline is never thinner than `minOutline` pixels, so small Quibbos stay crisp;
// `pale` washes every colour towards white (0: full colours).
void DrawQuibbo(raster::Canvas& canvas, raster::Vec centre, double scale, Mood mood,
                double minOutline = 1.5, float pale = 0.0f);

// common/quibbo.bmp: 416 by 416, waving, behind the playfield and the title menu.
raster::Image Mascot();
// common/lives.bmp: 64 by 64, Quibbo beside the count of lives.
raster::Image LivesIcon();

} // namespace art
