// Inside the platform layer: Windows virtual-key codes for SDL's keys, and the characters that
// key-downs type.
#pragma once

#include <SDL_keycode.h>

namespace compat {

struct VirtualKey {
    // The code of the key's messages (VK_SHIFT for either shift key); 0 for a key Windows
    // has no code for.
    int code = 0;
    // For the shift, control and alt keys, the code of the side (VK_LSHIFT, ...); else 0.
    int side = 0;
};

// The shared code (VK_SHIFT, VK_CONTROL or VK_MENU) of a side's key (VK_LSHIFT ... VK_RMENU);
// 0 for any other key.
int SharedCode(int virtualKey);

// Letters follow the keyboard's layout, as Windows' do (SDL's 'a' is Windows' 'A'); every other
// key goes by its place on the keyboard, named as on a US keyboard (the key right of '0' is
// VK_OEM_MINUS wherever it is).
VirtualKey VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);

// The character a key-down of `virtualKey` types on a US keyboard, with or without shift held;
// 0 for a key that types none.
int CharacterOfKey(int virtualKey, bool shift);

} // namespace compat
