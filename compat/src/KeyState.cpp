// GetAsyncKeyState: keys down now, and keys pressed since the previous poll of each.
#include "KeyState.h"

#include "compat/Seams.h"

#include <array>

namespace compat {

namespace {

struct KeyTable {
    std::array<bool, 256> down{};
    // Went down since the previous GetAsyncKeyState for the key.
    std::array<bool, 256> pressed{};
    bool shiftForMessages = false;
};

KeyTable& Keys() {
    static KeyTable keys = [] {
        seams::AddResetHook(ForgetKeys);
        return KeyTable{};
    }();
    return keys;
}

bool Valid(int virtualKey) {
    return virtualKey > 0 && virtualKey < 256;
}

// The shared code of a side's key, or 0.
int SharedCode(int virtualKey) {
    switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return 0;
    }
}

} // namespace

void KeyWentDown(int virtualKey) {
    if (!Valid(virtualKey))
        return;
    KeyTable& keys = Keys();
    keys.down[virtualKey] = true;
    keys.pressed[virtualKey] = true;
    if (const int shared = SharedCode(virtualKey))
        keys.pressed[shared] = true;
}

void KeyWentUp(int virtualKey) {
    if (Valid(virtualKey))
        Keys().down[virtualKey] = false;
}

bool KeyIsDown(int virtualKey) {
    if (!Valid(virtualKey))
        return false;
    const KeyTable& keys = Keys();
    if (keys.down[virtualKey])
        return true;
    switch (virtualKey) {
    case VK_SHIFT:
        return keys.down[VK_LSHIFT] || keys.down[VK_RSHIFT];
    case VK_CONTROL:
        return keys.down[VK_LCONTROL] || keys.down[VK_RCONTROL];
    case VK_MENU:
        return keys.down[VK_LMENU] || keys.down[VK_RMENU];
    default:
        return false;
    }
}

void ForgetKeys() {
    Keys() = KeyTable{};
}

void KeyMessageTaken(UINT message, WPARAM virtualKey) {
    if (virtualKey != VK_SHIFT && virtualKey != VK_LSHIFT && virtualKey != VK_RSHIFT)
        return;
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
        Keys().shiftForMessages = true;
    else if (message == WM_KEYUP || message == WM_SYSKEYUP)
        Keys().shiftForMessages = false;
}

bool ShiftDownForMessages() {
    return Keys().shiftForMessages;
}

} // namespace compat

SHORT WINAPI GetAsyncKeyState(int vKey) {
    using namespace compat;
    if (!Valid(vKey))
        return 0;
    bool& pressed = Keys().pressed[vKey];
    const int state = (KeyIsDown(vKey) ? 0x8000 : 0) | (pressed ? 1 : 0);
    pressed = false;
    return static_cast<SHORT>(state);
}
