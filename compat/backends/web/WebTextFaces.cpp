// The faces shipped with the page and the game's face names matched to them.
#include "web/WebTextFaces.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

namespace compat {

namespace {

// The fonts the build copies into the page's data file (fonts/ of the game folder).
constexpr ShippedFace kShipped[] = {
    {"DejaVu Sans", "DejaVuSans.ttf", false, false},
    {"DejaVu Sans", "DejaVuSans-Bold.ttf", true, false},
    {"Kaushan Script", "KaushanScript-Regular.otf", false, true},
};

// The face a name no shipped family answers to gets, as fontconfig's sans-serif.
constexpr const char* kDefaultFamily = "DejaVu Sans";
constexpr int kSemiBold = 600;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::set<std::string>& HiddenFamilies() {
    static std::set<std::string> hidden;
    return hidden;
}

// The families to try in turn, each only if shipped under exactly that name.
std::vector<std::string> Fallbacks(const std::string& name) {
    if (name == "verdana")
        return {"verdana", "dejavu sans"};
    if (name == "mistral")
        return {"mistral", "kaushan script", "dancing script"};
    return {name};
}

// The face of `family` nearest the weight asked for: its bold file for semibold and above.
const ShippedFace* Find(const std::string& family, bool bold) {
    if (HiddenFamilies().count(family))
        return nullptr;
    const ShippedFace* found = nullptr;
    for (const ShippedFace& face : kShipped) {
        if (Lower(face.family) != family)
            continue;
        if (!found || face.bold == bold)
            found = &face;
    }
    return found;
}

} // namespace

const ShippedFace* MatchShippedFace(std::string_view face, int weight) {
    const bool bold = weight >= kSemiBold;
    for (const std::string& family : Fallbacks(Lower(face)))
        if (const ShippedFace* found = Find(family, bold))
            return found;
    if (const ShippedFace* found = Find(Lower(kDefaultFamily), bold))
        return found;
    // Every family we would pick is hidden: the first shipped one that is not.
    for (const ShippedFace& shipped : kShipped)
        if (const ShippedFace* found = Find(Lower(shipped.family), bold))
            return found;
    return nullptr;
}

void HideShippedFamily(std::string_view family) {
    HiddenFamilies().insert(Lower(family));
}

void ShowAllShippedFamilies() {
    HiddenFamilies().clear();
}

} // namespace compat
