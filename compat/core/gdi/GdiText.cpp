// GDI fonts and text: CreateFontA, TextOutA and GetTextExtentPoint32A on the backend's text
// rasteriser.
#include "gdi/DeviceContext.h"
#include "seams/Failures.h"
#include "gdi/GdiObjects.h"
#include "record/Recorder.h"
#include "gdi/TextBlend.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>

using namespace compat;

namespace {

// The kind of a step in a surface's draw log.
constexpr uint64_t kTextStep = 3;

// Cell height of a font made with height 0, and the largest em we render.
constexpr int kDefaultCellHeight = 16;
constexpr int kMaxEmPixels = 2048;

// Finds and opens the face for a font's request.
bool Resolve(GdiFont* font) {
    if (font->face.font)
        return true;
    platform::FontRequest request;
    request.face = font->faceName;
    request.weight = font->weight;
    request.italic = font->italic;
    request.underline = font->underline;
    request.strikeOut = font->strikeOut;
    // Negative heights give the em, positive ones the whole cell, as in GDI.
    if (font->height < 0)
        request.emPixels =
            static_cast<int>(std::min<int64_t>(-int64_t{font->height}, kMaxEmPixels));
    else
        request.cellHeight =
            font->height ? std::min(font->height, kMaxEmPixels) : kDefaultCellHeight;
    return platform::OpenFont(request, &font->face);
}

// Windows-1252 bytes to UTF-8, up to the first zero byte. 0x80-0x9F hold typographic marks;
// the five unassigned ones stand for themselves, as Windows converts them.
std::string Utf8FromAnsi(const char* text, int length) {
    static const uint16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string utf8;
    utf8.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length && text[i]; ++i) {
        uint32_t c = static_cast<uint8_t>(text[i]);
        if (c >= 0x80 && c < 0xA0)
            c = kHigh[c - 0x80];
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | c >> 6);
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | c >> 12);
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// The box behind the text, as an opaque background draws it; only inside `within` where given.
void FillBox(PixelSurface& pixels, int x, int y, int width, int height, COLORREF color,
             const BlitRect* within = nullptr) {
    const uint32_t raw = RawFromColor(color, pixels.bitsPerPixel);
    BlitRect box =
        Intersect(BlitRect{x, y, int64_t{x} + width, int64_t{y} + height}, Bounds(pixels));
    if (within)
        box = Intersect(box, *within);
    const int64_t left = box.left, top = box.top, right = box.right, bottom = box.bottom;
    for (int64_t py = top; py < bottom; ++py)
        for (int64_t px = left; px < right; ++px)
            pixels.Set(static_cast<int>(px), static_cast<int>(py), raw);
}

} // namespace

HFONT WINAPI CreateFontA(int cHeight, int, int, int, int cWeight, DWORD bItalic, DWORD bUnderline,
                         DWORD bStrikeOut, DWORD, DWORD, DWORD, DWORD iQuality, DWORD,
                         LPCSTR pszFaceName) {
    if (TakeForcedFailure("CreateFontA"))
        return nullptr;
    auto font = std::make_unique<GdiFont>();
    // GDI reads at most LF_FACESIZE - 1 characters of the face name.
    if (pszFaceName)
        font->faceName.assign(pszFaceName, strnlen(pszFaceName, LF_FACESIZE - 1));
    font->height = cHeight;
    font->weight = cWeight;
    font->italic = bItalic != 0;
    font->underline = bUnderline != 0;
    font->strikeOut = bStrikeOut != 0;
    font->antialiased = iQuality != NONANTIALIASED_QUALITY;
    if (!Resolve(font.get()))
        return nullptr;
    return static_cast<HFONT>(AddGdiObject(std::move(font)));
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
    if (TakeForcedFailure("TextOutA"))
        return FALSE;
    DeviceContext* dc = FindDeviceContext(hdc);
    if (!dc || c < 0 || (c > 0 && !lpString))
        return FALSE;
    PendingDrawing* noted = dc->NotedDrawing();
    PixelSurface* pixels = noted ? dc->target : dc->Pixels();
    GdiFont* font = dc->font ? dc->font : StockFont();
    if (!pixels || !Resolve(font))
        return FALSE;
    const std::string text = Utf8FromAnsi(lpString, c);
    TextDrawn(text);
    if (text.empty())
        return TRUE;
    const platform::TextMask* mask = platform::RenderText(font->face.font, font->antialiased, text);
    if (!mask)
        return FALSE;
    if (dc->leavesOutText)
        return TRUE;
    const int left =
        static_cast<int>(std::clamp<int64_t>(int64_t{x} + mask->left, INT_MIN, INT_MAX));
    // What the mask shows: the text in this font, drawn this way.
    std::string shown(reinterpret_cast<const char*>(&font->face.font), sizeof font->face.font);
    shown += font->antialiased ? 'a' : 's';
    shown += text;
    const bool opaque = dc->backgroundMode == OPAQUE;
    const COLORREF background = dc->backgroundColor, color = dc->textColor;
    if (noted) {
        // The mask goes with the step: the renderer keeps its own only until its next text.
        noted->AddOther([mask = *mask, left, y, opaque, background, color,
                         shown](PixelSurface& target, const BlitRect* within) {
            if (opaque)
                FillBox(target, left, y, mask.width, mask.height, background, within);
            if (within)
                BlendTextWithin(target, mask, left, y, color, *within);
            else
                BlendText(target, mask, left, y, color, shown);
        });
    } else {
        if (opaque)
            FillBox(*pixels, left, y, mask->width, mask->height, background);
        BlendText(*pixels, *mask, left, y, color, shown);
    }
    if (dc->log) {
        // The same mask at the same place in the same colours draws the same pixels.
        uint64_t step = MixStep(kTextStep, reinterpret_cast<uintptr_t>(font->face.font));
        for (const uint64_t value :
             {uint64_t{font->antialiased}, static_cast<uint64_t>(font->height),
              static_cast<uint64_t>(font->weight),
              uint64_t{font->italic} | uint64_t{font->underline} << 1 |
                  uint64_t{font->strikeOut} << 2,
              static_cast<uint64_t>(left), static_cast<uint64_t>(y), uint64_t{dc->textColor},
              static_cast<uint64_t>(dc->backgroundMode),
              dc->backgroundMode == OPAQUE ? uint64_t{dc->backgroundColor} : 0,
              static_cast<uint64_t>(mask->width), static_cast<uint64_t>(mask->height)})
            step = MixStep(step, value);
        for (const char c : text)
            step = MixStep(step, static_cast<uint8_t>(c));
        dc->log->Add(step,
                     BlitRect{left, y, int64_t{left} + mask->width, int64_t{y} + mask->height});
    }
    return TRUE;
}

// The pen's advance over the text and the font's cell height, as TextOutA would draw it.
BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
    DeviceContext* dc = FindDeviceContext(hdc);
    if (!dc || !psizl || c < 0 || (c > 0 && !lpString))
        return FALSE;
    GdiFont* font = dc->font ? dc->font : StockFont();
    if (!Resolve(font))
        return FALSE;
    int width = 0;
    const std::string text = Utf8FromAnsi(lpString, c);
    if (!text.empty() && !platform::MeasureText(font->face.font, text, &width))
        return FALSE;
    psizl->cx = width;
    psizl->cy = font->face.lineHeight;
    return TRUE;
}
