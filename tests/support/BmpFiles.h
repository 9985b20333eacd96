// BMP files written byte by byte for the bitmap tests, with every header field settable so
// that tests can also write files that lie.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bmpfiles {

void Put16(std::vector<uint8_t>& bytes, uint32_t value);
void Put32(std::vector<uint8_t>& bytes, uint32_t value);

struct BmpFile {
    uint32_t headerSize = 40; // 12 core, 40 info, 108 V4, 124 V5
    int32_t width = 0;
    int32_t height = 0; // negative: top-down
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
    // Colour table entries as COLORREF values (red in the low byte).
    std::vector<uint32_t> palette;
    // Red, green, blue masks: inside a V4/V5 header, or after an info header with bit fields.
    std::vector<uint32_t> masks;
    // The pixel data as stored in the file.
    std::vector<uint8_t> pixels;
    // The pixel data's offset when it should not be the true one.
    std::optional<uint32_t> offBits;

    // Where the headers, masks and colour table end.
    uint32_t DataOffset() const;
    std::vector<uint8_t> Bytes() const;
};

// Packs rows of values (colour indices, or pixels of 16, 24 or 32 bits) into stored rows of
// `bitCount` bits per pixel padded to 32 bits; rows are given top first and stored bottom-up
// unless `topDown`.
std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>>& rows, int bitCount,
                              bool topDown = false);

// A file on disk for LoadImageA.
std::string WriteBmp(const std::string& path, const std::vector<uint8_t>& bytes);

// A 24-bit picture file whose pixel (x, y) has the colour colourAt(x, y) (red in the low byte).
template <typename ColourAt>
std::string WritePicture(const std::string& path, int width, int height, ColourAt colourAt) {
    std::vector<std::vector<uint32_t>> rows(height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colourAt(x, y);
            // Stored blue first: the packed value is 0xRRGGBB.
            rows[y].push_back(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
        }
    BmpFile file;
    file.width = width;
    file.height = height;
    file.pixels = PackRows(rows, 24);
    return WriteBmp(path, file.Bytes());
}

} // namespace bmpfiles
