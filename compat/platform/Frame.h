// The backend contract: the pixels of a frame, as the core draws them and a backend shows them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// Pixels in one of the two formats the platform layer offers: RGB565 at 16 bits per pixel,
// XRGB8888 at 32 (the top byte is kept 0). Rows are `pitch` bytes apart, top row first. Every
// DirectDraw surface and GDI bitmap of the core is one (compat::PixelSurface); the functions
// are the core's.
struct FrameBuffer {
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

// A rectangle of a frame's pixels, right and bottom edges excluded.
struct FrameRect {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
};

// Where a frame may differ from the frame shown before it, as the core tells from how the two
// were drawn: anywhere when it cannot tell, else only inside `areas` (none: nowhere). Outside
// them the two frames' pixels are the same, so nobody needs to compare them there.
struct FrameDamage {
    bool anywhere = true;
    std::vector<FrameRect> areas;
};

} // namespace platform
