// Reading back what the content generator writes, with readers of our own (not the
// generator's), strict about the format: a file the game could misread fails here.
#pragma once

#include "raster/Colour.h"
#include "raster/Png.h"

#include <algorithm>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace contentfiles {

// The folder the build fills with the game's pictures and sounds.
inline std::string GameDir() {
    return QUIBBO_GAME_DIR;
}

inline uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | b[at + i];
    }
    return v;
}

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<raster::Pixel> pixels; // top row first
    const raster::Pixel& At(int x, int y) const {
        return pixels[static_cast<size_t>(y) * width + x];
    }
};

// A 24-bit, uncompressed, bottom-up BMP with a 40-byte info header, sizes that add up and
// zero row padding; anything else is refused with the reason.
inline std::optional<Bitmap> ParseBmp(const std::vector<uint8_t>& b, std::string* why) {
    auto fail = [why](const std::string& reason) {
        *why = reason;
        return std::optional<Bitmap>();
    };
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        return fail("no BM header");
    }
    if (Le(b, 2, 4) != b.size()) {
        return fail("file size field " + std::to_string(Le(b, 2, 4)) + " but " +
                    std::to_string(b.size()) + " bytes");
    }
    const uint32_t offset = Le(b, 10, 4);
    if (Le(b, 14, 4) != 40 || offset != 54) {
        return fail("not a plain BITMAPINFOHEADER layout");
    }
    const int32_t width = static_cast<int32_t>(Le(b, 18, 4));
    const int32_t height = static_cast<int32_t>(Le(b, 22, 4));
    if (width <= 0 || height <= 0) {
        return fail("not a bottom-up picture of positive size");
    }
    if (Le(b, 26, 2) != 1 || Le(b, 28, 2) != 24 || Le(b, 30, 4) != 0) {
        return fail("not 1 plane, 24 bits, BI_RGB");
    }
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    if (b.size() != offset + stride * height || Le(b, 34, 4) != stride * height) {
        return fail("pixel data size does not match the rows");
    }
    Bitmap bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.pixels.resize(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        const size_t start = offset + stride * row;
        const int y = height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const size_t at = start + 3 * static_cast<size_t>(x);
            bmp.pixels[static_cast<size_t>(y) * width + x] =
                raster::Pixel{b[at + 2], b[at + 1], b[at]};
        }
        for (size_t pad = start + 3 * static_cast<size_t>(width); pad < start + stride; ++pad) {
            if (b[pad] != 0) {
                return fail("row padding is not zero");
            }
        }
    }
    return bmp;
}

struct Wave {
    uint32_t formatSize = 0;
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bits = 0;
    std::vector<int16_t> samples;
};

// A RIFF WAVE file: the RIFF size must match the file, and it must hold a "fmt " chunk of 16
// or 18 bytes followed by a "data" chunk that fits.
inline std::optional<Wave> ParseWav(const std::vector<uint8_t>& b, std::string* why) {
    auto fail = [why](const std::string& reason) {
        *why = reason;
        return std::optional<Wave>();
    };
    auto tag = [&b](size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); };
    if (b.size() < 12 || tag(0) != "RIFF" || tag(8) != "WAVE") {
        return fail("no RIFF WAVE header");
    }
    if (Le(b, 4, 4) + 8 != b.size()) {
        return fail("RIFF size does not match the file");
    }
    Wave w;
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id = tag(at);
        const uint32_t size = Le(b, at + 4, 4);
        if (at + 8 + size > b.size()) {
            return fail("chunk " + id + " runs past the end");
        }
        if (id == "fmt ") {
            if (size != 16 && size != 18) {
                return fail("fmt chunk of " + std::to_string(size) + " bytes");
            }
            w.formatSize = size;
            w.formatTag = static_cast<uint16_t>(Le(b, at + 8, 2));
            w.channels = static_cast<uint16_t>(Le(b, at + 10, 2));
            w.rate = Le(b, at + 12, 4);
            w.byteRate = Le(b, at + 16, 4);
            w.blockAlign = static_cast<uint16_t>(Le(b, at + 20, 2));
            w.bits = static_cast<uint16_t>(Le(b, at + 22, 2));
            if (size == 18 && Le(b, at + 24, 2) != 0) {
                return fail("PCM format with extra format bytes");
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                return fail("data before fmt");
            }
            if (size % 2 != 0) {
                return fail("odd data size for 16-bit samples");
            }
            for (uint32_t i = 0; i < size; i += 2) {
                w.samples.push_back(static_cast<int16_t>(Le(b, at + 8 + i, 2)));
            }
            return w;
        }
        at += 8 + size + (size & 1);
    }
    return fail("no data chunk");
}

