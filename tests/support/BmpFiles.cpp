#include "BmpFiles.h"
#include "TestFiles.h"

namespace bmpfiles {

void Put16(std::vector<uint8_t>& bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

uint32_t BmpFile::DataOffset() const {
    const bool core = headerSize == 12;
    uint32_t offset = 14 + headerSize;
    if (headerSize == 40)
        offset += static_cast<uint32_t>(masks.size()) * 4;
    offset += static_cast<uint32_t>(palette.size()) * (core ? 3 : 4);
    return offset;
}

std::vector<uint8_t> BmpFile::Bytes() const {
    const bool core = headerSize == 12;
    std::vector<uint8_t> bytes{'B', 'M'};
    const uint32_t dataOffset = DataOffset();
    Put32(bytes, dataOffset + static_cast<uint32_t>(pixels.size()));
    Put32(bytes, 0);
    Put32(bytes, offBits.value_or(dataOffset));
    Put32(bytes, headerSize);
    if (core) {
        Put16(bytes, static_cast<uint32_t>(width));
        Put16(bytes, static_cast<uint32_t>(height));
        Put16(bytes, planes);
        Put16(bytes, bitCount);
    } else {
        Put32(bytes, static_cast<uint32_t>(width));
        Put32(bytes, static_cast<uint32_t>(height));
        Put16(bytes, planes);
        Put16(bytes, bitCount);
        Put32(bytes, compression);
        Put32(bytes, imageSize);
        Put32(bytes, 2835); // 72 dots per inch
        Put32(bytes, 2835);
        Put32(bytes, colorsUsed);
        Put32(bytes, 0);
        if (headerSize > 40) {
            for (size_t i = 0; i < 3; ++i)
                Put32(bytes, i < masks.size() ? masks[i] : 0);
            while (bytes.size() < 14 + headerSize)
                bytes.push_back(0); // alpha mask, colour space, end points, gamma, profile
        } else {
            for (uint32_t mask : masks)
                Put32(bytes, mask);
        }
    }
    for (uint32_t color : palette) {
        bytes.push_back(static_cast<uint8_t>(color >> 16)); // blue
        bytes.push_back(static_cast<uint8_t>(color >> 8));  // green
        bytes.push_back(static_cast<uint8_t>(color));       // red
        if (!core)
            bytes.push_back(0);
    }
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>>& rows, int bitCount,
                              bool topDown) {
    std::vector<uint8_t> packed;
    const size_t count = rows.size();
    for (size_t i = 0; i < count; ++i) {
        const std::vector<uint32_t>& row = rows[topDown ? i : count - 1 - i];
        std::vector<uint8_t> stored;
        if (bitCount < 8) {
            stored.assign((row.size() * bitCount + 7) / 8, 0);
            for (size_t x = 0; x < row.size(); ++x) {
                const size_t bit = x * bitCount;
                const int shift = 8 - bitCount - static_cast<int>(bit % 8);
                stored[bit / 8] = static_cast<uint8_t>(stored[bit / 8] | row[x] << shift);
            }
        } else {
            for (uint32_t value : row)
                for (int b = 0; b < bitCount / 8; ++b)
                    stored.push_back(static_cast<uint8_t>(value >> (8 * b)));
        }
        while (stored.size() % 4)
            stored.push_back(0);
        packed.insert(packed.end(), stored.begin(), stored.end());
    }
    return packed;
}

std::string WriteBmp(const std::string& path, const std::vector<uint8_t>& bytes) {
    testfiles::WriteBytes(path, bytes);
    return path;
}

} // namespace bmpfiles
