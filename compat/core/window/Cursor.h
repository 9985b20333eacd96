// Inside the platform layer: whether the mouse cursor should be visible.
#pragma once

#include <windows.h>

namespace compat {

// True while ShowCursor's display count is 0 or more. A window made after the game hid the
// cursor hides it too.
bool CursorIsShown();
// ShowCursor's display count.
int CursorDisplayCount();

} // namespace compat
