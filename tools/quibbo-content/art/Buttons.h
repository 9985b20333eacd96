// Menu buttons: glossy pills with a label, blue at rest and gold under the mouse.
#pragma once

#include "raster/Image.h"
#include "raster/Text.h"

#include <string>

namespace art {

raster::Image MenuButton(const raster::Fonts& fonts, const std::string& label, int width,
                         int height, bool highlighted);

} // namespace art
