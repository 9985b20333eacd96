// Shared by the backends that match a Windows program's face names to font files (the SDL and
// the web backends): which families a name falls back to, and the families hidden from matching.
#pragma once

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace compat {

inline std::string LowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The families to try in turn for a face name, each only if found under exactly that name:
// the Windows face itself, then the free faces nearest it.
inline std::vector<std::string> FaceFallbacks(std::string_view face) {
    const std::string name = LowerCase(face);
    if (name == "verdana")
        return {"Verdana", "DejaVu Sans"};
    if (name == "mistral")
        return {"Mistral", "Kaushan Script", "Dancing Script"};
    return {std::string(face)};
}

// Families hidden from matching (lower case), as if not installed.
inline std::set<std::string>& HiddenFamilies() {
    static std::set<std::string> hidden;
    return hidden;
}

} // namespace compat
