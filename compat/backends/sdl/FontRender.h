// The SDL backend: fonts opened with SDL_ttf and text rendered to coverage masks.
#pragma once

#include "platform/Text.h"

#include <string>

typedef struct _TTF_Font TTF_Font;

namespace compat {

// An opened face at one size and style. Opened fonts are kept for the whole run, one per file,
// face, size and style, so a font made again (after every display-mode change, say) costs
// nothing. Null when the file cannot be opened.
TTF_Font* OpenFont(const std::string& file, long faceIndex, int emPixels, int style);

// The size in pixels per em that gives the face a cell (ascent plus descent) of about
// `cellHeight` pixels; 0 when the file cannot be opened.
int EmForCellHeight(const std::string& file, long faceIndex, int cellHeight, int style);

using platform::TextMask;

// Renders UTF-8 text, anti-aliased or with hard edges. Recent results are kept, so text that
// stays the same from frame to frame is rendered once. Null for empty text or on failure.
const TextMask* RenderText(TTF_Font* font, bool antialiased, const std::string& utf8);

// The pen's advance over UTF-8 text in pixels, as TTF_SizeUTF8 gives it; false on failure.
// Kept like rendered text: a game measures the same few texts every frame, and shaping them
// again each time costs more than drawing them.
bool MeasureText(TTF_Font* font, const std::string& utf8, int* width);

} // namespace compat
