// Inside the web backend: the tables of a TrueType or OpenType font file that lay out a line of
// text as the desktop's FreeType does, read by us because the browser's canvas tells no font's
// hinted advances nor its line metrics.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace compat {

class FontFile {
public:
    // False when the file cannot be read or lacks a table we need.
    bool Init(const std::string& path);
    void Release();

    int UnitsPerEm() const { return unitsPerEm; }
    int Ascender() const { return ascender; }
    int Descender() const { return descender; }
    // The glyph for a Unicode code point (0, the missing glyph, for none).
    uint32_t Glyph(uint32_t codePoint) const;
    // A glyph's advance in font units.
    int Advance(uint32_t glyph) const;
    // The horizontal kerning between two glyphs in font units, from the kern table.
    int Kerning(uint32_t left, uint32_t right) const;
    int UnderlinePosition() const { return underlinePosition; }
    int UnderlineThickness() const { return underlineThickness; }

private:
    bool ReadHead();
    bool ReadMetrics();
    bool ReadCmap();
    void ReadKern();
    void ReadPost();
    // The table's offset and length in the file; false when it has none.
    bool FindTable(const char* tag, uint32_t* offset, uint32_t* length) const;
    uint16_t U16(size_t at) const;
    int16_t S16(size_t at) const { return static_cast<int16_t>(U16(at)); }
    uint32_t U32(size_t at) const;

    std::vector<uint8_t> bytes;
    int unitsPerEm = 0;
    int ascender = 0;
    int descender = 0;
    int underlinePosition = 0;
    int underlineThickness = 0;
    uint32_t hmtxOffset = 0;
    uint32_t longMetrics = 0;
    // The cmap subtable of Unicode BMP code points (format 4).
    uint32_t cmapOffset = 0;
    // The kern table's horizontal pairs (format 0), sorted as left << 16 | right.
    std::vector<uint32_t> kernPairs;
    std::vector<int16_t> kernValues;
};

} // namespace compat
