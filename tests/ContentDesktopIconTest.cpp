// The desktop's icons: the PNG writer read back by a strict reader of our own, and the icon
// drawn at every size the icon theme gets.
#include "art/Icon.h"
#include "raster/Png.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using raster::Image;
using raster::Pixel;

struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes; // R, G, B, A a pixel, top row first
};

uint32_t BigEndian(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// Bit by bit, not by table: a second opinion on the writer's checksum.
uint32_t SlowCrc(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// An 8-bit RGBA PNG without filters, its image data in stored deflate blocks; anything else,
// or a wrong checksum or length, is refused with the reason.
std::optional<Rgba> ReadPng(const std::vector<uint8_t>& png, std::string* why) {
    const std::vector<uint8_t> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(signature.begin(), signature.end(), png.begin()))
        return *why = "no PNG signature", std::nullopt;
    Rgba image;
    std::vector<uint8_t> zlib;
    bool ended = false;
    for (size_t at = 8; !ended;) {
        if (at + 12 > png.size())
            return *why = "chunk beyond the end", std::nullopt;
        const uint32_t length = BigEndian(png, at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        if (at + 12 + length > png.size())
            return *why = type + " beyond the end", std::nullopt;
        if (SlowCrc(&png[at + 4], length + 4) != BigEndian(png, at + 8 + length))
            return *why = type + " checksum wrong", std::nullopt;
        const auto data = png.begin() + at + 8;
        if (type == "IHDR") {
            image.width = static_cast<int>(BigEndian(png, at + 8));
            image.height = static_cast<int>(BigEndian(png, at + 12));
            if (length != 13 || data[8] != 8 || data[9] != 6 || data[12] != 0)
                return *why = "not 8-bit RGBA without interlace", std::nullopt;
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        } else if (type == "IEND") {
            ended = at + 12 == png.size();
            if (!ended)
                return *why = "bytes after IEND", std::nullopt;
        }
        at += 12 + length;
    }
    // zlib: header, stored blocks, Adler-32 of the raw data.
    std::vector<uint8_t> raw;
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > zlib.size() || (zlib[at] & 0x06) != 0)
            return *why = "not a stored block", std::nullopt;
        last = zlib[at] & 1;
        const size_t size = zlib[at + 1] | zlib[at + 2] << 8;
        if ((size ^ (zlib[at + 3] | zlib[at + 4] << 8)) != 0xFFFF || at + 5 + size > zlib.size())
            return *why = "stored block length wrong", std::nullopt;
        raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + size);
        at += 5 + size;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw)
        a = (a + byte) % 65521, b = (b + a) % 65521;
    if (at + 4 != zlib.size() || BigEndian(zlib, at) != (b << 16 | a))
        return *why = "Adler-32 wrong", std::nullopt;
    const size_t row = static_cast<size_t>(image.width) * 4;
    if (raw.size() != (row + 1) * image.height)
        return *why = "image data of the wrong size", std::nullopt;
    for (int y = 0; y < image.height; ++y) {
        if (raw[y * (row + 1)] != 0)
            return *why = "a filtered row", std::nullopt;
        image.bytes.insert(image.bytes.end(), raw.begin() + y * (row + 1) + 1,
                           raw.begin() + (y + 1) * (row + 1));
    }
    return image;
}

TEST(ContentPngTest, RoundTripsColoursAndAlphaAcrossStoredBlocks) {
    // 200 by 100: 80100 bytes of image data, more than one stored block holds.
    Image image(200, 100);
    std::vector<uint8_t> alpha;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            image.At(x, y) = Pixel{uint8_t(x), uint8_t(y * 2), uint8_t(x ^ y)};
            alpha.push_back(uint8_t(x + y));
        }
    }
    std::string why;
    const auto png = ReadPng(raster::EncodePng(image, alpha), &why);
    ASSERT_TRUE(png) << why;
    ASSERT_EQ(png->width, 200);
    ASSERT_EQ(png->height, 100);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const uint8_t* p = &png->bytes[(y * 200 + x) * 4];
            const Pixel& want = image.At(x, y);
            ASSERT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}),
                      (std::vector<int>{want.r, want.g, want.b, alpha[y * 200 + x]}))
                << "at " << x << "," << y;
        }
    }
}

TEST(ContentDesktopIconTest, EverySizeIsARoundedTileWithSoftCorners) {
    for (int size : art::DesktopIconSizes()) {
        const art::SoftIcon icon = art::DesktopIcon(size);
        ASSERT_EQ(icon.colours.Width(), size);
        ASSERT_EQ(icon.colours.Height(), size);
        ASSERT_EQ(icon.alpha.size(), size_t(size) * size);
        auto alphaAt = [&](int x, int y) { return icon.alpha[size_t(y) * size + x]; };
        EXPECT_EQ(alphaAt(0, 0), 0) << size;
        EXPECT_EQ(alphaAt(size - 1, size - 1), 0) << size;
        EXPECT_EQ(alphaAt(size / 2, 0), 255) << size;
        EXPECT_EQ(alphaAt(size / 2, size / 2), 255) << size;
        // Some edge pixels are partly covered: soft corners, not a cut-out.
        const auto partial = std::count_if(icon.alpha.begin(), icon.alpha.end(),
                                           [](uint8_t a) { return a > 0 && a < 255; });
        EXPECT_GT(partial, 0) << size;
        std::string why;
        const auto png = ReadPng(raster::EncodePng(icon.colours, icon.alpha), &why);
        ASSERT_TRUE(png) << size << ": " << why;
        EXPECT_EQ(png->width, size);
    }
}

TEST(ContentDesktopIconTest, ThirtyTwoPixelsIsTheProgramIcon) {
    const Image program = art::Icon();
    const art::SoftIcon desktop = art::DesktopIcon(32);
    ASSERT_EQ(program.Width(), 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint8_t alpha = desktop.alpha[y * 32 + x];
            if (alpha >= 128)
                EXPECT_EQ(program.At(x, y), desktop.colours.At(x, y)) << x << "," << y;
            else
                EXPECT_EQ(program.At(x, y), art::kIconClear) << x << "," << y;
        }
    }
}

} // namespace
