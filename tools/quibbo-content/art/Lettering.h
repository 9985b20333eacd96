// Labels in the game's fonts with the finish of the rest of the art: a fill (flat or a
// top-to-bottom gradient), an outline and a soft drop shadow.
#pragma once

#include "raster/Canvas.h"
#include "raster/Text.h"

#include <optional>
#include <string>

namespace art {

struct LetterStyle {
    raster::Face face = raster::Face::InterfaceBold;
    int size = 16;
    raster::Colour top;     // fill at the top of the letters
    raster::Colour bottom;  // fill at the bottom
    raster::Colour outline; // drawn when outlineWidth > 0
    double outlineWidth = 0;
    std::optional<raster::Colour> shadow; // a soft shadow below and right
    raster::Vec shadowOffset{1, 1};
    int shadowBlur = 1;
};

// The style of big words in the title font ("Get Ready!", "Well Done!"): white going gold
// downwards, a deep blue outline and shadow in proportion to the size.
LetterStyle Headline(int size);

// Draws `text` centred on `centre`: across by its ink, down by the font's capitals.
void DrawLabel(raster::Canvas& canvas, const raster::Fonts& fonts, const std::string& text,
               raster::Vec centre, const LetterStyle& style);
// Plain text placed as GDI places it: the top-left corner of its line at (x, y).
void DrawPlainText(raster::Canvas& canvas, const raster::Fonts& fonts, raster::Face face, int size,
                   const std::string& text, int x, int y, const raster::Colour& colour);

} // namespace art
