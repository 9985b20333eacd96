// Where the mix goes: an SDL audio device whose callback pulls from the mixer, or, in tests,
// nowhere until RenderMix asks for it.
#pragma once

#include "Mixer.h"

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
    bool HasDevice() const { return device != 0; }

private:
    AudioOutput() = default;
    static void Callback(void* output, uint8_t* stream, int length);

    // Made once the device has told its rate, before its callback is started.
    std::unique_ptr<Mixer> mixer;
    uint32_t device = 0;
    bool audioInitialised = false;
};

} // namespace compat::audio
