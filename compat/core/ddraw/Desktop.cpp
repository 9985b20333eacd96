// What the desktop tells a program: the screen's size; and message boxes, which outside Windows
// only write their text.
#include "ddraw/DirectDrawObjects.h"
#include "ddraw/DisplayChoice.h"
#include "platform/Display.h"

#include <cstdio>

int WINAPI GetSystemMetrics(int nIndex) {
    if (nIndex != SM_CXSCREEN && nIndex != SM_CYSCREEN)
        return 0;
    int width = 640, height = 480;
    if (compat::WindowedWanted()) {
        // In an ordinary window the game's screen is the display mode.
        const compat::DisplayState& display = compat::Display();
        if (display.modeSet) {
            width = display.width;
            height = display.height;
        }
    } else {
        platform::DesktopSize(&width, &height);
    }
    return nIndex == SM_CXSCREEN ? width : height;
}

int WINAPI MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT) {
    std::fprintf(stderr, "%s: %s\n", lpCaption ? lpCaption : "Error", lpText ? lpText : "");
    return IDOK;
}
