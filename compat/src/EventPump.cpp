// SDL's events as window messages: keys, the pointer and the left button, close commands;
// game controllers as keys and the pointer (Pad.cpp).
#include "KeyCodes.h"
#include "sdl/SdlKeys.h"
#include "MessageQueue.h"
#include "Pad.h"
#include "Window.h"
#include "sdl/SdlWindow.h"
#include "compat/Seams.h"

#include <SDL.h>

namespace compat {

namespace {

// The window an event belongs to; events of no window of ours go to the game's window.
HWND TargetOf(uint32_t sdlWindowId) {
    HWND window = WindowOfSdlWindowId(sdlWindowId);
    return window ? window : NewestProgramWindow();
}

// Alt+Enter switches between full screen and a window; neither its Enter (down, repeated or
// up) reaches the game. True for the events it takes.
bool TakeSwitchKey(const SDL_Event& event) {
    static bool enterTaken = false;
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP)
        return false;
    const SDL_Keycode key = event.key.keysym.sym;
    if (key != SDLK_RETURN && key != SDLK_KP_ENTER)
        return false;
    if (event.type == SDL_KEYUP) {
        const bool taken = enterTaken;
        enterTaken = false;
        return taken;
    }
    if (!(event.key.keysym.mod & KMOD_ALT) && !enterTaken)
        return false;
    if (!event.key.repeat && !enterTaken)
        SwitchFullScreen(TargetOf(event.key.windowID));
    enterTaken = true;
    return true;
}

void Handle(const SDL_Event& event) {
    if (TakeSwitchKey(event) || PadEvent(event))
        return;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        // Auto-repeats come as further key-downs, at the desktop's rate.
        const VirtualKey key = VirtualKeyFromSdl(event.key.keysym.sym, event.key.keysym.scancode);
        if (key.code)
            KeyInput(TargetOf(event.key.windowID), key.code, key.side, event.type == SDL_KEYDOWN);
        break;
    }
    case SDL_MOUSEMOTION: {
        HWND window = TargetOf(event.motion.windowID);
        MouseMoveInput(window, ModePixelFromWindow(window, event.motion.x, event.motion.y));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (event.button.button != SDL_BUTTON_LEFT)
            break;
        HWND window = TargetOf(event.button.windowID);
        // Clicks count up while they come quickly: every second one is a double click.
        LeftButtonInput(window, ModePixelFromWindow(window, event.button.x, event.button.y),
                        event.type == SDL_MOUSEBUTTONDOWN, event.button.clicks % 2 == 0);
        break;
    }
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            CloseInput(TargetOf(event.window.windowID));
        break;
    case SDL_QUIT:
        // The last window was closed, or the process was asked to end (SIGINT, SIGTERM).
        CloseInput(NewestProgramWindow());
        break;
    default:
        break;
    }
}

// A fresh start drops the input that has not been pumped yet.
const bool registered = [] {
    seams::AddResetHook([] {
        if (SDL_WasInit(SDL_INIT_VIDEO))
            SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    });
    return true;
}();

} // namespace

void PumpSdlEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    PadsBeforeEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Handle(event);
    PadPass();
}

} // namespace compat
