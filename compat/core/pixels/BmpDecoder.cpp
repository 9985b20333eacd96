// BMP decoding. Nothing in a file is trusted: each offset and size is checked against the
// bytes actually there before it is used, in 64-bit arithmetic so no product can wrap.
#include "pixels/BmpDecoder.h"
#include "files/Files.h"

#include <new>
#include <vector>

namespace compat {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kFileHeaderSize = 14;

class Bytes {
public:
    Bytes(const uint8_t* bytes, size_t count) : data(bytes), size(count) {}
    bool Has(uint64_t offset, uint64_t count) const {
        return offset <= size && count <= size - offset;
    }
    uint8_t U8(uint64_t offset) const { return data[offset]; }
    uint16_t U16(uint64_t offset) const { return ReadU16(data + offset); }
    uint32_t U32(uint64_t offset) const { return ReadU32(data + offset); }
    const uint8_t* At(uint64_t offset) const { return data + offset; }
    size_t Size() const { return size; }

private:
    const uint8_t* data;
    size_t size;
};

// One colour channel of a 16- or 32-bit pixel, given by a mask of contiguous bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    // False for a mask whose bits are not contiguous.
    bool Set(uint32_t newMask) {
        mask = newMask;
        shift = 0;
        bits = 0;
        if (!mask)
            return true;
        while (!((mask >> shift) & 1))
            ++shift;
        const uint64_t run = static_cast<uint64_t>(mask) >> shift;
        while ((run >> bits) & 1)
            ++bits;
        return run == (uint64_t{1} << bits) - 1;
    }

    // The channel's value widened (by repeating its bits) or narrowed to 8 bits.
    uint32_t Extract(uint32_t pixel) const {
        if (!bits)
            return 0;
        const uint32_t value = (pixel & mask) >> shift;
        if (bits >= 8)
            return value >> (bits - 8);
        uint32_t wide = 0;
        int filled = 0;
        while (filled < 8) {
            wide = (wide << bits) | value;
            filled += bits;
        }
        return wide >> (filled - 8);
    }
};

struct Header {
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0; // rows, always positive
    bool topDown = false;
    uint32_t planes = 0;
    uint32_t bitCount = 0;
    uint32_t compression = BI_RGB;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
    uint32_t masks[3] = {0, 0, 0}; // red, green, blue
    uint64_t paletteStart = 0;
    uint32_t paletteEntrySize = 4;
};

bool ReadHeader(const Bytes& file, Header* header) {
    if (!file.Has(0, kFileHeaderSize + 4) || file.U8(0) != 'B' || file.U8(1) != 'M')
        return false;
    Header h;
    h.size = file.U32(kFileHeaderSize);
    // Core (OS/2 1.x), info, the V2 and V3 info headers with masks, V4 and V5.
    if (h.size != kCoreHeaderSize && h.size != 40 && h.size != 52 && h.size != 56 &&
        h.size != 108 && h.size != 124)
        return false;
    if (!file.Has(kFileHeaderSize, h.size))
        return false;
    const uint64_t at = kFileHeaderSize;
    if (h.size == kCoreHeaderSize) {
        h.width = file.U16(at + 4);
        h.height = file.U16(at + 6);
        h.planes = file.U16(at + 8);
        h.bitCount = file.U16(at + 10);
        h.paletteEntrySize = 3;
        if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 24)
            return false;
    } else {
        h.width = static_cast<int32_t>(file.U32(at + 4));
        const int64_t height = static_cast<int32_t>(file.U32(at + 8));
        h.topDown = height < 0;
        h.height = h.topDown ? -height : height;
        h.planes = file.U16(at + 12);
        h.bitCount = file.U16(at + 14);
        h.compression = file.U32(at + 16);
        h.imageSize = file.U32(at + 20);
        h.colorsUsed = file.U32(at + 32);
        if (h.size >= 52)
            for (int i = 0; i < 3; ++i)
                h.masks[i] = file.U32(at + 40 + 4 * i);
    }
    h.paletteStart = at + h.size;
    // An info header keeps its bit-field masks just after itself, before the colour table.
    if (h.size == 40 && h.compression == BI_BITFIELDS) {
        if (!file.Has(h.paletteStart, 12))
            return false;
        for (int i = 0; i < 3; ++i)
            h.masks[i] = file.U32(h.paletteStart + 4 * i);
        h.paletteStart += 12;
    }
    *header = h;
    return true;
}

