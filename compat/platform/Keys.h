// The backend contract: keys as the core knows them.
//
// Each backend maps its own keys to Windows' virtual-key codes (the VK_ names of winuser.h):
// letters follow the keyboard's layout, as Windows' do, and every other key goes by its place on
// the keyboard, named as on a US keyboard (the key right of '0' is VK_OEM_MINUS wherever it is).
#pragma once

namespace platform {

struct Key {
    // The code of the key's messages (VK_SHIFT for either shift key); 0 for a key Windows has
    // no code for.
    int code = 0;
    // For the shift, control and alt keys, the code of the side (VK_LSHIFT, ...); else 0.
    int side = 0;
};

} // namespace platform
