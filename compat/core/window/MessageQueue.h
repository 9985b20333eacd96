// Inside the platform layer: the thread's message queue, and the input that fills it.
#pragma once

#include <windows.h>

#include <functional>

namespace compat {

// --- The queue ---

// Drops the messages of a window that is being destroyed.
void ForgetMessagesOf(HWND window);
// Messages waiting, the quit message included.
int PendingMessageCount();
void SetPeekHook(std::function<void()> hook);

// --- Input, from the backend's events (platform/Input.h) or from the seams ---

// A key went down (again while held: an auto-repeat) or up; `side` is the side's code of a
// shift, control or alt key, else 0. The key state changes at once; the key message goes to
// `window` when there is one: WM_SYSKEYDOWN/UP while alt is held without control, and for F10.
// Alt+F4 also asks the window to close.
void KeyInput(HWND window, int virtualKey, int side, bool down);
// The pointer moved to `modePixel` (the display mode's pixels) over `window`.
void MouseMoveInput(HWND window, POINT modePixel);
// The left button went down or up; a second click in a window whose class has CS_DBLCLKS is
// a double click when `doubleClick` is set.
void LeftButtonInput(HWND window, POINT modePixel, bool down, bool doubleClick);
// The system's close command for the window (once while one is waiting).
void CloseInput(HWND window);
// The pointer's latest position, in the display mode's pixels.
POINT PointerPosition();

} // namespace compat
