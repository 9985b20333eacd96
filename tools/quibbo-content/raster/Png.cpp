#include "raster/Png.h"

#include <array>
#include <cstddef>

namespace raster {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

namespace {

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + typeStart, out.size() - typeStart));
}

} // namespace

std::vector<uint8_t> EncodePng(const Image& image, const std::vector<uint8_t>& alpha) {
    const int width = image.Width();
    const int height = image.Height();
    std::vector<uint8_t> rgba;
    rgba.reserve(static_cast<size_t>(width) * 4 * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Pixel& p = image.At(x, y);
            rgba.insert(rgba.end(), {p.r, p.g, p.b, alpha[static_cast<size_t>(y) * width + x]});
        }
    }
    return EncodePng(width, height, 4, rgba);
}

std::vector<uint8_t> EncodePng(int width, int height, int channels,
                               const std::vector<uint8_t>& pixels) {
    // The raw image: each row after a filter byte of 0 (none).
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(channels);
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = pixels.begin() + static_cast<ptrdiff_t>(rowBytes * static_cast<size_t>(y));
        raw.insert(raw.end(), row, row + static_cast<ptrdiff_t>(rowBytes));
    }

    // A zlib stream of stored deflate blocks, at most 65535 bytes each.
    std::vector<uint8_t> zlib{0x78, 0x01};
    size_t done = 0;
    do {
        const size_t size = raw.size() - done < 65535 ? raw.size() - done : 65535;
        zlib.push_back(done + size == raw.size() ? 1 : 0);
        zlib.push_back(static_cast<uint8_t>(size));
        zlib.push_back(static_cast<uint8_t>(size >> 8));
        zlib.push_back(static_cast<uint8_t>(~size));
        zlib.push_back(static_cast<uint8_t>(~size >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<ptrdiff_t>(done),
                    raw.begin() + static_cast<ptrdiff_t>(done + size));
        done += size;
    } while (done < raw.size());
    PutBigEndian(zlib, Adler32(raw.data(), raw.size()));

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    // 8 bits, RGB or RGBA, deflate, no filter, no interlace
    const uint8_t colourType = channels == 4 ? 6 : 2;
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

} // namespace raster
