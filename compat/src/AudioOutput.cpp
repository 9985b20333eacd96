#include "AudioOutput.h"

#include "compat/Seams.h"
#include "compat/SoundSeams.h"

#include <SDL.h>

namespace compat::audio {

namespace {

constexpr int kPreferredRate = 44100;
// About 23 ms a period at 44100 Hz: an effect starts within a frame or two of being played,
// and the mixing thread wakes 43 times a second rather than 86 (at 12 ms its wake-ups were an
// eighth of what a hidden game costs).
constexpr Uint16 kPeriodFrames = 1024;
constexpr int kFrameBytes = 2 * sizeof(int16_t);

std::mutex registryLock;
bool mixWithoutDevice = false;
int deviceFreeRate = kPreferredRate;
// The newest output, for the test seams to listen to.
std::weak_ptr<AudioOutput> newest;

const bool resetRegistered = [] {
    compat::seams::AddResetHook([] {
        std::lock_guard<std::mutex> guard(registryLock);
        mixWithoutDevice = false;
        deviceFreeRate = kPreferredRate;
    });
    return true;
}();

std::shared_ptr<AudioOutput> Newest() {
    std::lock_guard<std::mutex> guard(registryLock);
    return newest.lock();
}

} // namespace

std::shared_ptr<AudioOutput> AudioOutput::Open() {
    (void)resetRegistered;
    bool withoutDevice;
    int rate;
    {
        std::lock_guard<std::mutex> guard(registryLock);
        withoutDevice = mixWithoutDevice;
        rate = deviceFreeRate;
    }
    std::shared_ptr<AudioOutput> output(new AudioOutput);
    if (!withoutDevice) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return nullptr;
        output->audioInitialised = true;
        SDL_AudioSpec wanted{};
        wanted.freq = kPreferredRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = kPeriodFrames;
        wanted.callback = Callback;
        wanted.userdata = output.get();
        SDL_AudioSpec obtained{};
        // SDL converts format and channels for us; a different rate we take as it is and mix at.
        output->device =
            SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (output->device == 0)
            return nullptr; // the destructor lets go of the audio subsystem
        rate = obtained.freq;
    }
    output->mixer = std::make_unique<Mixer>(rate);
    if (output->device != 0)
        SDL_PauseAudioDevice(output->device, 0);
    std::lock_guard<std::mutex> guard(registryLock);
    newest = output;
    return output;
}

AudioOutput::~AudioOutput() {
    if (device != 0)
        SDL_CloseAudioDevice(device);
    if (audioInitialised)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOutput::Callback(void* output, uint8_t* stream, int length) {
    auto* self = static_cast<AudioOutput*>(output);
    self->mixer->Mix(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(length) / kFrameBytes);
}

} // namespace compat::audio

namespace compat::seams {

void MixWithoutDevice(int rate) {
    std::lock_guard<std::mutex> guard(audio::registryLock);
    audio::mixWithoutDevice = true;
    audio::deviceFreeRate = rate > 0 ? rate : audio::kPreferredRate;
}

std::vector<int16_t> RenderMix(size_t frames) {
    auto output = audio::Newest();
    if (!output || output->HasDevice())
        return {};
    std::vector<int16_t> mix(2 * frames);
    output->GetMixer().Mix(mix.data(), frames);
    return mix;
}

int PlayingBuffers() {
    auto output = audio::Newest();
    return output ? output->GetMixer().PlayingVoices() : 0;
}

int MixRate() {
    auto output = audio::Newest();
    return output ? output->GetMixer().Rate() : 0;
}

} // namespace compat::seams
