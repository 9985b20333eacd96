// Windows icon files as the resource compiler and the Linux platform layer read them: one
// image, stored as a 24-bit bitmap without its file header, followed by its 1-bit AND mask.
#pragma once

#include "raster/Image.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace raster {

// One icon of the image's size (1 to 256 pixels square or not). Pixels equal to `transparent`
// are set in the AND mask and stored black, so that they show what lies behind; all others
// are opaque.
std::vector<uint8_t> EncodeIco(const Image& image, std::optional<Pixel> transparent);

} // namespace raster
