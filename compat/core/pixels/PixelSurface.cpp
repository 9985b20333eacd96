#include "pixels/PixelSurface.h"

#include <cstring>

// The frame buffers of the backend contract are the core's pixel buffers.
namespace platform {

using compat::kMaxSurfaceSide;

bool FrameBuffer::Allocate(int newWidth, int newHeight, int newBitsPerPixel) {
    if (newWidth < 1 || newHeight < 1 || newWidth > kMaxSurfaceSide ||
        newHeight > kMaxSurfaceSide || (newBitsPerPixel != 16 && newBitsPerPixel != 32))
        return false;
    width = newWidth;
    height = newHeight;
    bitsPerPixel = newBitsPerPixel;
    // Rows start on 16-byte boundaries, which keeps the blitter's loads aligned.
    pitch = (width * BytesPerPixel() + 15) & ~15;
    pixels.assign(static_cast<size_t>(pitch) * height, 0);
    return true;
}

uint32_t FrameBuffer::Get(int x, int y) const {
    const uint8_t* p = Row(y) + static_cast<size_t>(x) * BytesPerPixel();
    if (bitsPerPixel == 16) {
        uint16_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void FrameBuffer::Set(int x, int y, uint32_t raw) {
    uint8_t* p = Row(y) + static_cast<size_t>(x) * BytesPerPixel();
    if (bitsPerPixel == 16) {
        uint16_t v = static_cast<uint16_t>(raw);
        std::memcpy(p, &v, sizeof v);
        return;
    }
    std::memcpy(p, &raw, sizeof raw);
}

} // namespace platform

namespace compat {

uint32_t RawFromColor(COLORREF color, int bitsPerPixel) {
    const uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    if (bitsPerPixel == 16)
        return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    return (r << 16) | (g << 8) | b;
}

COLORREF ColorFromRaw(uint32_t raw, int bitsPerPixel) {
    uint32_t r, g, b;
    if (bitsPerPixel == 16) {
        const uint32_t r5 = (raw >> 11) & 0x1F, g6 = (raw >> 5) & 0x3F, b5 = raw & 0x1F;
        r = (r5 << 3) | (r5 >> 2);
        g = (g6 << 2) | (g6 >> 4);
        b = (b5 << 3) | (b5 >> 2);
    } else {
        r = (raw >> 16) & 0xFF;
        g = (raw >> 8) & 0xFF;
        b = raw & 0xFF;
    }
    return r | (g << 8) | (b << 16);
}

} // namespace compat
