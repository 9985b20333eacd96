// Writing a level as its text (LevelText::Format).
#include "LevelText.h"
#include "LevelTextEscape.h"

#include <algorithm>
#include <cstdint>

namespace LevelText {

namespace {

constexpr int kSize = LevelFile::kGridSize;
constexpr size_t kTrailerBytesPerLine = 32;

std::string Hex(const uint8_t* bytes, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += kHexDigits[bytes[i] >> 4];
        text += kHexDigits[bytes[i] & 15];
    }
    return text;
}

std::string CellText(int8_t value) {
    if (value == 0)
        return ".";
    if (value == -1)
        return "*";
    if (value >= 1 && value <= 9)
        return std::string(1, static_cast<char>('0' + value));
    if (value >= 10 && value <= 35)
        return std::string(1, static_cast<char>('A' + value - 10));
    return "[" + std::to_string(value) + "]";
}

// A name goes without quotes when it is one plain word that cannot be taken for a comment.
bool PlainName(const std::string& name) {
    if (name.empty())
        return false;
    for (unsigned char c : name)
        if (c < 0x21 || c > 0x7E || c == '"' || c == '#')
            return false;
    return true;
}

std::string NameText(const std::string& name) {
    if (PlainName(name))
        return name;
    std::string text = "\"";
    for (unsigned char c : name) {
        if (c == '"' || c == '\\') {
            text += '\\';
            text += static_cast<char>(c);
        } else if (c >= 0x20 && c <= 0x7E) {
            text += static_cast<char>(c);
        } else {
            AppendEscaped(text, c);
        }
    }
    return text + "\"";
}

} // namespace

std::string Format(const LevelFile& level) {
    std::string text = "speed " + std::to_string(level.speed) + "\n";
    text += "timer " + std::to_string(level.timer) + "\n";
    for (int32_t type = 1; type <= level.BlockTypeCount(); ++type) {
        const std::string name = level.Name(type);
        text += "block " + std::to_string(type) + " " + NameText(name) + "\n";
        const auto& field = level.nameFields[static_cast<size_t>(type - 1)];
        const size_t begin = name.size() + 1;
        size_t end = field.size();
        while (end > begin && field[end - 1] == '\0')
            --end;
        if (end > begin)
            text += "padding " + std::to_string(type) + " " +
                    Hex(reinterpret_cast<const uint8_t*>(field.data()) + begin, end - begin) + "\n";
    }
    text += "grid\n";
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (x > 0)
                text += ' ';
            text += CellText(level.Cell(x, y));
        }
        text += '\n';
    }
    for (size_t at = 0; at < level.trailer.size(); at += kTrailerBytesPerLine)
        text += "trailer " +
                Hex(level.trailer.data() + at,
                    std::min(kTrailerBytesPerLine, level.trailer.size() - at)) +
                "\n";
    return text;
}

} // namespace LevelText
