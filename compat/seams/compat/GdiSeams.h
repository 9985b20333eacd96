// Test seams of GDI: pixels behind device contexts and bitmaps, the font a face resolved to,
// installed fonts hidden from matching. Only tests and tools include this header.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace compat::seams {

// --- Device contexts over pixels of their own ---

// A device context drawing into a fresh pixel buffer of width x height at 16 (RGB565) or 32
// (XRGB8888) bits per pixel, every raw pixel 0, as a surface's context would. Null for a size
// or depth no surface can have. Given up by DeletePixelContext or ResetAll.
HDC CreatePixelContext(int width, int height, int bitsPerPixel);
void DeletePixelContext(HDC dc);

// Raw pixel values in the format of whatever a context draws into (a pixel context, a surface,
// the bitmap selected into a memory context). False outside it, or for a context with no
// pixels.
bool ReadRawPixel(HDC dc, int x, int y, uint32_t* raw);
bool WriteRawPixel(HDC dc, int x, int y, uint32_t raw);
// Sets every pixel; false for a context with no pixels.
bool FillRawPixels(HDC dc, uint32_t raw);

// --- Bitmaps ---

struct BitmapPixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colors; // row by row, top row first
    COLORREF At(int x, int y) const { return colors[static_cast<size_t>(y) * width + x]; }
};

// The colours of a bitmap's pixels; false for anything but a live bitmap.
bool ReadBitmapPixels(HBITMAP bitmap, BitmapPixels* pixels);
// Live bitmaps, fonts and regions (the platform's stock objects not counted).
int LiveGdiObjects();

// --- Fonts ---

struct FontFace {
    std::string file;           // the font file the face name resolved to
    int emPixels = 0;           // size of the em in pixels
    bool syntheticBold = false; // emboldened by the renderer: no bold face was found
};

// False for anything but a live font.
bool DescribeFont(HFONT font, FontFace* face);
// Font matching behaves as if the family were not installed, until ResetAll.
void HideFontFamily(std::string_view family);

} // namespace compat::seams
