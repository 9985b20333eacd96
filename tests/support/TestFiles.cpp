#include "TestFiles.h"

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace testfiles {

ScratchDir::ScratchDir(bool enter) : entered(enter) {
    std::random_device device;
    for (;;) {
        path = fs::temp_directory_path() / ("quibbo-test-" + std::to_string(device()));
        if (fs::create_directory(path))
            break;
    }
    if (entered) {
        previous = fs::current_path();
        fs::current_path(path);
        fs::create_directory(path / "logs");
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    if (entered)
        fs::current_path(previous, ignored);
    fs::remove_all(path, ignored);
}

std::string ReadText(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<uint8_t> ReadBytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& fileName, const std::vector<uint8_t>& bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> ReadLines(const std::string& fileName) {
    std::vector<std::string> lines;
    std::istringstream text(ReadText(fileName));
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> LogMessages(const std::string& fileName) {
    const std::string prefix = "TIME --- ";
    std::vector<std::string> messages;
    for (const auto& line : ReadLines(fileName)) {
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        auto separator = line.find(": ", prefix.size());
        if (separator != std::string::npos)
            messages.push_back(line.substr(separator + 2));
    }
    return messages;
}

} // namespace testfiles
