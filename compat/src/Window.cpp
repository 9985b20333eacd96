#include "Window.h"

#include "Screen.h"

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace compat {

namespace {

std::vector<std::unique_ptr<Window>>& LiveWindows() {
    static std::vector<std::unique_ptr<Window>> windows;
    return windows;
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
    if (window->screen)
        window->screen->Detach();
    if (window->sdlWindow)
        SDL_DestroyWindow(window->sdlWindow);
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

POINT ModePixelFromWindow(HWND handle, int x, int y) {
    Window* window = WindowFromHandle(handle);
    if (!window || !window->screen)
        return POINT{x, y};
    return window->screen->ModePixelFromWindow(x, y);
}

} // namespace compat
