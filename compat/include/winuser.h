// Windowing and input: window class and window, messages, cursor, key state.
#pragma once

#include "windef.h"

// --- Images ---

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2

#define LR_DEFAULTCOLOR 0x0000
#define LR_MONOCHROME 0x0001
#define LR_LOADFROMFILE 0x0010
#define LR_DEFAULTSIZE 0x0040
#define LR_CREATEDIBSECTION 0x2000
#define LR_SHARED 0x8000

// Loads a picture. Only bitmaps from files (LR_LOADFROMFILE, `name` a path) are offered: BMP
// files of 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed, RLE or with bit fields, become
// device-independent bitmaps (HBITMAP). Non-zero `cx`/`cy` scale the picture to that size.
// Null for anything else and for any malformed, truncated or oversized file.
HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad);

// --- Cursor ---

// Raises (TRUE) or lowers (FALSE) the cursor's display count and returns the new count; the
// cursor is shown while the count is 0 or more. The count starts at 0.
int WINAPI ShowCursor(BOOL bShow);
