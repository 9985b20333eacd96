// The audio contract on Web Audio (js/audio.js). The page has one thread, so no device pulls
// the mix on its own: a timer of the page's pulls it a period at a time, a little ahead of what
// the AudioContext plays, and schedules each period as a buffer started at its exact time.
// Browsers allow no sound before the player's first key or click: until then there is no
// AudioContext (making one earns a warning in the console), and the timer mixes the periods as
// they fall due and drops them, so sounds keep the game's time and are simply not heard.
#include "platform/Audio.h"

#include <emscripten.h>

#include <cstddef>
#include <vector>

namespace platform {

struct AudioDevice {
    FillAudio fill = nullptr;
    void* context = nullptr;
    int rate = 0;
    std::vector<int16_t> period;
};

} // namespace platform

extern "C" {

// The page's side (js/audio.js).
void quibbo_audio_open(platform::AudioDevice* device, int rate);
void quibbo_audio_start(platform::AudioDevice* device);
void quibbo_audio_close(platform::AudioDevice* device);

// The next `frames` frames of the mix, for the page's timer to play or drop; they stay put until
// the next call.
EMSCRIPTEN_KEEPALIVE const int16_t* quibbo_audio_mix(platform::AudioDevice* device, int frames) {
    if (frames <= 0)
        return nullptr;
    device->period.resize(2 * static_cast<size_t>(frames));
    device->fill(device->context, device->period.data(), static_cast<size_t>(frames));
    return device->period.data();
}

} // extern "C"

namespace platform {

// The rate asked for is the rate played: the page's AudioContext is made at it (the browser
// converts to its output's rate in one stream, rather than each period on its own).
AudioDevice* OpenAudio(int preferredRate, FillAudio fill, void* context, int* rate) {
    if (preferredRate <= 0)
        return nullptr;
    auto* device = new AudioDevice;
    device->fill = fill;
    device->context = context;
    device->rate = preferredRate;
    quibbo_audio_open(device, preferredRate);
    *rate = preferredRate;
    return device;
}

void StartAudio(AudioDevice* device) {
    quibbo_audio_start(device);
}

// The page's timer pulls every period, quiet or not: it keeps the periods' times.
void WakeAudio(AudioDevice*) {}

// The timer runs on the one thread, between the game's steps: no fill is ever running here.
void CloseAudio(AudioDevice* device) {
    quibbo_audio_close(device);
    delete device;
}

} // namespace platform
