#include "dsound/AudioOutput.h"

#include "compat/Seams.h"
#include "compat/SoundSeams.h"

#include <mutex>

namespace compat::audio {

namespace {

constexpr int kPreferredRate = 44100;

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
        output->device = platform::OpenAudio(kPreferredRate, Fill, output.get(), &rate);
        if (!output->device)
            return nullptr;
    }
    output->mixer = std::make_unique<Mixer>(rate);
    if (output->device)
        platform::StartAudio(output->device);
    std::lock_guard<std::mutex> guard(registryLock);
    newest = output;
    return output;
}

AudioOutput::~AudioOutput() {
    if (device)
        platform::CloseAudio(device);
}

void AudioOutput::Play(Voice& voice, bool looping) {
    mixer->Play(voice, looping);
    if (device)
        platform::WakeAudio(device);
}

bool AudioOutput::Fill(void* output, int16_t* out, size_t frames) {
    auto* self = static_cast<AudioOutput*>(output);
    self->fills.fetch_add(1, std::memory_order_relaxed);
    return self->mixer->Mix(out, frames);
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

uint64_t DeviceFills() {
    auto output = audio::Newest();
    return output ? output->DeviceFills() : 0;
}

int MixRate() {
    auto output = audio::Newest();
    return output ? output->GetMixer().Rate() : 0;
}

} // namespace compat::seams
