// The SDL backend: the game's windows as SDL windows.
#pragma once

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

// Makes the window's SDL window (SDL_CreateWindow's placement and flags) with the window's
// title and its class's icon, and the cursor as ShowCursor left it. False when SDL cannot.
bool MakeSdlWindow(Window* window, int x, int y, int width, int height, uint32_t flags);
// The live window whose SDL window has this SDL window id, or null.
HWND WindowOfSdlWindowId(uint32_t id);

} // namespace compat
