// The text contract in the browser: the faces shipped with the page, laid out from their own
// font files as the desktop lays them out, drawn by the canvas.
#include "platform/Text.h"

#include "web/WebTextFontFile.h"
#include "web/WebTextCanvas.h"
#include "web/WebTextFaces.h"
#include "web/WebTextLayout.h"

#include "shared/KeptTexts.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>

namespace platform {

// An opened face at one size and style.
struct Font {
    const compat::FontFile* file = nullptr;
    std::string family; // the canvas's name for it
    int emPixels = 0;
    bool kerned = false;
    bool bold = false; // emboldened here, having no bold of its own
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    compat::LineMetrics line;
};

} // namespace platform

namespace {

using platform::Font;
using platform::TextMask;

constexpr int kSemiBold = 600;
// The slant of an italic made from an upright face, as the desktop's renderer slants it.
constexpr double kItalicShear = 0.207;
// The folders the page's fonts are looked for in: the game folder's, then the file system's.
constexpr const char* kFontFolders[] = {"fonts/", "/fonts/"};

struct LoadedFile {
    std::string path;
    std::string family;
    compat::FontFile file;
};

// Font files read and given to the browser, by file name; kept for the whole run.
std::map<std::string, std::unique_ptr<LoadedFile>>& LoadedFiles() {
    static auto* files = new std::map<std::string, std::unique_ptr<LoadedFile>>;
    return *files;
}

const LoadedFile* Load(const compat::ShippedFace& face) {
    auto found = LoadedFiles().find(face.file);
    if (found != LoadedFiles().end())
        return found->second.get();
    auto loaded = std::make_unique<LoadedFile>();
    for (const char* folder : kFontFolders) {
        struct stat info {};
        const std::string path = std::string(folder) + face.file;
        if (stat(path.c_str(), &info) == 0) {
            loaded->path = path;
            break;
        }
    }
    loaded->family = std::string("Quibbo ") + face.file;
    if (loaded->path.empty() || !loaded->file.Init(loaded->path) ||
        !compat::LoadCanvasFace(loaded->path, loaded->family))
        return nullptr;
    return LoadedFiles().emplace(face.file, std::move(loaded)).first->second.get();
}

using FontKey = std::tuple<std::string, int, int>;

// Never destroyed, as the fonts stay open until the page closes.
std::map<FontKey, std::unique_ptr<Font>>& OpenFonts() {
    static auto* fonts = new std::map<FontKey, std::unique_ptr<Font>>;
    return *fonts;
}

compat::KeptTexts& KeptMasks() {
    static compat::KeptTexts masks;
    return masks;
}

std::string TextKey(const Font* font, bool antialiased, const std::string& utf8) {
    std::string key(reinterpret_cast<const char*>(&font), sizeof font);
    key += antialiased ? 'a' : 's';
    key += utf8;
    return key;
}

std::string CssFont(const Font& font) {
    char css[160];
    std::snprintf(css, sizeof css, "%dpx \"%s\"", font.emPixels, font.family.c_str());
    return css;
}

// A face without a bold of its own is emboldened as the desktop's renderer does it: each row
// smeared right by a tenth of the em, the coverage of a pixel and its left neighbour added.
void Embolden(int emPixels, int width, std::vector<uint8_t>* coverage) {
    const int overhang = emPixels / 10;
    const size_t rows = coverage->size() / static_cast<size_t>(width);
    for (size_t y = 0; y < rows; ++y) {
        uint8_t* row = coverage->data() + y * width;
        for (int pass = 0; pass < overhang; ++pass)
            for (int x = width - 1; x > 0; --x)
                row[x] = static_cast<uint8_t>(std::min(255, row[x] + row[x - 1]));
    }
}

// Draws the text with room for glyphs that reach past the pen on either side, and keeps, as
// SDL2_ttf does, the span from the pen's start or the first ink, whichever is further left, to
// the pen's end or the last ink, whichever is further right; the cell's rows only.
bool Render(const Font& font, bool antialiased, const std::string& utf8, TextMask* mask) {
    compat::TextLayout layout;
    compat::LayOut(*font.file, font.emPixels, font.kerned, utf8, &layout);
    compat::CanvasLine line;
    line.font = CssFont(font);
    line.shear = font.italic ? kItalicShear : 0;
    line.originX = font.emPixels + 2;
    line.width = layout.advance + 2 * line.originX;
    line.height = font.line.height;
    line.baseline = font.line.ascent;
    line.codePoints = &layout.codePoints;
    line.penX = &layout.penX;
    line.lineEnd = line.originX + layout.advance;
    if (font.underline) {
        line.underlineTop = font.line.underlineTop;
        line.underlineRows = font.line.underlineRows;
    }
    if (font.strikeOut) {
        line.strikeRows = font.line.underlineRows;
        line.strikeTop = font.line.ascent / 2 - line.strikeRows / 2;
    }
    std::vector<uint8_t> coverage;
    compat::DrawCanvasLine(line, &coverage);
    // Hard edges: a pixel is the glyph's where the outline covers half of it or more.
    if (!antialiased)
        for (uint8_t& c : coverage)
            c = c >= 128 ? 255 : 0;
    if (font.bold)
        Embolden(font.emPixels, line.width, &coverage);
    int first = line.originX, last = line.originX + layout.advance - 1;
    for (int y = 0; y < line.height; ++y)
        for (int x = 0; x < line.width; ++x)
            if (coverage[static_cast<size_t>(y) * line.width + x]) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    mask->left = first - line.originX;
    mask->width = last - first + 1;
    mask->height = line.height;
    mask->coverage.assign(static_cast<size_t>(mask->width) * mask->height, 0);
    for (int y = 0; y < mask->height; ++y)
        std::copy_n(coverage.begin() + static_cast<ptrdiff_t>(y) * line.width + first, mask->width,
                    mask->coverage.begin() + static_cast<ptrdiff_t>(y) * mask->width);
    return mask->width > 0;
}

} // namespace

