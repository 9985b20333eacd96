// Turning a finished canvas into a picture with a colour key. The game draws a picture by
// leaving out exactly the pixels of the key colour, and it may first reduce the picture to 16
// bits a pixel, so:
// - a pixel is either exactly the key or a colour clearly apart from it (at least kKeyMargin
//   in some channel), never a near-key fringe that 16-bit rounding could turn transparent;
// - soft edges are blended against a colour of the picture itself (its "matte", usually its
//   outline), never against the key, so no pinkish or dark halo appears on any background;
// - no stray single pixels: specks of colour in the transparent area and pinholes of key
//   inside the picture are cleaned away.
#pragma once

#include "raster/Canvas.h"
#include "raster/Image.h"

namespace raster {

// The transparent colour of most pictures: COLORREF 0x6567E4.
constexpr Pixel kKeyPink{228, 103, 101};
// The transparent colour of the border tiles and the next-block frame.
constexpr Pixel kKeyBlack{0, 0, 0};
// How far every opaque pixel stays from the key, in the channel where they differ most.
constexpr int kKeyMargin = 24;

// Coverage of at least one half makes a pixel opaque; its colour is the canvas laid over
// `matte`, then moved clear of the key if it came too close.
Image Flatten(const Canvas& canvas, const Pixel& key, const Colour& matte);
// A picture without transparency: the canvas laid over `backdrop`. When the game still draws
// it with a `key`, its pixels are kept clear of that colour too.
Image FlattenOpaque(const Canvas& canvas, const Colour& backdrop, std::optional<Pixel> key);
// `p` itself if it is at least `margin` from `key` in some channel; otherwise p with its most
// different channel pushed to exactly `margin` away.
Pixel ClearOfKey(const Pixel& p, const Pixel& key, int margin);

} // namespace raster
