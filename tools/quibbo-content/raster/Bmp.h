// Windows bitmap files as the game reads them: 24 bits a pixel, uncompressed, rows bottom-up
// and padded to whole 4-byte words, with a 40-byte BITMAPINFOHEADER.
#pragma once

#include "raster/Image.h"

#include <cstdint>
#include <vector>

namespace raster {

std::vector<uint8_t> EncodeBmp(const Image& image);

} // namespace raster
