// Inside the platform layer: the shared codes of the sides' keys, and the characters that
// key-downs type. Each backend maps its own keys to virtual-key codes (platform/Keys.h).
#pragma once

#include "platform/Keys.h"

namespace compat {

using VirtualKey = platform::Key;

// The shared code (VK_SHIFT, VK_CONTROL or VK_MENU) of a side's key (VK_LSHIFT ... VK_RMENU);
// 0 for any other key.
int SharedCode(int virtualKey);

// The character a key-down of `virtualKey` types on a US keyboard, with or without shift held;
// 0 for a key that types none.
int CharacterOfKey(int virtualKey, bool shift);

} // namespace compat
