// The backend contract: the display, and the windows the game's frames are shown in.
//
// The core keeps the window objects behind HWNDs (compat/core/window/Window.h); a window gets
// its native window from the backend the first time it is shown as a screen.
#pragma once

namespace platform {

// A window of the backend's own (an SDL window, a canvas); only the backend knows what it is.
struct NativeWindow;

// Starts the video once per process; false (with one line on stderr) when there is no display
// to show the game on.
bool StartVideo();
// Whether video has been started, so that windows and the cursor can be touched.
bool VideoStarted();
// The desktop's size, where the display mode goes back to (1024x768 if the backend cannot tell).
void DesktopSize(int* width, int* height);

// The program's end from outside: a closed terminal, the window destroyed by another program;
// from this call on they close the game's window as a window manager's close does. Called once
// video has started.
void WatchForOutsideEnd();

void DestroyNativeWindow(NativeWindow* window);
void ShowNativeWindow(NativeWindow* window, bool visible);
// For tests: the window's size changed as if the player resized it.
void ResizeNativeWindow(NativeWindow* window, int width, int height);
// The mouse cursor over the game's windows, shown or hidden (ShowCursor's count).
void ShowPointer(bool shown);

} // namespace platform
