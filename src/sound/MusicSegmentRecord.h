#pragma once

#include <windows.h>
#include <dmusici.h>

// One entry of the music object's segment table: two interfaces, released alike, and a part
// that nothing in the game reads.
struct MusicSegmentRecord {
    IDirectMusicSegment* segment;
    IDirectMusicSegmentState* segmentState;
    BYTE untouched[260];
};
