// Test seams of windowing and input: keys, the mouse and the window's close command as if they
// came from the player, a hook between passes of the game's loop, and the cursor's display
// count. Only tests and tools include this header.
#pragma once

#include <windows.h>

#include <functional>

namespace compat::seams {

// --- The keyboard ---

// The key goes down: its asynchronous state reads pressed at once, and a WM_KEYDOWN with the
// virtual-key code joins the queue of the game's window. Again while it is down: one more
// key-down, as the keyboard's auto-repeat makes them.
void KeyDown(int virtualKey);
// The key goes up: WM_KEYUP joins the queue. A key pressed and released before anything polled
// it still reads pressed once (GetAsyncKeyState's "pressed since the last poll").
void KeyUp(int virtualKey);
// Every key up and none pressed since the last poll (for a fresh start); queued messages stay.
void ReleaseAllKeys();

// --- The mouse, in the display mode's pixels ---

void MouseMove(int x, int y);
void LeftButtonDown(int x, int y);
void LeftButtonUp(int x, int y);

// --- The window ---

// The system's close command for the window (the window manager's close, Alt+F4): WM_CLOSE
// joins the queue, and DefWindowProcA destroys the window when it gets it.
void CloseWindow(HWND window);
// The newest live window made by CreateWindowExA, or null.
HWND GameWindow();
// Messages waiting in the queue, the quit message included.
int PendingMessages();

// --- The game loop ---

// Runs `hook` at the start of every PeekMessageA, before it looks at the queue: the one place
// between two passes of the game's loop, where a replay driver feeds its input. An empty
// function removes the hook. Removed by ResetAll.
void OnEachPeek(std::function<void()> hook);

// --- The cursor ---

// ShowCursor's display count (the cursor shows while it is 0 or more).
int CursorDisplayCount();

} // namespace compat::seams
