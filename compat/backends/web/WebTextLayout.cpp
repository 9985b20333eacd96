// FreeType's fixed-point arithmetic at a size in whole pixels per em, as FT_Set_Char_Size sets
// it at 72 dots per inch: 26.6 pixels scaled by 16.16 factors.
#include "web/WebTextLayout.h"

#include <cstdlib>

namespace compat {

namespace {

int64_t DivFix(int64_t a, int64_t b) {
    return (a * 65536 + b / 2) / b;
}

int64_t MulFix(int64_t a, int64_t b) {
    const int64_t product = std::llabs(a) * std::llabs(b);
    const int64_t rounded = (product + 0x8000) >> 16;
    return (a < 0) != (b < 0) ? -rounded : rounded;
}

int64_t Scale(int emPixels, const FontFile& file) {
    return DivFix(int64_t{emPixels} * 64, file.UnitsPerEm());
}

// Whole pixels from 26.6, rounded up or down.
int Ceil(int64_t value) {
    return static_cast<int>(((value + 63) & -64) / 64);
}

int Floor(int64_t value) {
    return static_cast<int>((value & -64) / 64);
}

int64_t PixRound(int64_t value) {
    return (value + 32) & -64;
}

// The next code point of UTF-8 text; a broken sequence reads as U+FFFD.
uint32_t NextCodePoint(const std::string& utf8, size_t* at) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(utf8[i]); };
    const uint8_t lead = byte(*at);
    ++*at;
    int more = 0;
    uint32_t code = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
        more = 3;
        code = lead & 0x07;
    } else if (lead >= 0xE0) {
        more = 2;
        code = lead & 0x0F;
    } else if (lead >= 0xC0) {
        more = 1;
        code = lead & 0x1F;
    } else if (lead >= 0x80) {
        return 0xFFFD;
    }
    for (; more > 0; --more) {
        if (*at >= utf8.size() || (byte(*at) & 0xC0) != 0x80)
            return 0xFFFD;
        code = code << 6 | (byte(*at) & 0x3F);
        ++*at;
    }
    return code;
}

} // namespace

LineMetrics MeasureLine(const FontFile& file, int emPixels) {
    const int64_t scale = Scale(emPixels, file);
    LineMetrics line;
    line.ascent = Ceil(MulFix(file.Ascender(), scale));
    line.descent = Ceil(MulFix(file.Descender(), scale));
    line.height = Ceil(MulFix(file.Ascender() - file.Descender(), scale));
    const int rows = Floor(MulFix(file.UnderlineThickness(), scale) + 32);
    line.underlineRows = rows > 0 ? rows : 1;
    line.underlineTop =
        line.ascent - Floor(MulFix(file.UnderlinePosition(), scale) + 32) - line.underlineRows / 2;
    return line;
}

int EmForCellHeight(const FontFile& file, int cellHeight) {
    constexpr int kProbeEm = 256;
    const LineMetrics probe = MeasureLine(file, kProbeEm);
    const int probeCell = probe.ascent - probe.descent;
    if (probeCell <= 0)
        return cellHeight;
    const int em = (cellHeight * kProbeEm + probeCell / 2) / probeCell;
    return em < 1 ? 1 : em;
}

void LayOut(const FontFile& file, int emPixels, bool kerned, const std::string& utf8,
            TextLayout* layout) {
    layout->codePoints.clear();
    layout->penX.clear();
    const int64_t scale = Scale(emPixels, file);
    // The pen in 26.6: hinted advances are whole pixels, kerning is not rounded.
    int64_t pen = 0;
    uint32_t previous = 0;
    for (size_t at = 0; at < utf8.size();) {
        const uint32_t code = NextCodePoint(utf8, &at);
        const uint32_t glyph = file.Glyph(code);
        if (kerned && previous && glyph)
            pen += MulFix(file.Kerning(previous, glyph), scale);
        layout->codePoints.push_back(code);
        layout->penX.push_back(Floor(pen));
        pen += PixRound(MulFix(file.Advance(glyph), scale));
        previous = glyph;
    }
    layout->advance = Floor(pen);
}

} // namespace compat
