// The text contract on fontconfig (which file a face name stands for) and SDL_ttf (opening it
// and rendering).
#include "platform/Text.h"

#include "sdl/FontMatch.h"
#include "sdl/FontRender.h"

#include <SDL_ttf.h>

namespace platform {

namespace {

// A Font is the SDL_ttf font itself, open for the whole run.
TTF_Font* TtfOf(const Font* font) {
    return reinterpret_cast<TTF_Font*>(const_cast<Font*>(font));
}

const Font* FontOf(TTF_Font* font) {
    return reinterpret_cast<const Font*>(font);
}

constexpr int kSemiBold = 600;

} // namespace

bool OpenFont(const FontRequest& request, OpenedFont* opened) {
    compat::FontMatch match;
    if (!compat::MatchFont(request.face, request.weight, request.italic, &match))
        return false;
    int style = TTF_STYLE_NORMAL;
    // Faces without the weight or slant asked for are emboldened or slanted by the renderer.
    if (request.weight >= kSemiBold && !match.bold)
        style |= TTF_STYLE_BOLD;
    if (request.italic && !match.italic)
        style |= TTF_STYLE_ITALIC;
    if (request.underline)
        style |= TTF_STYLE_UNDERLINE;
    if (request.strikeOut)
        style |= TTF_STYLE_STRIKETHROUGH;
    const int em = request.emPixels > 0 ? request.emPixels
                                        : compat::EmForCellHeight(match.file, match.faceIndex,
                                                                  request.cellHeight, style);
    TTF_Font* ttf = compat::OpenFont(match.file, match.faceIndex, em, style);
    if (!ttf)
        return false;
    opened->font = FontOf(ttf);
    opened->file = match.file;
    opened->emPixels = em;
    opened->syntheticBold = (style & TTF_STYLE_BOLD) != 0;
    opened->lineHeight = TTF_FontHeight(ttf);
    return true;
}

const TextMask* RenderText(const Font* font, bool antialiased, const std::string& utf8) {
    return compat::RenderText(TtfOf(font), antialiased, utf8);
}

bool MeasureText(const Font* font, const std::string& utf8, int* width) {
    return compat::MeasureText(TtfOf(font), utf8, width);
}

void HideFontFamily(std::string_view family) {
    compat::HideFontFamily(family);
}

void ShowAllFontFamilies() {
    compat::ShowAllFontFamilies();
}

} // namespace platform
