// The audio contract on an SDL audio device, which pulls the mix from its own thread.
#include "platform/Audio.h"

#include <SDL.h>

#include <memory>

namespace platform {

struct AudioDevice {
    SDL_AudioDeviceID id = 0;
    FillAudio fill = nullptr;
    void* context = nullptr;
};

namespace {

// About 23 ms a period at 44100 Hz: an effect starts within a frame or two of being played,
// and the mixing thread wakes 43 times a second rather than 86 (at 12 ms its wake-ups were an
// eighth of what a hidden game costs).
constexpr Uint16 kPeriodFrames = 1024;
constexpr int kFrameBytes = 2 * sizeof(int16_t);

void Callback(void* device, uint8_t* stream, int length) {
    auto* self = static_cast<AudioDevice*>(device);
    self->fill(self->context, reinterpret_cast<int16_t*>(stream),
               static_cast<size_t>(length) / kFrameBytes);
}

} // namespace

AudioDevice* OpenAudio(int preferredRate, FillAudio fill, void* context, int* rate) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    auto device = std::make_unique<AudioDevice>();
    device->fill = fill;
    device->context = context;
    SDL_AudioSpec wanted{};
    wanted.freq = preferredRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kPeriodFrames;
    wanted.callback = Callback;
    wanted.userdata = device.get();
    SDL_AudioSpec obtained{};
    // SDL converts format and channels for us; a different rate we take as it is and mix at.
    device->id =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device->id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    *rate = obtained.freq;
    return device.release();
}

void StartAudio(AudioDevice* device) {
    SDL_PauseAudioDevice(device->id, 0);
}

void CloseAudio(AudioDevice* device) {
    SDL_CloseAudioDevice(device->id);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    delete device;
}

} // namespace platform
