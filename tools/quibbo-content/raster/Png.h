// PNG files with an alpha channel, for the desktop's icon theme: 8-bit RGBA, no filtering and
// stored (uncompressed) deflate blocks, so the same picture always gives the same bytes.
#pragma once

#include "raster/Image.h"

#include <cstdint>
#include <vector>

namespace raster {

// `alpha` holds one byte a pixel, top row first (0 see-through, 255 opaque).
std::vector<uint8_t> EncodePng(const Image& image, const std::vector<uint8_t>& alpha);

} // namespace raster
