// Reading the few tables of a font file that text layout needs.
#include "web/WebTextFontFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace compat {

bool FontFile::Init(const std::string& path) {
    Release();
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        return false;
    uint8_t chunk[16384];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    if (bytes.size() < 12 || !ReadHead() || !ReadMetrics() || !ReadCmap()) {
        Release();
        return false;
    }
    ReadKern();
    ReadPost();
    return true;
}

void FontFile::Release() {
    bytes.clear();
    kernPairs.clear();
    kernValues.clear();
    unitsPerEm = ascender = descender = underlinePosition = underlineThickness = 0;
    hmtxOffset = longMetrics = cmapOffset = 0;
}

// Reads past the end give zero, so a broken table reads as an empty one.
uint16_t FontFile::U16(size_t at) const {
    if (at + 2 > bytes.size())
        return 0;
    return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

uint32_t FontFile::U32(size_t at) const {
    return static_cast<uint32_t>(U16(at)) << 16 | U16(at + 2);
}

bool FontFile::FindTable(const char* tag, uint32_t* offset, uint32_t* length) const {
    const uint16_t tables = U16(4);
    for (uint32_t i = 0; i < tables; ++i) {
        const size_t record = 12 + 16 * static_cast<size_t>(i);
        if (record + 16 > bytes.size())
            return false;
        if (std::memcmp(&bytes[record], tag, 4) != 0)
            continue;
        *offset = U32(record + 8);
        *length = U32(record + 12);
        return *offset <= bytes.size() && *length <= bytes.size() - *offset;
    }
    return false;
}

bool FontFile::ReadHead() {
    uint32_t at = 0, length = 0;
    if (!FindTable("head", &at, &length) || length < 54)
        return false;
    unitsPerEm = U16(at + 18);
    return unitsPerEm > 0;
}

bool FontFile::ReadMetrics() {
    uint32_t at = 0, length = 0;
    if (!FindTable("hhea", &at, &length) || length < 36)
        return false;
    ascender = S16(at + 4);
    descender = S16(at + 6);
    longMetrics = U16(at + 34);
    uint32_t hmtxLength = 0;
    if (!FindTable("hmtx", &hmtxOffset, &hmtxLength) || longMetrics == 0 ||
        hmtxLength / 4 < longMetrics)
        return false;
    // FreeType takes the typographic metrics of OS/2 where hhea leaves them out.
    uint32_t os2 = 0, os2Length = 0;
    if (ascender == 0 && descender == 0 && FindTable("OS/2", &os2, &os2Length) && os2Length >= 72) {
        ascender = S16(os2 + 68);
        descender = S16(os2 + 70);
    }
    return true;
}

bool FontFile::ReadCmap() {
    uint32_t at = 0, length = 0;
    if (!FindTable("cmap", &at, &length))
        return false;
    const uint16_t subtables = U16(at + 2);
    for (uint32_t i = 0; i < subtables; ++i) {
        const size_t record = at + 4 + 8 * static_cast<size_t>(i);
        const uint16_t platform = U16(record), encoding = U16(record + 2);
        const uint32_t subtable = at + U32(record + 4);
        const bool unicode = platform == 0 || (platform == 3 && encoding == 1);
        if (unicode && U16(subtable) == 4) {
            cmapOffset = subtable;
            return true;
        }
    }
    return false;
}

uint32_t FontFile::Glyph(uint32_t codePoint) const {
    if (codePoint > 0xFFFF || cmapOffset == 0)
        return 0;
    const size_t segments = U16(cmapOffset + 6) / 2;
    const size_t ends = cmapOffset + 14;
    const size_t starts = ends + 2 * segments + 2;
    const size_t deltas = starts + 2 * segments;
    const size_t ranges = deltas + 2 * segments;
    for (size_t s = 0; s < segments; ++s) {
        if (codePoint > U16(ends + 2 * s))
            continue;
        const uint16_t start = U16(starts + 2 * s);
        if (codePoint < start)
            return 0;
        const uint16_t delta = U16(deltas + 2 * s);
        const uint16_t range = U16(ranges + 2 * s);
        if (range == 0)
            return (codePoint + delta) & 0xFFFF;
        const uint16_t glyph = U16(ranges + 2 * s + range + 2 * (codePoint - start));
        return glyph ? (glyph + delta) & 0xFFFF : 0;
    }
    return 0;
}

int FontFile::Advance(uint32_t glyph) const {
    // Glyphs past the long metrics share the last advance.
    const uint32_t entry = std::min(glyph, longMetrics - 1);
    return U16(hmtxOffset + 4 * static_cast<size_t>(entry));
}

void FontFile::ReadKern() {
    uint32_t at = 0, length = 0;
    if (!FindTable("kern", &at, &length) || U16(at) != 0)
        return;
    std::vector<std::pair<uint32_t, int16_t>> pairs;
    size_t subtable = at + 4;
    for (uint32_t i = 0, count = U16(at + 2); i < count && subtable < at + length; ++i) {
        const uint16_t subLength = U16(subtable + 2);
        const uint16_t coverage = U16(subtable + 4);
        // Format 0, horizontal, kerning values (not minimums), not cross-stream.
        if ((coverage >> 8) == 0 && (coverage & 0x7) == 0x1) {
            const uint16_t count = U16(subtable + 6);
            for (size_t p = 0; p < count; ++p) {
                const size_t pair = subtable + 14 + 6 * p;
                pairs.emplace_back(U32(pair), S16(pair + 4));
            }
        }
        if (subLength == 0)
            break;
        subtable += subLength;
    }
    std::sort(pairs.begin(), pairs.end());
    for (const auto& [key, value] : pairs) {
        kernPairs.push_back(key);
        kernValues.push_back(value);
    }
}

int FontFile::Kerning(uint32_t left, uint32_t right) const {
    const uint32_t key = left << 16 | (right & 0xFFFF);
    const auto found = std::lower_bound(kernPairs.begin(), kernPairs.end(), key);
    if (found == kernPairs.end() || *found != key)
        return 0;
    return kernValues[static_cast<size_t>(found - kernPairs.begin())];
}

void FontFile::ReadPost() {
    uint32_t at = 0, length = 0;
    if (!FindTable("post", &at, &length) || length < 12)
        return;
    underlinePosition = S16(at + 8);
    underlineThickness = S16(at + 10);
}

} // namespace compat
