// A PNG writer for screenshots: 8-bit RGB, no compression (stored deflate blocks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace replay {

// The PNG file of `rgb`, three bytes a pixel (red, green, blue), rows top to bottom.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb);

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

} // namespace replay
