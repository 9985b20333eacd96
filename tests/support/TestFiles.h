// Scratch folders and file helpers shared by the suites.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testfiles {

// A fresh, empty folder under the system's temporary folder, removed again on destruction.
// With `enter`, it is also the working directory for its lifetime (the game names its files
// relative to the working directory), and "logs" is made inside it.
class ScratchDir {
public:
    explicit ScratchDir(bool enter = false);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    std::string operator/(const std::string& name) const { return (path / name).string(); }

private:
    std::filesystem::path path;
    std::filesystem::path previous;
    bool entered;
};

std::string ReadText(const std::string& fileName);
std::vector<uint8_t> ReadBytes(const std::string& fileName);
void WriteBytes(const std::string& fileName, const std::vector<uint8_t>& bytes);
// The lines of a text file without their line ends.
std::vector<std::string> ReadLines(const std::string& fileName);
// The message part of each time-stamped log line ("TIME --- h:m.s: message" -> "message");
// empty lines and continuation lines are left out.
std::vector<std::string> LogMessages(const std::string& fileName);

} // namespace testfiles
