#pragma once

#include <windows.h>
#include <dsound.h>

#include <cstdint>

// What a record of the sound table holds in its state field.
enum SoundState : int32_t {
    kSoundEmpty = 0,          // the table grew for it; nothing loaded (yet)
    kSoundLoaded = 1,         // the file's data is in the buffer
    kSoundStartedOnce = 3,    // last started to play once
    kSoundStartedLooping = 4, // last started to play in a loop
};

// One loaded sound effect: its own DirectSound buffer and where it came from.
struct SoundRecord {
    static constexpr int kNameSize = 256;

    LPDIRECTSOUNDBUFFER buffer;
    // The file name exactly as given to the load: at most 255 characters and the zero.
    char fileName[kNameSize];
    int32_t state;
    // The file's own sample rate: what a frequency of 0 stands for.
    DWORD sampleRate;
    // Bytes of sound data: the size of the file's "data" chunk and of the buffer.
    DWORD dataSize;
};
