// Screenshots as PNG files: 8-bit RGB, no compression (stored deflate blocks).
#pragma once

#include "raster/Png.h"

#include <cstdint>
#include <vector>

namespace replay {

using raster::Adler32;
using raster::Crc32;

// The PNG file of `rgb`, three bytes a pixel (red, green, blue), rows top to bottom.
inline std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb) {
    return raster::EncodePng(width, height, 3, rgb);
}

} // namespace replay
