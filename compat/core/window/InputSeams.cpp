#include "compat/InputSeams.h"

#include "window/Cursor.h"
#include "window/KeyState.h"
#include "window/MessageQueue.h"
#include "window/Window.h"

namespace compat::seams {

void KeyDown(int virtualKey) {
    KeyInput(NewestProgramWindow(), virtualKey, 0, true);
}

void KeyUp(int virtualKey) {
    KeyInput(NewestProgramWindow(), virtualKey, 0, false);
}

void ReleaseAllKeys() {
    ForgetKeys();
}

void MouseMove(int x, int y) {
    MouseMoveInput(NewestProgramWindow(), POINT{x, y});
}

void LeftButtonDown(int x, int y) {
    LeftButtonInput(NewestProgramWindow(), POINT{x, y}, true, false);
}

void LeftButtonUp(int x, int y) {
    LeftButtonInput(NewestProgramWindow(), POINT{x, y}, false, false);
}

void CloseWindow(HWND window) {
    CloseInput(window);
}

HWND GameWindow() {
    return NewestProgramWindow();
}

int PendingMessages() {
    return PendingMessageCount();
}

void OnEachPeek(std::function<void()> hook) {
    SetPeekHook(std::move(hook));
}

int CursorDisplayCount() {
    return compat::CursorDisplayCount();
}

} // namespace compat::seams
