// ShowCursor: the display counter of the mouse cursor; SetCursor: the current cursor.
#include "window/Cursor.h"
#include "window/Icon.h"
#include "compat/Seams.h"

#include "platform/Display.h"

namespace compat {

namespace {

int& DisplayCount() {
    static int count = [] {
        seams::AddResetHook([] { DisplayCount() = 0; });
        return 0;
    }();
    return count;
}

// The arrow is the only cursor there is, so the current cursor is only remembered.
HCURSOR& Current() {
    static HCURSOR cursor = [] {
        seams::AddResetHook([] { Current() = ArrowCursor(); });
        return ArrowCursor();
    }();
    return cursor;
}

} // namespace

bool CursorIsShown() {
    return DisplayCount() >= 0;
}

int CursorDisplayCount() {
    return DisplayCount();
}

} // namespace compat

int WINAPI ShowCursor(BOOL bShow) {
    int& count = compat::DisplayCount();
    count += bShow ? 1 : -1;
    // Without a window the count is all there is; the window applies it when it is made.
    if (platform::VideoStarted())
        platform::ShowPointer(count >= 0);
    return count;
}

HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
    HCURSOR& current = compat::Current();
    HCURSOR previous = current;
    current = hCursor;
    return previous;
}
