// The two closing screens, 640 by 480: a celebration when every level is complete, and a
// rainy Quibbo when the game is over.
#pragma once

#include "raster/Image.h"
#include "raster/Text.h"

namespace art {

// backdrops/complete.bmp: drawn at its own size in the middle of the screen; its edges fade
// into the screen's sky blue, so it sits seamlessly on any larger screen.
raster::Image AllComplete(const raster::Fonts& fonts);
// backdrops/loser.bmp: stretched over the whole screen.
raster::Image GameOver(const raster::Fonts& fonts);

} // namespace art
