#include "sdl/WindowVisibility.h"

#include "sdl/X11Watch.h"

#include <X11/Xlib.h>

#include <poll.h>

namespace compat {

void WindowVisibility::Watch(SDL_Window* window) {
    Display* sdlDisplay = nullptr;
    XID xWindow = 0;
    if (!X11WindowOf(window, &sdlDisplay, &xWindow))
        return;
    if (display_ && window_ == xWindow)
        return;
    Release();
    // SDL's own connection reads its events in its own way: the visibility events come on a
    // connection of ours, which asks for nothing else.
    display_ = XOpenDisplay(DisplayString(sdlDisplay));
    if (!display_)
        return;
    window_ = xWindow;
    covered_ = false;
    XSelectInput(display_, window_, VisibilityChangeMask);
    XFlush(display_);
}

void WindowVisibility::Release() {
    if (display_)
        XCloseDisplay(display_);
    display_ = nullptr;
    window_ = 0;
    covered_ = false;
}

bool WindowVisibility::FullyCovered() {
    if (!display_)
        return false;
    // Only what has arrived: no request, no wait. Most frames nothing has, which one look at
    // the connection tells (reading it would take Xlib two).
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    if (XEventsQueued(display_, QueuedAlready) == 0 && poll(&connection, 1, 0) <= 0)
        return covered_;
    while (XEventsQueued(display_, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == VisibilityNotify && event.xvisibility.window == window_)
            covered_ = event.xvisibility.state == VisibilityFullyObscured;
    }
    return covered_;
}

} // namespace compat
