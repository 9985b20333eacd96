// UNFINISHED: placeholders for the parts of the web backend still to come, so that the page
// builds and runs without them. The game then has no text (no face opens).
// Each part's own files replace its block here: delete the block with them.
#include "platform/Text.h"

// --- Text (platform/Text.h): the browser's canvas will draw it.
namespace platform {

bool OpenFont(const FontRequest&, OpenedFont*) {
    return false;
}

const TextMask* RenderText(const Font*, bool, const std::string&) {
    return nullptr;
}

bool MeasureText(const Font*, const std::string&, int*) {
    return false;
}

void HideFontFamily(std::string_view) {}

void ShowAllFontFamilies() {}

} // namespace platform
