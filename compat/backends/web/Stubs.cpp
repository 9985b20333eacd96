// UNFINISHED: placeholders for the parts of the web backend still to come, so that the page
// builds and runs without them. The game then has no sound (no audio device opens: the game
// plays silent, as on a machine without one) and no game controllers.
// Each part's own files replace its block here: delete the block with them.
#include "platform/Audio.h"
#include "web/WebPad.h"

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
