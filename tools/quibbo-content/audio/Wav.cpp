#include "audio/Wav.h"

#include "io/LittleEndian.h"

namespace audio {

using io::Put16;
using io::Put32;
using io::PutTag;

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, uint32_t sampleRate) {
    constexpr uint32_t kFormatSize = 18;
    constexpr uint16_t kChannels = 1;
    constexpr uint16_t kBits = 16;
    constexpr uint16_t kBlockAlign = kChannels * kBits / 8;
    const uint32_t dataSize = static_cast<uint32_t>(samples.size()) * kBlockAlign;
    // A chunk of odd size is followed by a pad byte; ours are always even.
    const uint32_t riffSize = 4 + (8 + kFormatSize) + (8 + dataSize);

    std::vector<uint8_t> out;
    out.reserve(8 + riffSize);
    PutTag(out, "RIFF");
    Put32(out, riffSize);
    PutTag(out, "WAVE");

    PutTag(out, "fmt ");
    Put32(out, kFormatSize);
    Put16(out, 1); // WAVE_FORMAT_PCM
    Put16(out, kChannels);
    Put32(out, sampleRate);
    Put32(out, sampleRate * kBlockAlign);
    Put16(out, kBlockAlign);
    Put16(out, kBits);
    Put16(out, 0); // no extra format bytes

    PutTag(out, "data");
    Put32(out, dataSize);
    for (int16_t s : samples) {
        Put16(out, static_cast<uint16_t>(s));
    }
    return out;
}

} // namespace audio
