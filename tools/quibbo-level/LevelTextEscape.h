// Inside the level text: bytes that must not stand in a text as they are.
#pragma once

#include <string>

namespace LevelText {

constexpr char kHexDigits[] = "0123456789abcdef";

// A byte as \xHH.
inline void AppendEscaped(std::string& text, unsigned char c) {
    text += "\\x";
    text += kHexDigits[c >> 4];
    text += kHexDigits[c & 15];
}

} // namespace LevelText
