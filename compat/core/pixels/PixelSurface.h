// Inside the platform layer: the pixels behind every DirectDraw surface and GDI bitmap.
#pragma once

#include "platform/Frame.h"

#include <windows.h>

#include <cstdint>

namespace compat {

using PixelSurface = platform::FrameBuffer;

// The largest width or height of any surface or bitmap: 16384 pixels.
constexpr int kMaxSurfaceSide = 16384;

// A COLORREF (red in the low byte) as the raw value of the given format, by truncation:
// RGB565 keeps the top 5, 6 and 5 bits. Every path that turns colours into pixels goes through
// here, so a colour key made from a colour matches pixels drawn in that colour.
uint32_t RawFromColor(COLORREF color, int bitsPerPixel);
// A raw value back to a COLORREF; RGB565 channels are widened by repeating their top bits.
COLORREF ColorFromRaw(uint32_t raw, int bitsPerPixel);

} // namespace compat
