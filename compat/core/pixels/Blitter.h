// Inside the platform layer: the pixel loops behind every blit, fill and stretch.
//
// This is the game's hot path: a frame is a background fill, a few hundred keyed copies and
// a handful of scaled ones. Keyed copies are branchless so that the compiler vectorises them
// (this file is built with -O3), scaled copies work from precomputed source indices and copy
// each source row at most once per run of destination rows, and fills are plain stores.
#pragma once

#include "pixels/PixelSurface.h"

#include <cstdint>

namespace compat {

// Right- and bottom-exclusive, like RECT.
struct BlitRect {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
    int64_t Area() const { return Width() * Height(); }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const BlitRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

// The overlap of two rectangles; empty (Empty() true) when they do not meet.
BlitRect Intersect(const BlitRect& a, const BlitRect& b);
// The smallest rectangle that holds both.
BlitRect Enclosing(const BlitRect& a, const BlitRect& b);

// The whole of a surface as a rectangle.
BlitRect Bounds(const PixelSurface& surface);

// Sampling rule of every scaled copy: destination pixel k of a span of `destLength` pixels
// takes the source pixel under its centre, source index floor((k + 1/2) * sourceLength /
// destLength), computed exactly in integers as ((2k + 1) * sourceLength) / (2 * destLength).
// The index depends only on k's place in the whole destination span, never on which part of
// the span is visible, so a blit cut by a clipper or the surface edge draws exactly the pixels
// that the uncut blit would have drawn there. Equal lengths give index k: a copy pixel for
// pixel.
//
// Writes the source indices (counted from `sourceStart`) of destination pixels `firstK` to
// `firstK + count - 1` into `indices`. No division inside the loop.
void ScaleIndices(int64_t firstK, int count, int64_t destLength, int64_t sourceLength,
                  int64_t sourceStart, int32_t* indices);

// Sets every pixel of `area` (which must lie inside the surface) to `raw`.
void FillPixels(PixelSurface& target, const BlitRect& area, uint32_t raw);
// Sets every pixel of the surface to 0. Where the system can, the whole pages inside are given
// back to it, and it hands them out again zeroed when they are next touched: a surface settled
// only to have a pixel or two read (a colour match) costs those pages, not a fill of them all.
void ZeroPixels(PixelSurface& target);

// Mixes the colour 0x00BBGGRR into `count` pixels of a row (RGB565 or XRGB8888) by the
// coverage of each, 0 to 255: each channel becomes (colour * c + under * (255 - c) + 127) / 255
// of the pixel's colour as ColorFromRaw gives it, stored as RawFromColor does. A pixel of
// coverage 0 is left as it is.
void BlendCoverageRow16(uint16_t* row, const uint8_t* coverage, int count, uint32_t color);
void BlendCoverageRow32(uint32_t* row, const uint8_t* coverage, int count, uint32_t color);

// Copies `from` (inside `source`) into the destination rectangle `to`, scaled by the sampling
// rule above, drawing only the destination pixels inside `visible` (which must lie inside both
// `to` and `target`). With a key, source pixels equal to `*key` are left out. Both surfaces
// have the same depth and are different surfaces.
void CopyPixels(PixelSurface& target, const BlitRect& to, const BlitRect& visible,
                const PixelSurface& source, const BlitRect& from, const uint32_t* key);

// Shows a whole frame on a screen buffer (a window's pixels) of `screenWidth` x `screenHeight`
// at 16 (RGB565) or 32 bits per pixel (XRGB8888, `alpha` ORed into every pixel): scaled into
// `to` by the sampling rule above, converted between the two formats where the depths differ,
// and black everywhere outside `to` (the bars). Without `bars` the bars are left as they are:
// for a screen buffer that already holds them from the frame before.
void ShowOnScreen(const PixelSurface& frame, uint8_t* screen, int pitch, int screenWidth,
                  int screenHeight, int screenBits, uint32_t alpha, const BlitRect& to,
                  bool bars = true);
// Shows only the screen pixels of `part` (inside `to`) as ShowOnScreen would draw them; the
// rest of the screen buffer is left as it is.
void ShowPartOnScreen(const PixelSurface& frame, uint8_t* screen, int pitch, int screenBits,
                      uint32_t alpha, const BlitRect& to, const BlitRect& part);

} // namespace compat
