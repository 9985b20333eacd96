// The four border tiles: 16 by 16 golden studs, each piece with a gem of its own colour so
// the player can follow the frame as it turns. A tile is square and lit from the top-left, so
// it repeats without a seam both across and down, whichever side the piece is on.
#pragma once

#include "raster/Image.h"

namespace art {

// side: 0 top, 1 right, 2 bottom, 3 left (the piece's starting side).
raster::Image BorderTile(int side);

} // namespace art
