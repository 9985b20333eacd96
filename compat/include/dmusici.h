// DirectMusic: only the interfaces that the music object's release calls. This platform has no
// DirectMusic and nothing here creates these objects; the game never makes a music object.
#pragma once

#include "windows.h"
#include "objbase.h"

struct IDirectMusicSegment : IUnknown {};
typedef IDirectMusicSegment* LPDIRECTMUSICSEGMENT;

struct IDirectMusicSegmentState : IUnknown {};
typedef IDirectMusicSegmentState* LPDIRECTMUSICSEGMENTSTATE;

struct IDirectMusicLoader : IUnknown {};
typedef IDirectMusicLoader* LPDIRECTMUSICLOADER;

struct IDirectMusicPerformance : IUnknown {
    // Stops the performance and lets go of everything it holds; Release follows.
    virtual HRESULT WINAPI CloseDown() = 0;
};
typedef IDirectMusicPerformance* LPDIRECTMUSICPERFORMANCE;
