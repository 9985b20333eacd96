// DirectSound: one secondary buffer per sound effect, with frequency, volume and pan, mixed by
// the platform layer onto the audio device.
#pragma once

#include "windows.h"
#include "mmsystem.h"
#include "unknwn.h"

// --- Result codes ---

#define _FACDS 0x878
#define MAKE_DSHRESULT(code) MAKE_HRESULT(1, _FACDS, code)

#define DS_OK S_OK
#define DSERR_ALLOCATED MAKE_DSHRESULT(10)
#define DSERR_CONTROLUNAVAIL MAKE_DSHRESULT(30)
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_INVALIDCALL MAKE_DSHRESULT(50)
#define DSERR_GENERIC E_FAIL
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_BADFORMAT MAKE_DSHRESULT(100)
#define DSERR_UNSUPPORTED E_NOTIMPL
#define DSERR_NODRIVER MAKE_DSHRESULT(120)
#define DSERR_NOAGGREGATION ((HRESULT)0x80040110L) // CLASS_E_NOAGGREGATION

// --- Cooperative levels ---

#define DSSCL_NORMAL 1
#define DSSCL_PRIORITY 2
#define DSSCL_EXCLUSIVE 3
#define DSSCL_WRITEPRIMARY 4

// --- Buffers ---

#define DSBCAPS_PRIMARYBUFFER 0x00000001
#define DSBCAPS_STATIC 0x00000002
#define DSBCAPS_LOCHARDWARE 0x00000004
#define DSBCAPS_LOCSOFTWARE 0x00000008
#define DSBCAPS_CTRL3D 0x00000010
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_CTRLPOSITIONNOTIFY 0x00000100
#define DSBCAPS_CTRLFX 0x00000200
#define DSBCAPS_STICKYFOCUS 0x00004000
#define DSBCAPS_GLOBALFOCUS 0x00008000
#define DSBCAPS_GETCURRENTPOSITION2 0x00010000
#define DSBCAPS_MUTE3DATMAXDISTANCE 0x00020000
#define DSBCAPS_LOCDEFER 0x00040000

#define DSBPLAY_LOOPING 0x00000001

#define DSBLOCK_FROMWRITECURSOR 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002

#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF

// Pan and volume in hundredths of a decibel; -10000 is silence.
#define DSBPAN_LEFT -10000
#define DSBPAN_CENTER 0
#define DSBPAN_RIGHT 10000
#define DSBVOLUME_MAX 0
#define DSBVOLUME_MIN -10000
#define DSBFREQUENCY_MIN 100
#define DSBFREQUENCY_MAX 200000
#define DSBFREQUENCY_ORIGINAL 0

typedef struct _DSBUFFERDESC {
    DWORD dwSize;  // sizeof(DSBUFFERDESC)
    DWORD dwFlags; // DSBCAPS_*
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
} DSBUFFERDESC, *LPDSBUFFERDESC;
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;
// The SDK's layout for the pointer size we are built for: 40 bytes in 64-bit programs, 36 in
// 32-bit ones.
static_assert(sizeof(DSBUFFERDESC) == (sizeof(void*) == 8 ? 40 : 36), "DSBUFFERDESC layout");

struct IDirectSound;
struct IDirectSoundBuffer;
typedef IDirectSound *LPDIRECTSOUND, **LPLPDIRECTSOUND;
typedef IDirectSoundBuffer *LPDIRECTSOUNDBUFFER, **LPLPDIRECTSOUNDBUFFER;

// The sound device. Its buffers are mixed together onto it.
struct IDirectSound : IUnknown {
    // A secondary buffer of dwBufferBytes in PCM (8 or 16 bits, mono or stereo, 4 to 192 kHz),
    // silent until written. DSERR_BADFORMAT for a format this device cannot play,
    // DSERR_INVALIDPARAM for a malformed description.
    virtual HRESULT WINAPI CreateSoundBuffer(LPCDSBUFFERDESC lpcDSBufferDesc,
                                             LPLPDIRECTSOUNDBUFFER lplpDirectSoundBuffer,
                                             LPUNKNOWN pUnkOuter) = 0;
    // DSSCL_NORMAL to DSSCL_WRITEPRIMARY for a window; every level shares the device.
    virtual HRESULT WINAPI SetCooperativeLevel(HWND hwnd, DWORD dwLevel) = 0;
};

// One sound: its samples, and how and whether they play.
struct IDirectSoundBuffer : IUnknown {
    // Hands out dwBytes of the buffer from dwOffset (or from the write cursor, or the whole
    // buffer), as a first region up to the end of the buffer and a second from its start. A
    // locked buffer is silent until it is unlocked.
    virtual HRESULT WINAPI Lock(DWORD dwOffset, DWORD dwBytes, LPVOID* ppvAudioPtr1,
                                LPDWORD pdwAudioBytes1, LPVOID* ppvAudioPtr2,
                                LPDWORD pdwAudioBytes2, DWORD dwFlags) = 0;
    // Starts the buffer from its play position, once or with DSBPLAY_LOOPING in a loop. A buffer
    // that is playing goes on from where it is; only its looping changes.
    virtual HRESULT WINAPI Play(DWORD dwReserved1, DWORD dwPriority, DWORD dwFlags) = 0;
    // -10000 (silence) to 0 (as recorded), in hundredths of a decibel.
    virtual HRESULT WINAPI SetVolume(LONG lVolume) = 0;
    // -10000 (right silent) to 10000 (left silent); the other side stays at full volume.
    virtual HRESULT WINAPI SetPan(LONG lPan) = 0;
    // 100 to 200000 frames per second, or DSBFREQUENCY_ORIGINAL for the format's own rate.
    virtual HRESULT WINAPI SetFrequency(DWORD dwFrequency) = 0;
    // Gives back what Lock handed out; the buffer plays what was written.
    virtual HRESULT WINAPI Unlock(LPVOID pvAudioPtr1, DWORD dwAudioBytes1, LPVOID pvAudioPtr2,
                                  DWORD dwAudioBytes2) = 0;
};

// Opens the default sound device (lpGuid null; no other device is offered). DSERR_NODRIVER when
// there is no audio device to open: the caller goes on without sound.
HRESULT WINAPI DirectSoundCreate(LPCGUID lpGuid, LPDIRECTSOUND* ppDS, LPUNKNOWN pUnkOuter);
