#include "raster/Png.h"

#include <array>
#include <cstddef>

namespace raster {

namespace {

uint32_t Crc32(const uint8_t* data, size_t size) {
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
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

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
    // The raw image: each row after a filter byte of 0 (none).
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(width * 4 + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const Pixel& p = image.At(x, y);
            raw.insert(raw.end(), {p.r, p.g, p.b, alpha[static_cast<size_t>(y) * width + x]});
        }
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
    PutBigEndian(zlib, Adler32(raw));

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

} // namespace raster
