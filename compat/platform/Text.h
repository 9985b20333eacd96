// The backend contract: a line of text rasterised in a named face and size.
//
// The core asks for a face as a Windows program names it ("verdana", "mistral"); the backend
// finds the nearest installed face, opens it at the size asked and renders UTF-8 text into
// coverage masks. Opened faces stay open for the whole run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// An opened face at one size and style; only the backend knows what it holds.
struct Font;

struct FontRequest {
    std::string_view face;
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // The size: pixels per em, or, when that is 0, the cell (ascent plus descent) in pixels.
    int emPixels = 0;
    int cellHeight = 0;
};

struct OpenedFont {
    const Font* font = nullptr;
    std::string file; // the font file the face came from
    int emPixels = 0;
    // The face has no bold weight of its own: the renderer emboldens it.
    bool syntheticBold = false;
    // The height of a line of it, as GetTextExtentPoint32A reports it.
    int lineHeight = 0;
};

// Finds and opens the face for `request`; false when no face is found or it cannot be opened.
bool OpenFont(const FontRequest& request, OpenedFont* opened);

// Rendered text: one coverage byte per pixel (0 none, 255 full), rows top first. `left` is
// where the mask starts relative to the pen's start (negative when the first glyph reaches
// back past it); row 0 is the top of the text cell.
struct TextMask {
    int left = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;
};

// Renders UTF-8 text, anti-aliased or with hard edges; null for empty text or on failure. The
// mask stays valid until the next call.
const TextMask* RenderText(const Font* font, bool antialiased, const std::string& utf8);
// The pen's advance over UTF-8 text in pixels; false on failure.
bool MeasureText(const Font* font, const std::string& utf8, int* width);

// For tests: faces are found as if the family were not installed, until all are shown again.
void HideFontFamily(std::string_view family);
void ShowAllFontFamilies();

} // namespace platform
