// Inside the platform layer: the game's window destroyed under it on an X server.
#pragma once

struct SDL_Window;
struct _XDisplay;

namespace compat {

// The game's window where SDL's video runs on X: its SDL window, SDL's connection to the X
// server and the X window; false elsewhere. Reads only what SDL keeps, with no X request.
bool GameOnX(SDL_Window** sdlWindow, _XDisplay** display, unsigned long* xWindow);

// Another program may destroy the game's X window (`xdotool windowclose`, some session
// managers). Xlib's standard error handler then ends the program at the next request on it,
// with "X Error of failed request: BadWindow" and code 1. From this call on, the first such
// error on the game's window closes it as the window manager's close does. The missing-window
// errors that follow are its aftermath and passed over: silently on that window, with a line
// on stderr on any other. Every other X error goes on to the handler before ours (SDL's, then
// Xlib's: a message and exit code 1), as before. Does nothing unless SDL's video runs on X.
// Call it after video has started.
void EndOnWindowDestroyed();

} // namespace compat
