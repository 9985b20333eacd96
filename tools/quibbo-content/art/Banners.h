// scenery/getrdy.bmp: the "Get Ready!" badge shown over the playfield before play.
#pragma once

#include "raster/Image.h"
#include "raster/Text.h"

namespace art {

raster::Image GetReady(const raster::Fonts& fonts);

} // namespace art
