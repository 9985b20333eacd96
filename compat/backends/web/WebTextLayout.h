// Inside the web backend: a line of text laid out as the desktop's FreeType and SDL2_ttf lay it
// out, so that widths and line heights agree with the desktop's to the pixel.
#pragma once

#include "web/WebTextFontFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace compat {

// A face's line at one size in pixels, as SDL2_ttf gives it: the ascent above the baseline, the
// descent below it (negative), and the height of the cell.
struct LineMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;
    // The underline's top row and thickness below the cell's top.
    int underlineTop = 0;
    int underlineRows = 1;
};

LineMetrics MeasureLine(const FontFile& file, int emPixels);

// The size in pixels per em that gives the face a cell (ascent plus descent) of about
// `cellHeight` pixels.
int EmForCellHeight(const FontFile& file, int cellHeight);

struct TextLayout {
    std::vector<uint32_t> codePoints;
    // Where each character's pen starts, in whole pixels from the line's start.
    std::vector<int> penX;
    // The pen's advance over the whole line in pixels.
    int advance = 0;
};

// Lays UTF-8 text out in hinted advances, with the kern table's pairs where `kerned`.
void LayOut(const FontFile& file, int emPixels, bool kerned, const std::string& utf8,
            TextLayout* layout);

} // namespace compat
