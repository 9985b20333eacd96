// The input contract on SDL's events: keys, the pointer and the left button, close commands;
// game controllers as keys and the pointer (Pad.cpp, pad/PadLayout.cpp).
#include "platform/Input.h"

#include "compat/Seams.h"
#include "pad/PadLayout.h"
#include "sdl/Pad.h"
#include "sdl/SdlKeys.h"

#include "sdl/X11Watch.h"

#include <SDL.h>

#include <X11/Xlib.h>

#include <poll.h>

namespace compat {

namespace {

// The window an event belongs to (null for none of ours: the core takes the game's window).
platform::NativeWindow* WindowOf(uint32_t sdlWindowId) {
    return reinterpret_cast<platform::NativeWindow*>(SDL_GetWindowFromID(sdlWindowId));
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
        platform::SwitchFullScreenRequested(WindowOf(event.key.windowID));
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
        platform::KeyEvent(WindowOf(event.key.windowID), key, event.type == SDL_KEYDOWN);
        break;
    }
    case SDL_MOUSEMOTION: {
        platform::PointerMoved(WindowOf(event.motion.windowID), event.motion.x, event.motion.y);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (event.button.button != SDL_BUTTON_LEFT)
            break;
        // Clicks count up while they come quickly: every second one is a double click.
        platform::LeftButton(WindowOf(event.button.windowID), event.button.x, event.button.y,
                             event.type == SDL_MOUSEBUTTONDOWN, event.button.clicks % 2 == 0);
        break;
    }
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            platform::CloseRequested(WindowOf(event.window.windowID));
        break;
    case SDL_QUIT:
        // The last window was closed, or the process was asked to end (SIGINT, SIGTERM).
        platform::CloseRequested(nullptr);
        break;
    default:
        break;
    }
}

// SDL's pump reads its connection to the X server four times, most passes for nothing. While
// nothing has arrived there it is passed over, though never for longer than this, so that SDL's
// other work in the pump goes on: the quit a signal asked for, the screen saver's heartbeat, the
// focus changes it holds back.
constexpr Uint32 kLongestUnpumpedMs = 50;

bool PumpDue() {
    static Uint32 lastPump = 0;
    static bool pumped = false;
    const Uint32 now = SDL_GetTicks();
    SDL_Window* window = nullptr;
    Display* display = nullptr;
    XID xWindow = 0;
    bool due = !pumped || now - lastPump >= kLongestUnpumpedMs ||
               !GameOnX(&window, &display, &xWindow) || XEventsQueued(display, QueuedAlready) > 0;
    if (!due) {
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        due = poll(&connection, 1, 0) != 0;
    }
    if (due) {
        lastPump = now;
        pumped = true;
    }
    return due;
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

} // namespace compat

void platform::PumpEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    compat::PadsBeforeEvents();
    if (compat::PumpDue())
        SDL_PumpEvents();
    // The events pumped, and those queued otherwise (the controllers', a close of ours).
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        compat::Handle(event);
    compat::pad::PadPass();
}
