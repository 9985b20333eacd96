#pragma once

#include "sound/MusicSegmentRecord.h"

#include <windows.h>
#include <dmusici.h>

#include <cstdint>

class CLog;

// The music object. The game keeps a slot for one but never fills it, so no music is ever
// played; only its release exists, for a music object that holds DirectMusic objects.
class CMusic {
public:
    CMusic() = default;
    CMusic(const CMusic&) = delete;
    CMusic& operator=(const CMusic&) = delete;

    // Releases the segments, the loader and the performance, closes COM and the music log.
    void Release();

private:
    friend struct CMusicProbe; // tests fill what no operation of the game fills

    CLog& Log();

    int32_t reserved[2] = {}; // two leading fields the release does not use
    IDirectMusicPerformance* performance = nullptr;
    IDirectMusicLoader* loader = nullptr;
    int32_t segmentCount = 0;
    MusicSegmentRecord* segments = nullptr;
    CLog* log = nullptr;
};
