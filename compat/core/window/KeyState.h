// Inside the platform layer: which keys (and mouse buttons) are down, for GetAsyncKeyState.
#pragma once

#include <windows.h>

namespace compat {

// The codes a key table holds: 1 to 255.
inline bool IsVirtualKey(int virtualKey) {
    return virtualKey > 0 && virtualKey < 256;
}

// A key went down (again, for an auto-repeat) or up. A side's code (VK_LSHIFT, ...) counts for
// its shared code (VK_SHIFT) too.
void KeyWentDown(int virtualKey);
void KeyWentUp(int virtualKey);
bool KeyIsDown(int virtualKey);
// Every key up and nothing pressed since the last poll.
void ForgetKeys();
// Whether the game has asked GetAsyncKeyState about the key since the last time this was
// taken: the keys it polls are the ones it has bound. Clears the mark.
bool TakeKeyAsked(int virtualKey);

// Shift as the messages taken so far have it (Windows' GetKeyState), which the characters of
// TranslateMessage follow: a key message that comes out of the queue moves it on.
void KeyMessageTaken(UINT message, WPARAM virtualKey);
bool ShiftDownForMessages();

} // namespace compat
