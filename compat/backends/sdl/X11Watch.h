// Inside the platform layer: the game's window on an X server, as SDL keeps it, and destroyed
// under it.
#pragma once

struct SDL_Window;
struct _XDisplay;

namespace compat {

// Where `window` is an X window: SDL's connection to the X server and the X window; false
// elsewhere (another video driver, no window). Reads only what SDL keeps, with no X request.
bool X11WindowOf(SDL_Window* window, _XDisplay** display, unsigned long* xWindow);
// The same of the game's window, and its SDL window.
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
