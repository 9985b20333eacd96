// The backend contract: the mixed sound, played on the default audio device.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// An open audio device; only the backend knows what it is.
struct AudioDevice;

// Fills `frames` stereo frames of signed 16-bit samples (left first) at the device's rate.
// Called on the backend's own audio thread (where there is only one thread, as on a web page:
// while the game waits, in a sleep or a frame's pacing), from StartAudio until CloseAudio returns.
// False when nothing sounds on after these frames: the backend may then rest, calling no more
// until WakeAudio, once these frames are on their way.
using FillAudio = bool (*)(void* context, int16_t* out, size_t frames);

// Opens the default audio device for 16-bit stereo at `preferredRate`, or at the device's own
// rate, which `*rate` gets. Silent until StartAudio. Null when no device can be opened.
AudioDevice* OpenAudio(int preferredRate, FillAudio fill, void* context, int* rate);
void StartAudio(AudioDevice* device);
// A sound was started: a backend resting since a fill that left nothing sounding fills again.
void WakeAudio(AudioDevice* device);
// Closes the device, waiting for a running fill to finish.
void CloseAudio(AudioDevice* device);

} // namespace platform
