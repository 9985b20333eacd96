#include "sdl/X11Watch.h"

#include "sdl/SdlWindow.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

namespace compat {

namespace {

using ErrorHandler = int (*)(Display*, XErrorEvent*);
ErrorHandler earlierHandler = nullptr;
// The X window that went away under the game; 0 while none has.
XID goneWindow = 0;

// The X window of the game's window, or 0. Reads only what SDL keeps: no X request, so it can
// be asked from inside the error handler.
XID GameXWindow(SDL_Window** sdlWindow) {
    Display* display = nullptr;
    XID window = 0;
    return GameOnX(sdlWindow, &display, &window) ? window : 0;
}

// A window destroyed by another client is gone for every request on it: BadWindow for most,
// BadDrawable for drawing into it.
bool AboutMissingWindow(const XErrorEvent& error) {
    return error.error_code == BadWindow || error.error_code == BadDrawable;
}

int OnXError(Display* display, XErrorEvent* error) {
    if (AboutMissingWindow(*error)) {
        if (goneWindow != 0 && error->resourceid == goneWindow)
            return 0;
        // SDL goes on from a query of the gone window that failed with what the query did not
        // fill in (its parent, say): that window is no window either. Said, not fatal.
        if (goneWindow != 0) {
            fprintf(stderr,
                    "Quibbo's Puzzle: X error %d of request %d on 0x%lx, after the window was "
                    "destroyed: passed over\n",
                    error->error_code, error->request_code, error->resourceid);
            return 0;
        }
        SDL_Window* sdlWindow = nullptr;
        const XID game = GameXWindow(&sdlWindow);
        if (game != 0 && error->resourceid == game) {
            goneWindow = game;
            // Queued as the window manager's close is, and taken at the next pump.
            SDL_Event close;
            memset(&close, 0, sizeof(close));
            close.type = SDL_WINDOWEVENT;
            close.window.event = SDL_WINDOWEVENT_CLOSE;
            close.window.windowID = SDL_GetWindowID(sdlWindow);
            close.window.timestamp = SDL_GetTicks();
            SDL_PushEvent(&close);
            return 0;
        }
    }
    return earlierHandler ? earlierHandler(display, error) : 0;
}

} // namespace

bool X11WindowOf(SDL_Window* window, Display** display, XID* xWindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    *display = info.info.x11.display;
    *xWindow = info.info.x11.window;
    return true;
}

bool GameOnX(SDL_Window** sdlWindow, Display** display, XID* xWindow) {
    Window* window = WindowFromHandle(NewestProgramWindow());
    if (!window || !X11WindowOf(SdlWindowOf(window), display, xWindow))
        return false;
    *sdlWindow = SdlWindowOf(window);
    return true;
}

void EndOnWindowDestroyed() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || strcmp(driver, "x11") != 0 || earlierHandler)
        return;
    earlierHandler = XSetErrorHandler(OnXError);
}

} // namespace compat