struct Icon {
    int width = 0;
    int height = 0;
    std::vector<raster::Pixel> pixels; // top row first
    std::vector<bool> clear;           // set in the AND mask: see-through
    const raster::Pixel& At(int x, int y) const {
        return pixels[static_cast<size_t>(y) * width + x];
    }
    bool Clear(int x, int y) const { return clear[static_cast<size_t>(y) * width + x]; }
};

// An icon file holding exactly one 24-bit image: a 6-byte directory, one 16-byte entry whose
// size and offset match the file, then a 40-byte BITMAPINFOHEADER of twice the height (colour
// rows and mask rows), the bottom-up colour rows and the 1-bit AND mask rows, each padded to
// whole 4-byte words with zeros. Anything else is refused with the reason.
inline std::optional<Icon> ParseIco(const std::vector<uint8_t>& b, std::string* why) {
    auto fail = [why](const std::string& reason) {
        *why = reason;
        return std::optional<Icon>();
    };
    if (b.size() < 22 + 40 || Le(b, 0, 2) != 0 || Le(b, 2, 2) != 1 || Le(b, 4, 2) != 1) {
        return fail("not an icon directory of one image");
    }
    if (b[9] != 0 || b[8] != 0 || Le(b, 10, 2) != 1 || Le(b, 12, 2) != 24) {
        return fail("entry is not 1 plane, 24 bits, no palette");
    }
    const uint32_t offset = Le(b, 18, 4);
    if (offset != 22 || Le(b, 14, 4) != b.size() - offset) {
        return fail("entry size or offset does not match the file");
    }
    const int32_t width = static_cast<int32_t>(Le(b, offset + 4, 4));
    const int32_t height2 = static_cast<int32_t>(Le(b, offset + 8, 4));
    if (Le(b, offset, 4) != 40 || width <= 0 || width > 256 || height2 <= 0 || height2 % 2 != 0 ||
        height2 / 2 > 256) {
        return fail("not a BITMAPINFOHEADER of a bottom-up icon image");
    }
    const int height = height2 / 2;
    if (b[6] != (width & 0xFF) || b[7] != (height & 0xFF)) {
        return fail("entry size differs from the image's");
    }
    if (Le(b, offset + 12, 2) != 1 || Le(b, offset + 14, 2) != 24 || Le(b, offset + 16, 4) != 0) {
        return fail("image is not 1 plane, 24 bits, BI_RGB");
    }
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t maskStride = (static_cast<size_t>(width) + 31) / 32 * 4;
    const size_t colours = offset + 40;
    const size_t mask = colours + stride * height;
    if (b.size() != mask + maskStride * height) {
        return fail("file size does not match the colour and mask rows");
    }
    Icon icon;
    icon.width = width;
    icon.height = height;
    icon.pixels.resize(static_cast<size_t>(width) * height);
    icon.clear.resize(icon.pixels.size());
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;
        for (size_t x = 0; x < stride; ++x) {
            const uint8_t v = b[colours + stride * row + x];
            if (x >= static_cast<size_t>(width) * 3) {
                if (v != 0) {
                    return fail("colour row padding is not zero");
                }
            } else if (x % 3 == 2) {
                icon.pixels[static_cast<size_t>(y) * width + x / 3] = raster::Pixel{
                    v, b[colours + stride * row + x - 1], b[colours + stride * row + x - 2]};
            }
        }
        for (int x = 0; x < static_cast<int>(maskStride) * 8; ++x) {
            const bool bit = (b[mask + maskStride * row + x / 8] >> (7 - x % 8)) & 1;
            if (x >= width) {
                if (bit) {
                    return fail("mask row padding is not zero");
                }
            } else {
                icon.clear[static_cast<size_t>(y) * width + x] = bit;
            }
        }
    }
    return icon;
}

