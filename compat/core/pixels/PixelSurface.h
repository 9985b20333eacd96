// Inside the platform layer: the pixels behind every DirectDraw surface and GDI bitmap.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace compat {

// Pixels in one of the two formats the platform layer offers: RGB565 at 16 bits per pixel,
// XRGB8888 at 32 (the top byte is kept 0). Rows are `pitch` bytes apart, top row first.
struct PixelSurface {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int pitch = 0;
    std::vector<uint8_t> pixels;

    // False (and nothing allocated) for a size below 1 or above the largest surface we make,
    // or a depth other than 16 or 32.
    bool Allocate(int newWidth, int newHeight, int newBitsPerPixel);
    int BytesPerPixel() const { return bitsPerPixel / 8; }
    uint8_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * pitch; }
    const uint8_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * pitch; }
    // Raw pixel values in the surface's own format; (x, y) must lie inside the surface.
    uint32_t Get(int x, int y) const;
    void Set(int x, int y, uint32_t raw);
};

// The largest width or height of any surface or bitmap: 16384 pixels.
constexpr int kMaxSurfaceSide = 16384;

// A COLORREF (red in the low byte) as the raw value of the given format, by truncation:
// RGB565 keeps the top 5, 6 and 5 bits. Every path that turns colours into pixels goes through
// here, so a colour key made from a colour matches pixels drawn in that colour.
uint32_t RawFromColor(COLORREF color, int bitsPerPixel);
// A raw value back to a COLORREF; RGB565 channels are widened by repeating their top bits.
COLORREF ColorFromRaw(uint32_t raw, int bitsPerPixel);

} // namespace compat
