// Inside the platform layer: the window object behind every HWND.
//
// An HWND is a pointer to a compat::Window. CreateWindowExA makes them with their class's
// window procedure; tests and tools also make bare ones through the graphics seams. The
// backend's native window is made when the window is first shown as a screen
// (IDirectDraw7::SetDisplayMode) and belongs to the window object. What presents into the window
// (the DirectDraw screen) hangs on it as a WindowPresenter, so that the window needs to know
// nothing about screens.
#pragma once

#include "platform/Display.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace compat {

// What shows frames in a window: told when the window goes away, and asked where a window
// position (a mouse position) falls in the pixels it shows, and what colour a pixel of the
// window shows.
class WindowPresenter {
public:
    // The window is being destroyed: its native window goes right after this returns.
    virtual void WindowGone() = 0;
    virtual POINT ModePixelFromWindow(int x, int y) const = 0;
    // The colour of a pixel of the window as last shown; false where it cannot be read.
    virtual bool WindowColor(int x, int y, COLORREF* color) const = 0;
    // Whether the window shows exactly what drawing the last frame afresh would show.
    virtual bool ShowsLastFrameWhole() const = 0;
    // The next frame draws the whole window, not only what it changes.
    virtual void RedrawWhole() = 0;
    // Full screen becomes a window, a window full screen.
    virtual void SwitchFullScreen() = 0;

protected:
    ~WindowPresenter() = default;
};

struct Window {
    std::string title;
    // The placement the window was made with (the whole screen for the game's window).
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // From the window's class. Every class has a procedure, so a null one marks a bare window
    // of the seams.
    WNDPROC procedure = nullptr;
    UINT classStyle = 0;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    bool visible = false;
    // DestroyWindow is under way (WM_DESTROY is being sent).
    bool destroying = false;
    // The backend's window; owned, and null until the window is first needed on the display.
    platform::NativeWindow* native = nullptr;
    // The screen presenting into this window, if any (not owned).
    WindowPresenter* presenter = nullptr;
};

// A new window object with its handle. Nothing appears on the display yet.
HWND CreateWindowObject(const char* title, int x, int y, int width, int height);
// Destroys the window object and its native window; a presenter is told first. Unknown handles are
// ignored. A fresh start for tests destroys every window object this way, without messages.
void DestroyWindowObject(HWND window);
// The window behind a handle, or null when the handle is not a live window.
Window* WindowFromHandle(HWND window);
inline HWND HandleOf(Window* window) {
    return reinterpret_cast<HWND>(window);
}
// The newest live window made by CreateWindowExA, or null.
HWND NewestProgramWindow();
// The live window whose native window this is, or null (for null too).
HWND WindowOfNative(const platform::NativeWindow* native);

// Where a point of the window (a mouse position, in window coordinates) falls in the display
// mode's pixels: through the scaling and black bars of a full-screen window, clamped to the
// mode. Without a presenter the window's own coordinates come back unchanged.
POINT ModePixelFromWindow(HWND window, int x, int y);
// Alt+Enter: the screen in the window switches between full screen and a window.
void SwitchFullScreen(HWND window);

} // namespace compat
