// The SDL backend: Windows virtual-key codes for SDL's keys.
#pragma once

#include "window/KeyCodes.h"

#include <SDL_keycode.h>

namespace compat {

// Letters follow the keyboard's layout, as Windows' do (SDL's 'a' is Windows' 'A'); every other
// key goes by its place on the keyboard, named as on a US keyboard (the key right of '0' is
// VK_OEM_MINUS wherever it is).
VirtualKey VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);

} // namespace compat
