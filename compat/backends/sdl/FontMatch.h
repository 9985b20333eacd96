// Inside the platform layer: which installed font file a GDI face name stands for.
#pragma once

#include <string>
#include <string_view>

namespace compat {

struct FontMatch {
    std::string file;
    long faceIndex = 0;
    std::string family;
    // Whether the face found is itself bold or italic; when not, the renderer makes it so.
    bool bold = false;
    bool italic = false;
};

// Finds a font through fontconfig. The faces the game names come with our own fallbacks:
// "verdana" is Verdana, else DejaVu Sans; "mistral" is Mistral, else Kaushan Script, else
// Dancing Script. Any other face, or one whose fallbacks are all missing, is fontconfig's best
// match for the name. Weight is GDI's (400 normal, 700 bold). False when no font is found.
bool MatchFont(std::string_view face, int weight, bool italic, FontMatch* match);

// For tests: matching behaves as if the family were not installed.
void HideFontFamily(std::string_view family);
void ShowAllFontFamilies();

} // namespace compat
