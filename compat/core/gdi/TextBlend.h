// Inside the platform layer: laying rendered text over a surface's pixels.
#pragma once

#include "platform/Text.h"
#include "pixels/Blitter.h"
#include "pixels/PixelSurface.h"

#include <windows.h>

#include <string>

namespace compat {

// Lays the mask at (x, y) over the pixels, mixing `color` into what is there by coverage.
// `text` names what the mask shows (font and text, as the renderer keeps it): a game writes the
// same few texts at the same places every frame, so the pixels a text left are kept with the
// pixels it found, and where it finds the same pixels again they are copied back instead of
// being mixed anew. The result is the same to the bit.
void BlendText(PixelSurface& pixels, const platform::TextMask& mask, int x, int y, COLORREF color,
               const std::string& text);
// Lays the mask as BlendText does, only over the pixels inside `within`.
void BlendTextWithin(PixelSurface& pixels, const platform::TextMask& mask, int x, int y,
                     COLORREF color, const BlitRect& within);

} // namespace compat
