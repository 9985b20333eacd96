// The display contract's start and desktop on SDL's video.
#include "sdl/SdlVideo.h"

#include "platform/Display.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace compat {

void Complain(const char* what) {
    std::fprintf(stderr, "compat: %s: %s\n", what, SDL_GetError());
}

bool HeadlessVideo() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

} // namespace compat

namespace platform {

bool StartVideo() {
    static const bool started = [] {
        // Without any display SDL would fall back to drawing offscreen: a game nobody can see.
        // A driver named in SDL_VIDEODRIVER is taken as it is (tests, the replay driver).
        const auto given = [](const char* name) {
            const char* value = std::getenv(name);
            return value && *value;
        };
        const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
        const bool chosen = named && *named;
        if (!chosen && !given("DISPLAY") && !given("WAYLAND_DISPLAY")) {
            SDL_SetError("no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY "
                         "is set)");
            compat::Complain("no video");
            return false;
        }
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            compat::Complain("no video");
            return false;
        }
        if (!chosen && compat::HeadlessVideo()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            SDL_SetError("no display answers at DISPLAY or WAYLAND_DISPLAY");
            compat::Complain("no video");
            return false;
        }
        return true;
    }();
    return started;
}

void DesktopSize(int* width, int* height) {
    SDL_DisplayMode mode{};
    if (StartVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        *width = mode.w;
        *height = mode.h;
        return;
    }
    *width = 1024;
    *height = 768;
}

} // namespace platform
