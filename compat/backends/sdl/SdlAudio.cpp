// The audio contract on an SDL audio device, which pulls the mix from its own thread.
#include "platform/Audio.h"

#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace platform {

struct AudioDevice {
    SDL_AudioDeviceID id = 0;
    FillAudio fill = nullptr;
    void* context = nullptr;

    // SDL's thread goes on asking for periods while the device is paused (it plays silence
    // then), so when nothing sounds the callback itself waits here for the next sound.
    std::mutex restLock;
    std::condition_variable woken;
    bool resting = false; // the last fill left nothing sounding
    bool closing = false;
    uint64_t wakes = 0; // sounds started, so that one started during a fill is not slept through
};

namespace {

// About 23 ms a period at 44100 Hz: an effect starts within a frame or two of being played,
// and the mixing thread wakes 43 times a second rather than 86 (at 12 ms its wake-ups were an
// eighth of what a hidden game costs).
constexpr Uint16 kPeriodFrames = 1024;
constexpr int kFrameBytes = 2 * sizeof(int16_t);
// The longest the callback rests at a time. Some backends do their own work on the thread that
// calls it (SDL's PulseAudio loop answers the server there; PipeWire's data thread calls it), so
// it comes back now and then with a period of silence rather than holding that thread for as
// long as the game is quiet.
constexpr auto kLongestRest = std::chrono::milliseconds(250);

// The wait comes at the start of the period after the quiet one, so the end of the last sound
// has gone to the device before the thread rests. The device then runs dry and plays silence of
// its own; the next sound is mixed as soon as it starts, rather than at the next period.
void Callback(void* device, uint8_t* stream, int length) {
    auto* self = static_cast<AudioDevice*>(device);
    uint64_t seen = 0;
    {
        std::unique_lock<std::mutex> guard(self->restLock);
        self->woken.wait_for(guard, kLongestRest,
                             [self] { return !self->resting || self->closing; });
        seen = self->wakes;
    }
    const bool sounding = self->fill(self->context, reinterpret_cast<int16_t*>(stream),
                                     static_cast<size_t>(length) / kFrameBytes);
    std::lock_guard<std::mutex> guard(self->restLock);
    self->resting = !sounding && self->wakes == seen;
}

// Wakes the callback for good: SDL closes a device with its lock held, the lock the callback
// runs under.
void StopResting(AudioDevice* device) {
    std::lock_guard<std::mutex> guard(device->restLock);
    device->closing = true;
    device->woken.notify_all();
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

void WakeAudio(AudioDevice* device) {
    std::lock_guard<std::mutex> guard(device->restLock);
    ++device->wakes;
    device->resting = false;
    device->woken.notify_all();
}

void CloseAudio(AudioDevice* device) {
    StopResting(device);
    SDL_CloseAudioDevice(device->id);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    delete device;
}

} // namespace platform