bool CheckForm(const Header& h) {
    if (h.width < 1 || h.width > kMaxSurfaceSide || h.height < 1 || h.height > kMaxSurfaceSide)
        return false;
    if (h.width * h.height > kMaxBitmapPixels || h.planes != 1)
        return false;
    switch (h.compression) {
    case BI_RGB:
        return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
               h.bitCount == 24 || h.bitCount == 32;
    case BI_RLE8:
        // Compressed pictures are always stored bottom-up.
        return h.bitCount == 8 && !h.topDown;
    case BI_RLE4:
        return h.bitCount == 4 && !h.topDown;
    case BI_BITFIELDS:
        return h.bitCount == 16 || h.bitCount == 32;
    default:
        return false;
    }
}

uint32_t PaletteColor(const Bytes& file, uint64_t at) {
    // Stored blue, green, red: the same byte order as an XRGB8888 word.
    return static_cast<uint32_t>(file.U8(at)) | static_cast<uint32_t>(file.U8(at + 1)) << 8 |
           static_cast<uint32_t>(file.U8(at + 2)) << 16;
}

bool ReadPalette(const Bytes& file, const Header& h, uint64_t pixelOffset,
                 std::vector<uint32_t>* palette) {
    if (h.bitCount > 8)
        return true;
    const uint32_t most = 1u << h.bitCount;
    const uint32_t count = h.colorsUsed ? h.colorsUsed : most;
    if (count > most)
        return false;
    const uint64_t bytes = static_cast<uint64_t>(count) * h.paletteEntrySize;
    if (!file.Has(h.paletteStart, bytes) || h.paletteStart + bytes > pixelOffset)
        return false;
    palette->resize(count);
    for (uint32_t i = 0; i < count; ++i)
        (*palette)[i] = PaletteColor(file, h.paletteStart + uint64_t{i} * h.paletteEntrySize);
    return true;
}

bool SetChannels(const Header& h, Channel channels[3]) {
    uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
    if (h.compression == BI_RGB) {
        // Without bit fields, 16 bits are X1R5G5B5 and 32 bits X8R8G8B8.
        const bool sixteen = h.bitCount == 16;
        masks[0] = sixteen ? 0x7C00 : 0xFF0000;
        masks[1] = sixteen ? 0x03E0 : 0x00FF00;
        masks[2] = sixteen ? 0x001F : 0x0000FF;
    }
    if ((masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2]))
        return false;
    for (int i = 0; i < 3; ++i) {
        if (h.bitCount == 16 && masks[i] > 0xFFFF)
            return false;
        if (!channels[i].Set(masks[i]))
            return false;
    }
    return true;
}

uint32_t IndexColor(const std::vector<uint32_t>& palette, uint32_t index) {
    // An index past a short colour table reads as black.
    return index < palette.size() ? palette[index] : 0;
}

