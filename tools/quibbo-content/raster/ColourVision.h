// How a picture looks to players with red-green colour blindness, to check that the block
// types stay apart by more than their hue.
#pragma once

#include "raster/Image.h"

namespace raster {

enum class Deficiency { Deuteranopia, Protanopia };

Pixel SeenWith(Deficiency deficiency, const Pixel& p);
Image SeenWith(Deficiency deficiency, const Image& image);

} // namespace raster