inline uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

struct Png {
    int width = 0;
    int height = 0;
    int channels = 0;           // 4: R, G, B, A; 3: R, G, B
    int storedBlocks = 0;       // the deflate blocks the image data came in
    std::vector<uint8_t> bytes; // `channels` bytes a pixel, top row first
};

// An 8-bit RGBA or RGB PNG without filters or interlace, its image data in stored deflate
// blocks; anything else, or a wrong checksum or length, is refused with the reason. The
// checksums are the writer's own, held to their standards by
// ReplayPng.ChecksumsMatchTheirStandards.
inline std::optional<Png> ParsePng(const std::vector<uint8_t>& b, std::string* why) {
    auto fail = [why](const std::string& reason) {
        *why = reason;
        return std::optional<Png>();
    };
    const std::vector<uint8_t> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (b.size() < 8 || !std::equal(signature.begin(), signature.end(), b.begin())) {
        return fail("no PNG signature");
    }
    Png image;
    std::vector<uint8_t> zlib;
    for (size_t at = 8, length = 0;; at += 12 + length) {
        if (at + 12 > b.size()) {
            return fail("chunk beyond the end");
        }
        length = Be32(b, at);
        const std::string type(b.begin() + at + 4, b.begin() + at + 8);
        if (at + 12 + length > b.size()) {
            return fail(type + " beyond the end");
        }
        if (raster::Crc32(&b[at + 4], length + 4) != Be32(b, at + 8 + length)) {
            return fail(type + " checksum wrong");
        }
        const auto data = b.begin() + at + 8;
        if (type == "IHDR") {
            image.width = static_cast<int>(Be32(b, at + 8));
            image.height = static_cast<int>(Be32(b, at + 12));
            image.channels = data[9] == 6 ? 4 : data[9] == 2 ? 3 : 0;
            if (length != 13 || data[8] != 8 || image.channels == 0 || data[12] != 0) {
                return fail("not 8-bit RGBA or RGB without interlace");
            }
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        } else if (type == "IEND") {
            if (at + 12 != b.size()) {
                return fail("bytes after IEND");
            }
            break;
        }
    }
    // zlib: header, stored blocks, Adler-32 of the raw data.
    std::vector<uint8_t> raw;
    size_t at = 2;
    for (bool last = false; !last; ++image.storedBlocks) {
        if (at + 5 > zlib.size() || (zlib[at] & 0x06) != 0) {
            return fail("not a stored block");
        }
        last = zlib[at] & 1;
        const size_t size = zlib[at + 1] | zlib[at + 2] << 8;
        if ((size ^ (zlib[at + 3] | zlib[at + 4] << 8)) != 0xFFFF || at + 5 + size > zlib.size()) {
            return fail("stored block length wrong");
        }
        raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + size);
        at += 5 + size;
    }
    if (at + 4 != zlib.size() || Be32(zlib, at) != raster::Adler32(raw.data(), raw.size())) {
        return fail("Adler-32 wrong");
    }
    const size_t row = static_cast<size_t>(image.width) * image.channels;
    if (raw.size() != (row + 1) * image.height) {
        return fail("image data of the wrong size");
    }
    for (int y = 0; y < image.height; ++y) {
        if (raw[y * (row + 1)] != 0) {
            return fail("a filtered row");
        }
        image.bytes.insert(image.bytes.end(), raw.begin() + y * (row + 1) + 1,
                           raw.begin() + (y + 1) * (row + 1));
    }
    return image;
}

} // namespace contentfiles
