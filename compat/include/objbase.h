// COM: only what the music object's release calls.
#pragma once

#include "windef.h"
#include "unknwn.h"

// Closes COM on the calling thread. There is no COM on this platform, so there is nothing to
// close; the call is kept so that code written for Windows runs unchanged.
void WINAPI CoUninitialize(void);
