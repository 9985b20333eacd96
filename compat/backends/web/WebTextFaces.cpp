// The faces shipped with the page and the game's face names matched to them.
#include "web/WebTextFaces.h"

#include "shared/FaceNames.h"

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

// The face of `family` nearest the weight asked for: its bold file for semibold and above.
const ShippedFace* Find(const std::string& family, bool bold) {
    if (HiddenFamilies().count(family))
        return nullptr;
    const ShippedFace* found = nullptr;
    for (const ShippedFace& face : kShipped) {
        if (LowerCase(face.family) != family)
            continue;
        if (!found || face.bold == bold)
            found = &face;
    }
    return found;
}

} // namespace

const ShippedFace* MatchShippedFace(std::string_view face, int weight) {
    const bool bold = weight >= kSemiBold;
    for (const std::string& family : FaceFallbacks(face))
        if (const ShippedFace* found = Find(LowerCase(family), bold))
            return found;
    if (const ShippedFace* found = Find(LowerCase(kDefaultFamily), bold))
        return found;
    // Every family we would pick is hidden: the first shipped one that is not.
    for (const ShippedFace& shipped : kShipped)
        if (const ShippedFace* found = Find(LowerCase(shipped.family), bold))
            return found;
    return nullptr;
}

void HideShippedFamily(std::string_view family) {
    HiddenFamilies().insert(LowerCase(family));
}

void ShowAllShippedFamilies() {
    HiddenFamilies().clear();
}

} // namespace compat
