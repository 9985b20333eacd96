// The display contract's windows and pointer on SDL's windows.
#include "sdl/SdlWindow.h"

#include "sdl/HangUp.h"
#include "sdl/X11Watch.h"

#include <SDL.h>

namespace compat {

namespace {

void SetSdlIcon(SDL_Window* sdlWindow, const platform::WindowLook& look) {
    if (!look.iconArgb)
        return;
    // SDL copies the pixels; the surface only lends them.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(look.iconArgb), look.iconWidth, look.iconHeight, 32,
        look.iconWidth * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return;
    SDL_SetWindowIcon(sdlWindow, surface);
    SDL_FreeSurface(surface);
}

} // namespace

bool MakeSdlWindow(platform::NativeWindow** native, const platform::WindowLook& look, int x, int y,
                   int width, int height, uint32_t flags) {
    SDL_Window* made = SDL_CreateWindow(look.title, x, y, width, height, flags);
    *native = reinterpret_cast<platform::NativeWindow*>(made);
    if (!made)
        return false;
    SetSdlIcon(made, look);
    // The game may have hidden the cursor before there was a window to hide it in.
    SDL_ShowCursor(look.pointerShown ? SDL_ENABLE : SDL_DISABLE);
    return true;
}

} // namespace compat

namespace platform {

bool VideoStarted() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

void WatchForOutsideEnd() {
    compat::EndOnHangUp();
    compat::EndOnWindowDestroyed();
}

void DestroyNativeWindow(NativeWindow* window) {
    SDL_DestroyWindow(compat::SdlWindowOf(window));
}

void ShowNativeWindow(NativeWindow* window, bool visible) {
    if (visible)
        SDL_ShowWindow(compat::SdlWindowOf(window));
    else
        SDL_HideWindow(compat::SdlWindowOf(window));
}

void ResizeNativeWindow(NativeWindow* window, int width, int height) {
    SDL_SetWindowSize(compat::SdlWindowOf(window), width, height);
}

void ShowPointer(bool shown) {
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

} // namespace platform
