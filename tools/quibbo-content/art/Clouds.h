// Soft clouds: each variant is a different heap of puffs on a flat base.
#pragma once

#include "raster/Canvas.h"
#include "raster/Colour.h"
#include "raster/Image.h"
#include "raster/Shape.h"

namespace art {

struct CloudColours {
    raster::Colour top;    // the lit upper part
    raster::Colour bottom; // the shaded underside
    raster::Colour rim;    // the soft edge, close to the sky behind
};

// Fair-weather white, with a rim tinted like the sky.
CloudColours WhiteCloud();

// Draws a cloud filling the box of width by height pixels whose top-left corner is `at`.
void DrawCloud(raster::Canvas& canvas, raster::Vec at, double width, double height, int variant,
               const CloudColours& colours);
// scenery/cloud<variant>.bmp: a white cloud alone on the transparent colour.
raster::Image Cloud(int width, int height, int variant);

} // namespace art
