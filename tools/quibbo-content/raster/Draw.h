// Putting shapes and masks on a canvas, anti-aliased.
#pragma once

#include "raster/Canvas.h"
#include "raster/Mask.h"
#include "raster/Paint.h"
#include "raster/Shape.h"

namespace raster {

// How much of pixel (x, y) the shape covers, 0 to 1. Pixels well inside or outside are decided
// by the distance at their centre; pixels on the edge are supersampled 4 by 4.
float Coverage(const Shape& shape, int x, int y);

// Fills the shape with the paint, `opacity` times the paint's own alpha.
void Fill(Canvas& canvas, const Shape& shape, const Paint& paint, float opacity = 1.0f);
// The shape's coverage as a mask the size of a w by h picture.
Mask ToMask(const Shape& shape, int width, int height);
// Paints through a mask whose top-left corner lies at (x, y) on the canvas; the paint is asked
// for canvas positions.
void FillMask(Canvas& canvas, const Mask& mask, int x, int y, const Paint& paint,
              float opacity = 1.0f);
// A soft shadow or glow of the shape: its coverage, blurred by `blur` pixels and moved by
// `offset`, filled with `colour`.
void SoftShadow(Canvas& canvas, const Shape& shape, Vec offset, int blur, const Colour& colour);

} // namespace raster
