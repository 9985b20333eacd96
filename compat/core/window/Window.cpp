#include "window/Window.h"

#include "window/Cursor.h"
#include "window/Icon.h"
#include "compat/Seams.h"

#include <SDL.h>

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

void SetSdlIcon(SDL_Window* sdlWindow, const Window& window) {
    const Icon* icon = IconFromHandle(window.icon);
    if (!icon || icon->argb.empty())
        icon = IconFromHandle(window.smallIcon);
    if (!icon || icon->argb.empty())
        return;
    // SDL copies the pixels; the surface only lends them.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(icon->argb.data()), icon->width, icon->height, 32, icon->width * 4,
        SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return;
    SDL_SetWindowIcon(sdlWindow, surface);
    SDL_FreeSurface(surface);
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

HWND NewestProgramWindow() {
    const auto& windows = LiveWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->procedure)
            return HandleOf(it->get());
    return nullptr;
}

HWND WindowOfSdlWindowId(uint32_t id) {
    if (id == 0)
        return nullptr;
    for (const auto& window : LiveWindows())
        if (window->sdlWindow && SDL_GetWindowID(window->sdlWindow) == id)
            return HandleOf(window.get());
    return nullptr;
}

bool MakeSdlWindow(Window* window, int x, int y, int width, int height, uint32_t flags) {
    window->sdlWindow = SDL_CreateWindow(window->title.c_str(), x, y, width, height, flags);
    if (!window->sdlWindow)
        return false;
    SetSdlIcon(window->sdlWindow, *window);
    // The game may have hidden the cursor before there was a window to hide it in.
    SDL_ShowCursor(CursorIsShown() ? SDL_ENABLE : SDL_DISABLE);
    return true;
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
