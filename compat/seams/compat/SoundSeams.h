// Test seams of the sound platform: hearing the mix without an audio device.
// Only tests and tools include this header.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace compat::seams {

// From now on DirectSoundCreate opens no audio device: the new object's buffers are mixed only
// when RenderMix asks, at `rate` frames per second, 16-bit stereo. Until ResetAll.
void MixWithoutDevice(int rate = 44100);
// The next `frames` frames of the newest DirectSound object's mix, made exactly as the audio
// callback makes them: interleaved left and right 16-bit samples. Playing buffers move on by
// that much. Empty unless the newest DirectSound object was created after MixWithoutDevice and
// is still alive.
std::vector<int16_t> RenderMix(size_t frames);
// How many buffers of the newest DirectSound object are playing now (0 when there is none).
int PlayingBuffers();
// The rate, in frames per second, at which the newest DirectSound object mixes: the audio
// device's own rate, or the one given to MixWithoutDevice. 0 when there is none.
int MixRate();
// How many periods the newest DirectSound object's audio device has asked the mix for.
uint64_t DeviceFills();
// How many times CoUninitialize has been called since the last ResetAll.
int CoUninitializeCalls();

} // namespace compat::seams
