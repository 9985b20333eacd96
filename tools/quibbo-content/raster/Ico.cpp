#include "raster/Ico.h"

#include "io/LittleEndian.h"
#include "raster/Bmp.h"

namespace raster {
namespace {

using io::Put16;
using io::Put32;

constexpr uint32_t kDirectorySize = 6;
constexpr uint32_t kEntrySize = 16;
constexpr uint32_t kInfoHeaderSize = 40;

// A directory entry stores sizes in one byte each, 0 standing for 256.
uint8_t EntrySize(int pixels) {
    return static_cast<uint8_t>(pixels == 256 ? 0 : pixels);
}

} // namespace

std::vector<uint8_t> EncodeIco(const Image& image, std::optional<Pixel> transparent) {
    const uint32_t width = static_cast<uint32_t>(image.Width());
    const uint32_t height = static_cast<uint32_t>(image.Height());
    const uint32_t colourStride = (width * 3 + 3) & ~3u;
    const uint32_t maskStride = ((width + 31) / 32) * 4;
    const uint32_t imageSize = kInfoHeaderSize + (colourStride + maskStride) * height;
    const uint32_t offset = kDirectorySize + kEntrySize;

    std::vector<uint8_t> out;
    out.reserve(offset + imageSize);
    Put16(out, 0); // reserved
    Put16(out, 1); // an icon, not a cursor
    Put16(out, 1); // one image

    out.push_back(EntrySize(image.Width()));
    out.push_back(EntrySize(image.Height()));
    out.push_back(0); // not a palette image
    out.push_back(0); // reserved
    Put16(out, 1);    // planes
    Put16(out, 24);   // bits per pixel
    Put32(out, imageSize);
    Put32(out, offset);

    // The image's own header counts the colour rows and the mask rows together; no resolution.
    PutInfoHeader(out, width, height * 2, (colourStride + maskStride) * height, 0);
    PutBgrRows(out, image, transparent);

    auto clear = [&](int x, int y) { return transparent && image.At(x, y) == *transparent; };
    for (int y = image.Height() - 1; y >= 0; --y) {
        const size_t row = out.size();
        out.resize(row + maskStride, 0);
        for (int x = 0; x < image.Width(); ++x) {
            if (clear(x, y)) {
                out[row + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return out;
}

} // namespace raster
