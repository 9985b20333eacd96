// The backend contract: input events, which the backend delivers to the core.
//
// The core implements these; the backend calls them from PumpEvents, for the window an event
// belongs to (null: the game's window). Positions are in the window's coordinates; the core
// finds the display mode's pixel under them.
#pragma once

#include "platform/Keys.h"

namespace platform {

struct NativeWindow;

// The backend's side: moves its pending events into the core's calls below (PeekMessageA calls
// it once per peek). A fresh start for tests drops the events not pumped yet.
void PumpEvents();

// The core's side. A key went down (again while held: an auto-repeat) or up.
void KeyEvent(NativeWindow* window, Key key, bool down);
void PointerMoved(NativeWindow* window, int x, int y);
// The left button; `doubleClick` for the second click of a quick pair.
void LeftButton(NativeWindow* window, int x, int y, bool down, bool doubleClick);
// The window (or, for null, the program) was asked to close: the window manager's close
// button, Ctrl+C or SIGTERM.
void CloseRequested(NativeWindow* window);
// The player's switch between full screen and a window (Alt+Enter).
void SwitchFullScreenRequested(NativeWindow* window);

} // namespace platform