namespace platform {

bool OpenFont(const FontRequest& request, OpenedFont* opened) {
    const compat::ShippedFace* face = compat::MatchShippedFace(request.face, request.weight);
    if (!face)
        return false;
    const LoadedFile* loaded = Load(*face);
    if (!loaded)
        return false;
    // Faces without the weight asked for are emboldened; every shipped face is upright, so
    // italics are slanted.
    const bool bold = request.weight >= kSemiBold && !face->bold;
    const int em = request.emPixels > 0 ? request.emPixels
                                        : compat::EmForCellHeight(loaded->file, request.cellHeight);
    if (em < 1)
        return false;
    const int style = (bold ? 1 : 0) | (request.italic ? 2 : 0) | (request.underline ? 4 : 0) |
                      (request.strikeOut ? 8 : 0);
    const FontKey key{face->file, em, style};
    auto found = OpenFonts().find(key);
    if (found == OpenFonts().end()) {
        auto font = std::make_unique<Font>();
        font->file = &loaded->file;
        font->family = loaded->family;
        font->emPixels = em;
        font->kerned = face->kerned;
        font->bold = bold;
        font->italic = request.italic;
        font->underline = request.underline;
        font->strikeOut = request.strikeOut;
        font->line = compat::MeasureLine(loaded->file, em);
        found = OpenFonts().emplace(key, std::move(font)).first;
    }
    opened->font = found->second.get();
    opened->file = loaded->path;
    opened->emPixels = em;
    opened->syntheticBold = bold;
    opened->lineHeight = found->second->line.height;
    return true;
}

const TextMask* RenderText(const Font* font, bool antialiased, const std::string& utf8) {
    if (!font || utf8.empty())
        return nullptr;
    const std::string key = TextKey(font, antialiased, utf8);
    if (const TextMask* kept = KeptMasks().Find(key))
        return kept;
    TextMask mask;
    if (!Render(*font, antialiased, utf8, &mask))
        return nullptr;
    return KeptMasks().Keep(key, std::move(mask));
}

// As on the desktop, the width is the span the text's mask covers: the pen's advance, and the
// ink that reaches past it.
bool MeasureText(const Font* font, const std::string& utf8, int* width) {
    if (!font)
        return false;
    if (utf8.empty()) {
        *width = 0;
        return true;
    }
    const TextMask* mask = RenderText(font, true, utf8);
    if (!mask)
        return false;
    *width = mask->width;
    return true;
}

void HideFontFamily(std::string_view family) {
    compat::HideShippedFamily(family);
}

void ShowAllFontFamilies() {
    compat::ShowAllShippedFamilies();
}

} // namespace platform
