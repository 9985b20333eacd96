// Inside the platform layer: whole files and little-endian numbers read from their bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace compat {

// Reads the whole of the plain file at `path` into `bytes`. False for a file that cannot be
// opened, is not a plain file (a device or a pipe has no size to trust), is larger than
// `maxBytes` or cannot be read to its end.
bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes);

inline uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

} // namespace compat
