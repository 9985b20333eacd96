// Inside the platform layer: BMP files to pixels.
#pragma once

#include "pixels/PixelSurface.h"

#include <cstddef>
#include <cstdint>

namespace compat {

// The most pixels one decoded picture may have: 16 Mi, a 4096 by 4096 picture (64 MiB of
// XRGB8888), four times the largest display mode. A small RLE file can claim a huge picture,
// and this keeps a hostile one from taking much memory or time: decoding and copying 16 Mi
// pixels into a surface takes about a third of a second of an optimised build; 64 Mi took
// well over a second.
constexpr int64_t kMaxBitmapPixels = 16LL * 1024 * 1024;

// Decodes a whole BMP file held in memory into XRGB8888 pixels. Takes the core, info, V2, V3, V4
// and V5 headers; 1, 4 and 8 bits per pixel with a colour table, uncompressed or (4 and 8) RLE;
// 16 and 32 bits uncompressed or with bit fields; 24 bits. Bottom-up and top-down rows.
// The file is treated as hostile: every read is checked against `size`, and a malformed,
// truncated or lying file is refused with false, as is a picture with a side above
// kMaxSurfaceSide or more than kMaxBitmapPixels pixels. `out` is untouched on failure.
bool DecodeBmp(const uint8_t* data, size_t size, PixelSurface* out);

} // namespace compat
