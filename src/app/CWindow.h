#pragma once

#include <windows.h>

class CLog;

// The one main window: a borderless window over the whole screen, whose messages the window
// procedure hands to the game object.
class CWindow {
public:
    CWindow() = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // Registers the window class and makes the window; null on failure.
    HWND Create(HINSTANCE instance, int width, int height, const char* className,
                const char* title);

private:
    // Nothing attaches one, so the two failure texts are written only where a log is given.
    CLog* log = nullptr;
};

// Mouse moves, left clicks and key-downs go to the game object; the window's destruction ends
// the message loop. Every message then goes on to the default procedure.
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
