// GetAsyncKeyState: keys down now, and keys pressed since the previous poll of each.
#include "window/KeyState.h"

#include "window/KeyCodes.h"
#include "record/Recorder.h"

#include "compat/Seams.h"

#include <array>

namespace compat {

namespace {

struct KeyTable {
    std::array<bool, 256> down{};
    // Went down since the previous GetAsyncKeyState for the key.
    std::array<bool, 256> pressed{};
    std::array<bool, 256> asked{};
    bool shiftForMessages = false;
};

KeyTable& Keys() {
    static KeyTable keys = [] {
        seams::AddResetHook(ForgetKeys);
        return KeyTable{};
    }();
    return keys;
}

} // namespace

void KeyWentDown(int virtualKey) {
    if (!IsVirtualKey(virtualKey))
        return;
    KeyTable& keys = Keys();
    keys.down[virtualKey] = true;
    keys.pressed[virtualKey] = true;
    if (const int shared = SharedCode(virtualKey))
        keys.pressed[shared] = true;
}

void KeyWentUp(int virtualKey) {
    if (IsVirtualKey(virtualKey))
        Keys().down[virtualKey] = false;
}

bool KeyIsDown(int virtualKey) {
    if (!IsVirtualKey(virtualKey))
        return false;
    const KeyTable& keys = Keys();
    if (keys.down[virtualKey])
        return true;
    for (int side = VK_LSHIFT; side <= VK_RMENU; ++side)
        if (keys.down[side] && SharedCode(side) == virtualKey)
            return true;
    return false;
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

bool TakeKeyAsked(int virtualKey) {
    if (!IsVirtualKey(virtualKey))
        return false;
    bool& asked = Keys().asked[virtualKey];
    const bool was = asked;
    asked = false;
    return was;
}

bool ShiftDownForMessages() {
    return Keys().shiftForMessages;
}

} // namespace compat

SHORT WINAPI GetAsyncKeyState(int vKey) {
    using namespace compat;
    if (!IsVirtualKey(vKey))
        return 0;
    bool& pressed = Keys().pressed[vKey];
    Keys().asked[vKey] = true;
    const int state = (KeyIsDown(vKey) ? 0x8000 : 0) | (pressed ? 1 : 0);
    pressed = false;
    return AnswerKeyPoll(vKey, static_cast<SHORT>(state));
}
