// Inside the web backend: which of the font files shipped with the page a GDI face name stands
// for.
#pragma once

#include <string>
#include <string_view>

namespace compat {

struct ShippedFace {
    const char* family;
    const char* file; // its name in the page's fonts folder
    bool bold;
    // Whether the desktop's text layout (SDL2_ttf on HarfBuzz) kerns this face: it kerns Kaushan
    // Script, and leaves DejaVu Sans unkerned, as measured there.
    bool kerned;
};

// Finds a shipped face as the desktop's fontconfig matching does for the faces we ship:
// "verdana" is Verdana, else DejaVu Sans; "mistral" is Mistral, else Kaushan Script, else
// Dancing Script; any other face, or one whose fallbacks are all missing, is DejaVu Sans, the
// sans-serif face. Weight is GDI's (400 normal, 700 bold): semibold and above take the bold file
// of the family where it has one. Null when every family is hidden.
const ShippedFace* MatchShippedFace(std::string_view face, int weight);

// For tests: matching behaves as if the family were not shipped.
void HideShippedFamily(std::string_view family);
void ShowAllShippedFamilies();

} // namespace compat
