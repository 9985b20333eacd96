// The software mixer behind the DirectSound buffers: every playing buffer resampled to the
// output rate, scaled by its volume and pan, summed and clipped to 16-bit stereo.
//
// Two threads meet here: the game's, which changes voices, and the audio callback's, which
// mixes them. One lock guards every voice's state; the callback holds it only while it mixes one
// period, and nothing holds it while waiting for anything else.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace compat::audio {

// Linear gain of a level in hundredths of a decibel: 10^(level / 2000); -10000 and below is
// silence (0), 0 is 1.
float LevelToGain(LONG hundredthsOfDecibel);

// One buffer as the mixer sees it. The samples belong to the buffer and must outlive the voice's
// time in the mixer; everything else is changed only through the mixer, under its lock.
class Voice {
public:
    // `bytes` of PCM in `samples`: 8-bit unsigned or 16-bit signed little-endian, 1 or 2
    // channels, interleaved. A trailing part-frame is never played.
    Voice(const uint8_t* samples, size_t bytes, int channels, int bitsPerSample, DWORD frequency);

    size_t FrameBytes() const { return frameBytes; }
    size_t Frames() const { return frameCount; }

private:
    friend class Mixer;
    float Sample(size_t frame, int channel) const;

    const uint8_t* samples;
    size_t frameCount;
    size_t frameBytes;
    int channels;
    int bitsPerSample;

    DWORD frequency;
    float volumeGain = 1.0f;
    float leftPanGain = 1.0f;
    float rightPanGain = 1.0f;
    bool playing = false;
    bool looping = false;
    int writers = 0;       // outstanding locks: the samples may be changing, so they are not read
    uint64_t position = 0; // in frames, 32.32 fixed point
};

class Mixer {
public:
    // Mixes at `rate` output frames per second.
    explicit Mixer(int rate);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    int Rate() const { return rate; }

    // A voice takes part in the mix from Attach to Detach, stopped at first.
    void Attach(Voice& voice);
    void Detach(Voice& voice);

    void SetFrequency(Voice& voice, DWORD frequency);
    void SetVolume(Voice& voice, LONG volume);
    void SetPan(Voice& voice, LONG pan);
    // Starts a stopped voice from its position; a playing one goes on, with the new looping.
    void Play(Voice& voice, bool looping);

    // The voice's samples are about to be written: it stays silent (while its position still
    // moves on) until EndWrite. Returns the write cursor in frames: the play position when the
    // voice is stopped, about 10 ms past it when it plays, where writing is safe.
    size_t BeginWrite(Voice& voice);
    // False when there was no BeginWrite to end.
    bool EndWrite(Voice& voice);

    // The next `frames` frames of the mix, interleaved left and right; whether a voice still
    // plays after them.
    bool Mix(int16_t* out, size_t frames);
    int PlayingVoices() const;

private:
    void MixVoice(Voice& voice, float* sum, size_t frames);

    const int rate;
    mutable std::mutex lock;
    std::vector<Voice*> voices;
};

} // namespace compat::audio
