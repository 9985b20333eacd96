#pragma once

#include "sound/SoundRecord.h"

#include <windows.h>
#include <dsound.h>

#include <cstdint>

class CLog;

// The game's sound effects. Each WAV file is loaded whole into a DirectSound buffer of its own
// and named by its sound ID: its place in the sound table counted from 1 (0: a failed load).
// Writes "logs/sound.txt".
class CSound {
public:
    CSound() = default;
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    // Opens the log and DirectSound for the window. False, with the reason logged, when there
    // will be no sound; the game then goes on silently.
    bool Init(HWND window);
    // Loads a PCM WAV file into a new buffer: its sound ID, or 0 when it could not be loaded.
    int32_t LoadWav(const char* fileName);
    // Starts a sound: frequency in hertz (0: the file's own rate), volume in percent (0: full),
    // pan in hundredths of a decibel (0: centre), flags as for IDirectSoundBuffer::Play
    // (DSBPLAY_LOOPING: loop). A sound that is still playing is not restarted.
    bool Play(int32_t id, DWORD frequency, int8_t volume, LONG pan, DWORD flags);
    bool SetFrequency(int32_t id, DWORD frequency);
    bool SetVolume(int32_t id, int8_t volume);
    // Pan in hundredths of a decibel, negative to the left, positive to the right.
    bool PanSound(int32_t id, LONG pan);
    // Releases every buffer, DirectSound and the log.
    void Release();

private:
    friend struct CSoundProbe; // tests look at the table

    CLog& Log();
    bool GrowTable();
    bool IsValid(int32_t id) const;
    // Drops the newest record after a failed load.
    void DropRecord() { --soundCount; }
    void ReleaseBuffer(SoundRecord& record);

    HRESULT lastResult = DS_OK;
    HWND window = nullptr;
    LPDIRECTSOUND directSound = nullptr;
    int32_t soundCount = 0;
    SoundRecord* sounds = nullptr;
    CLog* log = nullptr;
};
