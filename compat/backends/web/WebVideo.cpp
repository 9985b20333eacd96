// The display contract on the page: the canvas is the game's window, the screen the desktop.
#include "web/WebCanvas.h"
#include "web/WebPage.h"

namespace platform {

bool StartVideo() {
    static const bool started = [] {
        quibbo_web_listen();
        return true;
    }();
    return started;
}

bool VideoStarted() {
    return true;
}

void DesktopSize(int* width, int* height) {
    quibbo_web_screen_size(width, height);
    if (*width <= 0 || *height <= 0) {
        *width = 1024;
        *height = 768;
    }
}

// A page has no terminal and no window manager: closing its tab ends it, with nothing to say.
void WatchForOutsideEnd() {}

void DestroyNativeWindow(NativeWindow* window) {
    delete window;
}

void ShowNativeWindow(NativeWindow* window, bool visible) {
    if (window)
        window->visible = visible;
}

// The canvas's size is the page's: nothing outside the page resizes it.
void ResizeNativeWindow(NativeWindow*, int, int) {}

void ShowPointer(bool shown) {
    quibbo_web_show_pointer(shown ? 1 : 0);
}

} // namespace platform
