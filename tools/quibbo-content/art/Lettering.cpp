#include "art/Lettering.h"

#include "art/Palette.h"
#include "raster/Draw.h"

#include <algorithm>

#include <cmath>

namespace art {

using namespace raster;

LetterStyle Headline(int size) {
    LetterStyle style;
    style.face = Face::Title;
    style.size = size;
    style.top = palette::kWhite;
    style.bottom = palette::kGoldLight;
    style.outline = palette::kBlueOutline;
    style.outlineWidth = 1.5 + size / 40.0;
    style.shadow = WithAlpha(palette::kBlueOutline, 0.55f);
    style.shadowOffset = Vec{size / 24.0, size / 18.0};
    style.shadowBlur = std::max(1, size / 25);
    return style;
}

void DrawLabel(Canvas& canvas, const Fonts& fonts, const std::string& text, Vec centre,
               const LetterStyle& style) {
    const int pad = static_cast<int>(std::ceil(style.outlineWidth)) + 3 * style.shadowBlur + 4;
    const Mask letters = Padded(fonts.Render(style.face, style.size, text), pad);
    const Box ink = InkBounds(letters);
    // Across, the ink is centred; down, the capitals (from their tops to the baseline), so
    // that labels with and without descenders sit at the same height.
    const Box caps = InkBounds(Padded(fonts.Render(style.face, style.size, "H"), pad));
    const int x = static_cast<int>(std::lround(centre.x - (ink.x0 + ink.x1) / 2));
    const int y = static_cast<int>(std::lround(centre.y - (caps.y0 + caps.y1) / 2));

    const Mask body = style.outlineWidth > 0 ? Spread(letters, style.outlineWidth) : letters;
    if (style.shadow) {
        FillMask(canvas, Blur(body, style.shadowBlur), x + static_cast<int>(style.shadowOffset.x),
                 y + static_cast<int>(style.shadowOffset.y), Solid(*style.shadow));
    }
    if (style.outlineWidth > 0) {
        FillMask(canvas, body, x, y, Solid(style.outline));
    }
    FillMask(
        canvas, letters, x, y,
        Linear(Vec{0, y + ink.y0}, Vec{0, y + ink.y1}, {{0.0, style.top}, {1.0, style.bottom}}));
}

void DrawPlainText(Canvas& canvas, const Fonts& fonts, Face face, int size, const std::string& text,
                   int x, int y, const Colour& colour) {
    FillMask(canvas, fonts.Render(face, size, text), x, y, Solid(colour));
}

} // namespace art
