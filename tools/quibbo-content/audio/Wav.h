// RIFF WAVE files as the game's sound loader reads them: 16-bit PCM, one channel, a "fmt "
// chunk of 18 bytes (the full WAVEFORMATEX with an extra size of 0, which the loader reads
// whole) and a "data" chunk.
#pragma once

#include <cstdint>
#include <vector>

namespace audio {

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, uint32_t sampleRate);

} // namespace audio
