// Writing a finished file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace io {

// Writes `bytes` as the whole of `file`, making its folder first if need be. False, with the
// reason in `error`, when the file cannot be written.
bool WriteFile(const std::filesystem::path& file, const std::vector<uint8_t>& bytes,
               std::string* error);

} // namespace io
