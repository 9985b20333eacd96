// Where the mix goes: the backend's audio device (platform/Audio.h), which pulls from the mixer,
// or, in tests, nowhere until RenderMix asks for it.
#pragma once

#include "dsound/Mixer.h"
#include "platform/Audio.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace compat::audio {

class AudioOutput {
public:
    // Opens the default audio device (44100 Hz 16-bit stereo, or the device's own rate) and
    // starts mixing onto it; with the MixWithoutDevice seam, opens nothing. Null when no audio
    // device can be opened.
    static std::shared_ptr<AudioOutput> Open();
    // Closes the device, waiting for a running callback to finish. Never called with the
    // mixer's lock held.
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    Mixer& GetMixer() { return *mixer; }
    // Starts `voice` (Mixer::Play), waking a device that rests while nothing sounds.
    void Play(Voice& voice, bool looping);
    bool HasDevice() const { return device != nullptr; }
    // Periods the device has asked for.
    uint64_t DeviceFills() const { return fills.load(std::memory_order_relaxed); }

private:
    AudioOutput() = default;
    static bool Fill(void* output, int16_t* out, size_t frames);

    // Made once the device has told its rate, before its callback is started.
    std::unique_ptr<Mixer> mixer;
    platform::AudioDevice* device = nullptr;
    std::atomic<uint64_t> fills{0};
};

} // namespace compat::audio
