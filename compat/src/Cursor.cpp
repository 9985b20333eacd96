// ShowCursor: the display counter of the mouse cursor.
#include "Cursor.h"
#include "compat/Seams.h"

#include <SDL.h>

namespace compat {

namespace {

int& DisplayCount() {
    static int count = [] {
        seams::AddResetHook([] { DisplayCount() = 0; });
        return 0;
    }();
    return count;
}

} // namespace

bool CursorIsShown() {
    return DisplayCount() >= 0;
}

} // namespace compat

int WINAPI ShowCursor(BOOL bShow) {
    int& count = compat::DisplayCount();
    count += bShow ? 1 : -1;
    // Without a window the count is all there is; the window applies it when it is made.
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return count;
}
