// Face names to font files, through fontconfig.
#include "sdl/FontMatch.h"

#include "shared/FaceNames.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <vector>

namespace compat {

namespace {

bool SameText(const FcChar8* a, std::string_view b) {
    return LowerCase(reinterpret_cast<const char*>(a)) == LowerCase(b);
}

bool IsHidden(FcPattern* font) {
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        if (HiddenFamilies().count(LowerCase(reinterpret_cast<const char*>(family))))
            return true;
    return false;
}

bool HasFamily(FcPattern* font, std::string_view wanted) {
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        if (SameText(family, wanted))
            return true;
    return false;
}

bool Describe(FcPattern* font, FontMatch* match) {
    FcChar8* file = nullptr;
    FcBool scalable = FcFalse;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
        return false;
    // SDL_ttf draws outline fonts only.
    if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable)
        return false;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    FcChar8* family = nullptr;
    match->file = reinterpret_cast<const char*>(file);
    match->faceIndex = index;
    match->family = FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch
                        ? reinterpret_cast<const char*>(family)
                        : "";
    match->bold = weight >= FC_WEIGHT_DEMIBOLD;
    match->italic = slant != FC_SLANT_ROMAN;
    return true;
}

// Walks fontconfig's list of fonts for `family`, best first. With `exact`, only a font of that
// very family is taken; otherwise the best one that is not hidden.
bool Find(const std::string& family, int weight, bool italic, bool exact, FontMatch* match) {
    std::unique_ptr<FcPattern, void (*)(FcPattern*)> pattern(FcPatternCreate(), FcPatternDestroy);
    if (!pattern)
        return false;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, void (*)(FcFontSet*)> fonts(
        FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result), FcFontSetDestroy);
    if (!fonts)
        return false;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        if (IsHidden(font) || (exact && !HasFamily(font, family)))
            continue;
        if (Describe(font, match))
            return true;
    }
    return false;
}

bool StartFontconfig() {
    static const bool started = FcInit() == FcTrue;
    return started;
}

} // namespace

bool MatchFont(std::string_view face, int weight, bool italic, FontMatch* match) {
    if (!StartFontconfig())
        return false;
    weight = weight <= 0 ? 400 : std::min(weight, 1000);
    const std::string name = face.empty() ? std::string("sans-serif") : std::string(face);
    for (const std::string& family : FaceFallbacks(name))
        if (Find(family, weight, italic, true, match))
            return true;
    return Find(name, weight, italic, false, match);
}

void HideFontFamily(std::string_view family) {
    HiddenFamilies().insert(LowerCase(family));
}

void ShowAllFontFamilies() {
    HiddenFamilies().clear();
}

} // namespace compat

// fontconfig 2.14 loses a few hundred bytes once while it parses its configuration in FcInit,
// and libdbus a kilobyte of the session bus connection that SDL opens on an X display. The
// sanitizer build's leak checker reads this list in every program that matches fonts.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
