// Inside the platform layer: the window object behind every HWND.
//
// An HWND is a pointer to a compat::Window. The window procedure, class and message queue
// come with the windowing calls (RegisterClassA, CreateWindowExA, the message pump); until
// then tests and tools make windows through the graphics seams. The SDL window is made when
// the window is first shown as a screen (IDirectDraw7::SetDisplayMode) and belongs to the
// window object.
#pragma once

#include <windows.h>

#include <string>

struct SDL_Window;

namespace compat {

class Screen;

struct Window {
    std::string title;
    // The placement the window was made with (the whole screen for the game's window).
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // Owned; null until the window is first needed on the display.
    SDL_Window* sdlWindow = nullptr;
    // The DirectDraw screen presenting into this window, if any (not owned).
    Screen* screen = nullptr;
};

// A new window object with its handle. Nothing appears on the display yet.
HWND CreateWindowObject(const char* title, int x, int y, int width, int height);
// Destroys the window object and its SDL window; a screen presenting into it stops presenting.
// Unknown handles are ignored.
void DestroyWindowObject(HWND window);
// The window behind a handle, or null when the handle is not a live window.
Window* WindowFromHandle(HWND window);
inline HWND HandleOf(Window* window) {
    return reinterpret_cast<HWND>(window);
}

// Where a point of the window (a mouse position, in window coordinates) falls in the display
// mode's pixels: through the scaling and black bars of a full-screen window, clamped to the
// mode. Without a screen the window's own coordinates come back unchanged.
POINT ModePixelFromWindow(HWND window, int x, int y);

} // namespace compat
