#include "window/Window.h"

#include "compat/Seams.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace compat {

namespace {

void DestroyAllWindowObjects();

// Every window: the program's, made by CreateWindowExA, and the bare ones of the seams.
std::vector<std::unique_ptr<Window>>& LiveWindows() {
    static std::vector<std::unique_ptr<Window>> windows = [] {
        seams::AddResetHook(DestroyAllWindowObjects);
        return std::vector<std::unique_ptr<Window>>{};
    }();
    return windows;
}

void DestroyAllWindowObjects() {
    auto& windows = LiveWindows();
    while (!windows.empty())
        DestroyWindowObject(HandleOf(windows.front().get()));
}

} // namespace

HWND CreateWindowObject(const char* title, int x, int y, int width, int height) {
    auto window = std::make_unique<Window>();
    window->title = title ? title : "";
    window->x = x;
    window->y = y;
    window->width = width;
    window->height = height;
    Window* made = window.get();
    LiveWindows().push_back(std::move(window));
    return HandleOf(made);
}

void DestroyWindowObject(HWND handle) {
    auto& windows = LiveWindows();
    auto found = std::find_if(windows.begin(), windows.end(),
                              [&](const auto& w) { return HandleOf(w.get()) == handle; });
    if (found == windows.end())
        return;
    Window* window = found->get();
    if (window->presenter)
        window->presenter->WindowGone();
    if (window->native)
        platform::DestroyNativeWindow(window->native);
    windows.erase(found);
}

Window* WindowFromHandle(HWND handle) {
    if (!handle)
        return nullptr;
    for (const auto& window : LiveWindows())
        if (HandleOf(window.get()) == handle)
            return window.get();
    return nullptr;
}

HWND NewestProgramWindow() {
    const auto& windows = LiveWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->procedure)
            return HandleOf(it->get());
    return nullptr;
}

HWND WindowOfNative(const platform::NativeWindow* native) {
    if (!native)
        return nullptr;
    for (const auto& window : LiveWindows())
        if (window->native == native)
            return HandleOf(window.get());
    return nullptr;
}

POINT ModePixelFromWindow(HWND handle, int x, int y) {
    Window* window = WindowFromHandle(handle);
    if (!window || !window->presenter)
        return POINT{x, y};
    return window->presenter->ModePixelFromWindow(x, y);
}

void SwitchFullScreen(HWND handle) {
    Window* window = WindowFromHandle(handle);
    if (window && window->presenter)
        window->presenter->SwitchFullScreen();
}

} // namespace compat
