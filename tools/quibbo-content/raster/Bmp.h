// Windows bitmap files as the game reads them: 24 bits a pixel, uncompressed, rows bottom-up
// and padded to whole 4-byte words, with a 40-byte BITMAPINFOHEADER.
#pragma once

#include "raster/Image.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace raster {

std::vector<uint8_t> EncodeBmp(const Image& image);

// The pieces an icon's picture shares with a bitmap file. The 40-byte BITMAPINFOHEADER of a
// 24-bit, uncompressed, bottom-up picture of `rows` rows holding `dataSize` bytes:
void PutInfoHeader(std::vector<uint8_t>& out, uint32_t width, uint32_t rows, uint32_t dataSize,
                   uint32_t pixelsPerMetre);
// and its rows, bottom row first, blue, green, red a pixel, each padded with zeros to whole
// 4-byte words; pixels of the colour `blacked` are written black.
void PutBgrRows(std::vector<uint8_t>& out, const Image& image,
                std::optional<Pixel> blacked = std::nullopt);

} // namespace raster
