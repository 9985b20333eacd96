// Soft white clouds for the sky; each variant is a different heap of puffs.
#pragma once

#include "raster/Image.h"

namespace art {

raster::Image Cloud(int width, int height, int variant);

} // namespace art
