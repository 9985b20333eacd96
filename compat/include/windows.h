// The Win32 subset the game is written against, for platforms without the Windows SDK.
// Names, values and layouts follow the SDK for exactly what the game uses.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "wingdi.h"
#include "winuser.h"
