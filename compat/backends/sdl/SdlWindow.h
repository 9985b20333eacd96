// The SDL backend: the game's windows as SDL windows.
#pragma once

#include "platform/Present.h"
#include "window/Window.h"

#include <cstdint>

struct SDL_Window;

namespace compat {

// A window's native window is its SDL window.
inline SDL_Window* SdlWindowOf(platform::NativeWindow* native) {
    return reinterpret_cast<SDL_Window*>(native);
}
inline SDL_Window* SdlWindowOf(const Window* window) {
    return SdlWindowOf(window->native);
}

// Makes a native window as an SDL window (SDL_CreateWindow's placement and flags) with the
// title, icon and pointer of `look`. False when SDL cannot.
bool MakeSdlWindow(platform::NativeWindow** native, const platform::WindowLook& look, int x, int y,
                   int width, int height, uint32_t flags);

} // namespace compat
