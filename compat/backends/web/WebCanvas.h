// The web backend: the page's canvas as the game's native window.
#pragma once

#include "platform/Display.h"

namespace platform {

// The page has one canvas; every native window the core makes stands for it, and the last one
// shown is the one the canvas shows.
struct NativeWindow {
    bool visible = true;
};

} // namespace platform
