// UNFINISHED: placeholders for the parts of the web backend still to come, so that the page
// builds and runs without them. The game then has no text (no face opens), no sound (no audio
// device opens: the game plays silent, as on a machine without one) and no game controllers.
// Each part's own files replace its block here: delete the block with them.
#include "platform/Audio.h"
#include "platform/Text.h"
#include "web/WebPad.h"

// --- Text (platform/Text.h): the browser's canvas will draw it.
namespace platform {

bool OpenFont(const FontRequest&, OpenedFont*) {
    return false;
}

const TextMask* RenderText(const Font*, bool, const std::string&) {
    return nullptr;
}

bool MeasureText(const Font*, const std::string&, int*) {
    return false;
}

void HideFontFamily(std::string_view) {}

void ShowAllFontFamilies() {}

} // namespace platform

// --- Audio (platform/Audio.h): Web Audio will play it.
namespace platform {

AudioDevice* OpenAudio(int, FillAudio, void*, int*) {
    return nullptr;
}

void StartAudio(AudioDevice*) {}

void CloseAudio(AudioDevice*) {}

} // namespace platform

// --- Game controllers (web/WebPad.h): the Gamepad API will read them.
namespace compat {

void WebPadPass() {}

} // namespace compat
