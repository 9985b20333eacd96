// Text rendering with SDL_ttf. Fonts need no display, so this works headless too.
#include "sdl/FontRender.h"

#include "shared/KeptTexts.h"

#include <SDL_ttf.h>

#include <cstring>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>

namespace compat {

namespace {

bool StartTtf() {
    static const bool started = TTF_WasInit() > 0 || TTF_Init() == 0;
    return started;
}

using FontKey = std::tuple<std::string, long, int, int>;

// Never destroyed: the fonts stay open until the process ends, and stay reachable for the leak
// checker until then.
std::map<FontKey, TTF_Font*>& OpenFonts() {
    static auto* fonts = new std::map<FontKey, TTF_Font*>;
    return *fonts;
}

KeptTexts& KeptMasks() {
    static KeptTexts masks;
    return masks;
}

// Widths measured lately, cleared whole past as many texts as the masks.
std::unordered_map<std::string, int>& KeptWidths() {
    static std::unordered_map<std::string, int> widths;
    return widths;
}

std::string TextKey(TTF_Font* font, bool antialiased, const std::string& utf8) {
    std::string key(reinterpret_cast<const char*>(&font), sizeof font);
    key += antialiased ? 'a' : 's';
    key += utf8;
    return key;
}

// The first code point of UTF-8 text (only the forms our own conversion writes).
uint32_t FirstCodePoint(const std::string& utf8) {
    const auto byte = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<uint8_t>(utf8[i]));
    };
    const uint32_t lead = byte(0);
    if (lead < 0x80 || utf8.size() < 2)
        return lead;
    if (lead < 0xE0)
        return (lead & 0x1F) << 6 | (byte(1) & 0x3F);
    if (utf8.size() < 3)
        return lead;
    return (lead & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
}

bool MaskFromSurface(SDL_Surface* surface, bool antialiased, TextMask* mask) {
    mask->width = surface->w;
    mask->height = surface->h;
    mask->coverage.assign(static_cast<size_t>(surface->w) * surface->h, 0);
    if (SDL_LockSurface(surface) != 0)
        return false;
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
        uint8_t* out = mask->coverage.data() + static_cast<size_t>(y) * surface->w;
        for (int x = 0; x < surface->w; ++x) {
            if (antialiased) {
                // ARGB8888: the alpha byte is the glyph's coverage.
                uint32_t pixel;
                std::memcpy(&pixel, row + 4 * x, sizeof pixel);
                out[x] = static_cast<uint8_t>(pixel >> 24);
            } else {
                // Index 0 is the background, anything else the glyph.
                out[x] = row[x] ? 255 : 0;
            }
        }
    }
    SDL_UnlockSurface(surface);
    return true;
}

} // namespace

TTF_Font* OpenFont(const std::string& file, long faceIndex, int emPixels, int style) {
    if (!StartTtf() || emPixels < 1)
        return nullptr;
    const FontKey key{file, faceIndex, emPixels, style};
    auto found = OpenFonts().find(key);
    if (found != OpenFonts().end())
        return found->second;
    // At 72 dots per inch a point is a pixel, so the size asked is the em in pixels.
    TTF_Font* font = TTF_OpenFontIndex(file.c_str(), emPixels, faceIndex);
    if (!font)
        return nullptr;
    TTF_SetFontStyle(font, style);
    OpenFonts().emplace(key, font);
    return font;
}

int EmForCellHeight(const std::string& file, long faceIndex, int cellHeight, int style) {
    constexpr int kProbeEm = 256;
    TTF_Font* probe = OpenFont(file, faceIndex, kProbeEm, style);
    if (!probe)
        return 0;
    const int probeCell = TTF_FontAscent(probe) - TTF_FontDescent(probe);
    if (probeCell <= 0)
        return cellHeight;
    const int em = (cellHeight * kProbeEm + probeCell / 2) / probeCell;
    return em < 1 ? 1 : em;
}

const TextMask* RenderText(TTF_Font* font, bool antialiased, const std::string& utf8) {
    if (!font || utf8.empty())
        return nullptr;
    const std::string key = TextKey(font, antialiased, utf8);
    if (const TextMask* kept = KeptMasks().Find(key))
        return kept;

    const SDL_Color white{255, 255, 255, 255};
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
        antialiased ? TTF_RenderUTF8_Blended(font, utf8.c_str(), white)
                    : TTF_RenderUTF8_Solid(font, utf8.c_str(), white),
        SDL_FreeSurface);
    if (!surface)
        return nullptr;
    TextMask mask;
    if (!MaskFromSurface(surface.get(), antialiased, &mask))
        return nullptr;
    // SDL_ttf shifts the text right by a first glyph's overhang; GDI draws that overhang to the
    // left of the starting point instead.
    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    if (TTF_GlyphMetrics32(font, FirstCodePoint(utf8), &minX, &maxX, &minY, &maxY, &advance) == 0 &&
        minX < 0)
        mask.left = minX;
    return KeptMasks().Keep(key, std::move(mask));
}

bool MeasureText(TTF_Font* font, const std::string& utf8, int* width) {
    if (!font)
        return false;
    const std::string key = TextKey(font, false, utf8);
    auto found = KeptWidths().find(key);
    if (found != KeptWidths().end()) {
        *width = found->second;
        return true;
    }
    if (TTF_SizeUTF8(font, utf8.c_str(), width, nullptr) != 0)
        return false;
    if (KeptWidths().size() >= KeptTexts::kMaxTexts)
        KeptWidths().clear();
    KeptWidths().emplace(key, *width);
    return true;
}

} // namespace compat