void DecodeRow(const uint8_t* row, const Header& h, const std::vector<uint32_t>& palette,
               const Channel channels[3], uint32_t* out) {
    const int64_t width = h.width;
    switch (h.bitCount) {
    case 1:
        for (int64_t x = 0; x < width; ++x)
            out[x] = IndexColor(palette, (row[x >> 3] >> (7 - (x & 7))) & 1);
        break;
    case 4:
        for (int64_t x = 0; x < width; ++x)
            out[x] = IndexColor(palette, (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4);
        break;
    case 8:
        for (int64_t x = 0; x < width; ++x)
            out[x] = IndexColor(palette, row[x]);
        break;
    case 24:
        for (int64_t x = 0; x < width; ++x)
            out[x] = static_cast<uint32_t>(row[3 * x]) |
                     static_cast<uint32_t>(row[3 * x + 1]) << 8 |
                     static_cast<uint32_t>(row[3 * x + 2]) << 16;
        break;
    default: {
        const int bytes = h.bitCount / 8;
        for (int64_t x = 0; x < width; ++x) {
            const uint8_t* p = row + bytes * x;
            uint32_t pixel = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
            if (bytes == 4)
                pixel |= static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
            out[x] = channels[0].Extract(pixel) << 16 | channels[1].Extract(pixel) << 8 |
                     channels[2].Extract(pixel);
        }
        break;
    }
    }
}

bool DecodeUncompressed(const Bytes& file, const Header& h, uint64_t pixelOffset,
                        const std::vector<uint32_t>& palette, PixelSurface* out) {
    Channel channels[3];
    if (h.bitCount >= 16 && h.bitCount != 24 && !SetChannels(h, channels))
        return false;
    // Rows are padded to whole 32-bit words.
    const uint64_t stride = (static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32 * 4;
    if (!file.Has(pixelOffset, stride * static_cast<uint64_t>(h.height)))
        return false;
    PixelSurface pixels;
    if (!pixels.Allocate(static_cast<int>(h.width), static_cast<int>(h.height), 32))
        return false;
    for (int64_t row = 0; row < h.height; ++row) {
        const int64_t y = h.topDown ? row : h.height - 1 - row;
        DecodeRow(file.At(pixelOffset + stride * row), h, palette, channels,
                  reinterpret_cast<uint32_t*>(pixels.Row(static_cast<int>(y))));
    }
    *out = std::move(pixels);
    return true;
}

// Runs of colour indices, bottom row first. A count byte above 0 repeats the next byte's index
// (RLE4: its two nibbles in turn); 0 escapes: 0 ends the line, 1 the picture, 2 moves by the
// next two bytes, 3 and more give that many literal indices, padded to a 16-bit boundary.
// Pixels coded past a row's end are dropped: ImageMagick, for one, codes each row's padding
// too. Anything written above the last row, moved outside the picture, or running past the
// stream refuses the file.
bool ExpandRle(const Bytes& file, uint64_t start, uint64_t end, const Header& h,
               std::vector<uint8_t>* indices) {
    const bool four = h.compression == BI_RLE4;
    const int64_t width = h.width, height = h.height;
    int64_t x = 0, y = 0;
    uint64_t p = start;
    auto put = [&](uint8_t index) {
        if (y >= height)
            return false;
        if (x < width)
            (*indices)[static_cast<size_t>(y * width + x++)] = index;
        return true;
    };
    for (;;) {
        if (end - p < 2)
            return y >= height; // a stream may stop without an end mark once every line ended
        const uint8_t count = file.U8(p), value = file.U8(p + 1);
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                if (!put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value))
                    return false;
            continue;
        }
        switch (value) {
        case 0:
            x = 0;
            if (++y > height)
                return false;
            break;
        case 1:
            return true;
        case 2:
            if (end - p < 2)
                return false;
            x += file.U8(p);
            y += file.U8(p + 1);
            p += 2;
            if (x > width || y > height)
                return false;
            break;
        default: {
            const uint64_t bytes = four ? (value + 1u) / 2 : value;
            const uint64_t padded = (bytes + 1) & ~uint64_t{1};
            if (end - p < padded)
                return false;
            for (int i = 0; i < value; ++i) {
                const uint8_t byte = file.U8(p + (four ? i / 2 : i));
                if (!put(four ? ((i & 1) ? byte & 0x0F : byte >> 4) : byte))
                    return false;
            }
            p += padded;
            break;
        }
        }
    }
}

bool DecodeRle(const Bytes& file, const Header& h, uint64_t pixelOffset,
               const std::vector<uint32_t>& palette, PixelSurface* out) {
    uint64_t end = file.Size();
    if (h.imageSize) {
        // The header names the stream's length; it may not claim more than the file holds.
        if (!file.Has(pixelOffset, h.imageSize))
            return false;
        end = pixelOffset + h.imageSize;
    }
    // Pixels the stream skips keep index 0, as in a fresh device-independent bitmap.
    std::vector<uint8_t> indices(static_cast<size_t>(h.width * h.height), 0);
    if (!ExpandRle(file, pixelOffset, end, h, &indices))
        return false;
    PixelSurface pixels;
    if (!pixels.Allocate(static_cast<int>(h.width), static_cast<int>(h.height), 32))
        return false;
    for (int64_t row = 0; row < h.height; ++row) {
        auto* line = reinterpret_cast<uint32_t*>(pixels.Row(static_cast<int>(h.height - 1 - row)));
        const uint8_t* source = indices.data() + row * h.width;
        for (int64_t x = 0; x < h.width; ++x)
            line[x] = IndexColor(palette, source[x]);
    }
    *out = std::move(pixels);
    return true;
}

} // namespace

bool DecodeBmp(const uint8_t* data, size_t size, PixelSurface* out) {
    if (!data || !out)
        return false;
    const Bytes file(data, size);
    Header h;
    if (!ReadHeader(file, &h) || !CheckForm(h))
        return false;
    // The pixels start where the file header says, past the headers and the masks.
    const uint64_t pixelOffset = file.U32(10);
    if (pixelOffset < h.paletteStart || pixelOffset > file.Size())
        return false;
    try {
        std::vector<uint32_t> palette;
        if (!ReadPalette(file, h, pixelOffset, &palette))
            return false;
        if (h.compression == BI_RLE8 || h.compression == BI_RLE4)
            return DecodeRle(file, h, pixelOffset, palette, out);
        return DecodeUncompressed(file, h, pixelOffset, palette, out);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace compat
