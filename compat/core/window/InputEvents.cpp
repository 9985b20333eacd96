// The input that a backend delivers (platform/Input.h), as key states and window messages.
#include "platform/Input.h"

#include "window/MessageQueue.h"
#include "window/Window.h"

namespace platform {

namespace {

// The window an event belongs to; events of no window of ours go to the game's window.
HWND TargetOf(const NativeWindow* window) {
    HWND handle = compat::WindowOfNative(window);
    return handle ? handle : compat::NewestProgramWindow();
}

} // namespace

void KeyEvent(NativeWindow* window, Key key, bool down) {
    if (key.code)
        compat::KeyInput(TargetOf(window), key.code, key.side, down);
}

void PointerMoved(NativeWindow* window, int x, int y) {
    HWND target = TargetOf(window);
    compat::MouseMoveInput(target, compat::ModePixelFromWindow(target, x, y));
}

void LeftButton(NativeWindow* window, int x, int y, bool down, bool doubleClick) {
    HWND target = TargetOf(window);
    compat::LeftButtonInput(target, compat::ModePixelFromWindow(target, x, y), down, doubleClick);
}

void CloseRequested(NativeWindow* window) {
    compat::CloseInput(TargetOf(window));
}

void SwitchFullScreenRequested(NativeWindow* window) {
    compat::SwitchFullScreen(TargetOf(window));
}

} // namespace platform
