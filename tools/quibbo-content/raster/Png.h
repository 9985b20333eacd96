// PNG files: icons with an alpha channel for the desktop's icon theme, and screenshots; 8-bit, no
// filtering and stored (uncompressed) deflate blocks, so the same picture always gives the same
// bytes.
#pragma once

#include "raster/Image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace raster {

// `alpha` holds one byte a pixel, top row first (0 see-through, 255 opaque).
std::vector<uint8_t> EncodePng(const Image& image, const std::vector<uint8_t>& alpha);
// The PNG file of `pixels`, `channels` bytes a pixel: 3 (red, green, blue) or 4 (and alpha),
// rows top to bottom.
std::vector<uint8_t> EncodePng(int width, int height, int channels,
                               const std::vector<uint8_t>& pixels);

// The checksums of PNG chunks and zlib streams.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

} // namespace raster
