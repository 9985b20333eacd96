// The web backend: Windows virtual-key codes for the page's keys.
#pragma once

#include "window/KeyCodes.h"

namespace compat {

// `code` is KeyboardEvent.code (the key's place: "KeyQ", "Digit1", "ArrowLeft"), `key` its
// KeyboardEvent.key. Letters follow the keyboard's layout, as Windows' do (the key that types
// "a" is 'A' wherever it is); every other key goes by its place on the keyboard, named as on a
// US keyboard (the key right of '0' is VK_OEM_MINUS wherever it is). The same keys as the SDL
// backend's.
VirtualKey VirtualKeyFromCode(const char* code, const char* key);

} // namespace compat
