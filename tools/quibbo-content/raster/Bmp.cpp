#include "raster/Bmp.h"

#include "io/LittleEndian.h"

namespace raster {
namespace {

using io::Put16;
using io::Put32;

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835; // 72 dots per inch

} // namespace

void PutInfoHeader(std::vector<uint8_t>& out, uint32_t width, uint32_t rows, uint32_t dataSize,
                   uint32_t pixelsPerMetre) {
    Put32(out, kInfoHeaderSize);
    Put32(out, width);
    Put32(out, rows); // positive: bottom-up
    Put16(out, 1);    // planes
    Put16(out, 24);   // bits per pixel
    Put32(out, 0);    // BI_RGB
    Put32(out, dataSize);
    Put32(out, pixelsPerMetre);
    Put32(out, pixelsPerMetre);
    Put32(out, 0); // colours used
    Put32(out, 0); // colours important
}

void PutBgrRows(std::vector<uint8_t>& out, const Image& image, std::optional<Pixel> blacked) {
    const size_t padding = (4 - image.Width() * 3 % 4) % 4;
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Pixel p = blacked && image.At(x, y) == *blacked ? Pixel{} : image.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        out.resize(out.size() + padding, 0);
    }
}

std::vector<uint8_t> EncodeBmp(const Image& image) {
    const uint32_t width = static_cast<uint32_t>(image.Width());
    const uint32_t height = static_cast<uint32_t>(image.Height());
    const uint32_t stride = (width * 3 + 3) & ~3u;
    const uint32_t dataSize = stride * height;
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<uint8_t> out;
    out.reserve(offset + dataSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + dataSize);
    Put32(out, 0); // two reserved words
    Put32(out, offset);
    PutInfoHeader(out, width, height, dataSize, kPixelsPerMetre);
    PutBgrRows(out, image);
    return out;
}

} // namespace raster
