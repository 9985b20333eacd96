// The multimedia services the game uses: the millisecond clock and RIFF file reading.
#pragma once

#include "windows.h"

typedef UINT MMRESULT;
#define MMSYSERR_NOERROR 0

// Milliseconds since an arbitrary start, as an unsigned 32-bit count that wraps after 2^32.
DWORD WINAPI timeGetTime(void);
