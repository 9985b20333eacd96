#include "dsound/Mixer.h"

#include <algorithm>
#include <cmath>

namespace compat::audio {

namespace {

// Frames mixed in one go; the sums of one chunk live on the stack of the audio callback.
constexpr size_t kChunkFrames = 256;
constexpr float kFractionScale = 1.0f / 4294967296.0f;

int16_t Clip(float sum) {
    long value = std::lrint(sum);
    return static_cast<int16_t>(std::clamp(value, -32768L, 32767L));
}

} // namespace

float LevelToGain(LONG hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= -10000)
        return 0.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

Voice::Voice(const uint8_t* samples, size_t bytes, int channels, int bitsPerSample, DWORD frequency)
    : samples(samples), frameCount(0),
      frameBytes(static_cast<size_t>(channels) * static_cast<size_t>(bitsPerSample / 8)),
      channels(channels), bitsPerSample(bitsPerSample), frequency(frequency) {
    frameCount = frameBytes ? bytes / frameBytes : 0;
}

float Voice::Sample(size_t frame, int channel) const {
    const uint8_t* at = samples + frame * frameBytes;
    if (bitsPerSample == 8)
        return (static_cast<float>(at[channel]) - 128.0f) * 256.0f;
    at += 2 * channel;
    return static_cast<float>(static_cast<int16_t>(at[0] | (at[1] << 8)));
}

Mixer::Mixer(int rate) : rate(std::max(rate, 1)) {}

void Mixer::Attach(Voice& voice) {
    std::lock_guard<std::mutex> guard(lock);
    voices.push_back(&voice);
}

void Mixer::Detach(Voice& voice) {
    std::lock_guard<std::mutex> guard(lock);
    voices.erase(std::remove(voices.begin(), voices.end(), &voice), voices.end());
}

void Mixer::SetFrequency(Voice& voice, DWORD frequency) {
    std::lock_guard<std::mutex> guard(lock);
    voice.frequency = frequency;
}

void Mixer::SetVolume(Voice& voice, LONG volume) {
    float gain = LevelToGain(volume);
    std::lock_guard<std::mutex> guard(lock);
    voice.volumeGain = gain;
}

void Mixer::SetPan(Voice& voice, LONG pan) {
    // The side the sound moves away from is attenuated by |pan|; the other stays at full volume.
    float left = pan > 0 ? LevelToGain(-pan) : 1.0f;
    float right = pan < 0 ? LevelToGain(pan) : 1.0f;
    std::lock_guard<std::mutex> guard(lock);
    voice.leftPanGain = left;
    voice.rightPanGain = right;
}

void Mixer::Play(Voice& voice, bool looping) {
    std::lock_guard<std::mutex> guard(lock);
    voice.looping = looping;
    voice.playing = voice.frameCount > 0;
}

size_t Mixer::BeginWrite(Voice& voice) {
    std::lock_guard<std::mutex> guard(lock);
    ++voice.writers;
    size_t frame = static_cast<size_t>(voice.position >> 32);
    if (voice.playing && voice.frameCount > 0) {
        size_t ahead = (static_cast<size_t>(voice.frequency) + 99) / 100;
        frame = (frame + ahead) % voice.frameCount;
    }
    return frame;
}

bool Mixer::EndWrite(Voice& voice) {
    std::lock_guard<std::mutex> guard(lock);
    if (voice.writers == 0)
        return false;
    --voice.writers;
    return true;
}

int Mixer::PlayingVoices() const {
    std::lock_guard<std::mutex> guard(lock);
    return static_cast<int>(
        std::count_if(voices.begin(), voices.end(), [](const Voice* v) { return v->playing; }));
}

bool Mixer::Mix(int16_t* out, size_t frames) {
    float sum[2 * kChunkFrames];
    std::lock_guard<std::mutex> guard(lock);
    for (size_t done = 0; done < frames;) {
        size_t count = std::min(kChunkFrames, frames - done);
        std::fill(sum, sum + 2 * count, 0.0f);
        for (Voice* voice : voices)
            MixVoice(*voice, sum, count);
        for (size_t i = 0; i < 2 * count; ++i)
            out[2 * done + i] = Clip(sum[i]);
        done += count;
    }
    return std::any_of(voices.begin(), voices.end(), [](const Voice* v) { return v->playing; });
}

void Mixer::MixVoice(Voice& voice, float* sum, size_t frames) {
    if (!voice.playing)
        return;
    // Source frames per output frame, 32.32 fixed point: the voice's rate resampled to ours.
    const uint64_t step =
        (static_cast<uint64_t>(voice.frequency) << 32) / static_cast<uint64_t>(rate);
    const uint64_t length = static_cast<uint64_t>(voice.frameCount) << 32;
    // A buffer that is being written is not read; it keeps its place in time all the same.
    const bool audible = voice.writers == 0;
    const float leftGain = voice.volumeGain * voice.leftPanGain;
    const float rightGain = voice.volumeGain * voice.rightPanGain;
    const int rightChannel = voice.channels == 2 ? 1 : 0;

    for (size_t i = 0; i < frames; ++i) {
        if (audible) {
            size_t index = static_cast<size_t>(voice.position >> 32);
            size_t next = index + 1 < voice.frameCount ? index + 1 : voice.looping ? 0 : index;
            float fraction = static_cast<float>(voice.position & 0xFFFFFFFFu) * kFractionScale;
            float left = voice.Sample(index, 0);
            float right = voice.Sample(index, rightChannel);
            left += (voice.Sample(next, 0) - left) * fraction;
            right += (voice.Sample(next, rightChannel) - right) * fraction;
            sum[2 * i] += left * leftGain;
            sum[2 * i + 1] += right * rightGain;
        }
        voice.position += step;
        if (voice.position >= length) {
            if (!voice.looping) {
                // A sound played once stops at its end and starts from the beginning next time.
                voice.playing = false;
                voice.position = 0;
                return;
            }
            voice.position %= length;
        }
    }
}

} // namespace compat::audio
