// Window classes and the program's windows: RegisterClassA/ExA, CreateWindowExA, ShowWindow,
// DestroyWindow and the default window procedure.
#include "seams/Failures.h"
#include "window/MessageQueue.h"
#include "window/Window.h"
#include "compat/Seams.h"

#include <strings.h>

#include <algorithm>
#include <string>
#include <vector>

namespace compat {

namespace {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

struct Registry {
    std::vector<WindowClass> classes;
    ATOM nextAtom = 0xC000; // where Windows numbers registered classes from
};

// A fresh start for tests forgets the classes (and, in Window.cpp, the windows).
Registry& Classes() {
    static Registry registry = [] {
        seams::AddResetHook([] { Classes() = Registry{}; });
        return Registry{};
    }();
    return registry;
}

WindowClass* FindClass(LPCSTR name) {
    if (!name)
        return nullptr;
    auto& classes = Classes().classes;
    auto found = std::find_if(classes.begin(), classes.end(), [&](const WindowClass& entry) {
        if (IS_INTRESOURCE(name))
            return entry.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
        return strcasecmp(entry.name.c_str(), name) == 0;
    });
    return found == classes.end() ? nullptr : &*found;
}

ATOM Register(const WindowClass& wanted, const char* operation) {
    if (TakeForcedFailure(operation))
        return 0;
    if (wanted.name.empty() || !wanted.procedure || FindClass(wanted.name.c_str()))
        return 0;
    Registry& registry = Classes();
    WindowClass made = wanted;
    made.atom = registry.nextAtom++;
    registry.classes.push_back(made);
    return made.atom;
}

// What RegisterClassA and RegisterClassExA share; only the extended class has a small icon.
template <typename Class>
ATOM RegisterFrom(const Class& wndClass, HICON smallIcon, const char* operation) {
    if (!wndClass.lpszClassName || IS_INTRESOURCE(wndClass.lpszClassName))
        return 0;
    WindowClass wanted;
    wanted.name = wndClass.lpszClassName;
    wanted.style = wndClass.style;
    wanted.procedure = wndClass.lpfnWndProc;
    wanted.icon = wndClass.hIcon;
    wanted.smallIcon = smallIcon;
    return Register(wanted, operation);
}

} // namespace

} // namespace compat

using namespace compat;

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (!lpWndClass)
        return 0;
    return RegisterFrom(*lpWndClass, nullptr, "RegisterClassA");
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpWndClass) {
    if (!lpWndClass || lpWndClass->cbSize != sizeof(WNDCLASSEXA))
        return 0;
    return RegisterFrom(*lpWndClass, lpWndClass->hIconSm, "RegisterClassExA");
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND, HMENU, HINSTANCE, LPVOID) {
    if (TakeForcedFailure("CreateWindowExA"))
        return nullptr;
    const WindowClass* windowClass = FindClass(lpClassName);
    if (!windowClass)
        return nullptr;
    HWND handle = CreateWindowObject(lpWindowName, X, Y, nWidth, nHeight);
    Window* window = WindowFromHandle(handle);
    window->procedure = windowClass->procedure;
    window->classStyle = windowClass->style;
    window->icon = windowClass->icon;
    window->smallIcon = windowClass->smallIcon;
    window->visible = (dwStyle & WS_VISIBLE) != 0;
    return handle;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Window* window = WindowFromHandle(hWnd);
    if (!window)
        return FALSE;
    const bool wasVisible = window->visible;
    window->visible = nCmdShow != SW_HIDE;
    if (window->native)
        platform::ShowNativeWindow(window->native, window->visible);
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    Window* window = WindowFromHandle(hWnd);
    if (!window || window->destroying)
        return FALSE;
    window->destroying = true;
    if (window->procedure)
        window->procedure(hWnd, WM_DESTROY, 0, 0);
    ForgetMessagesOf(hWnd);
    DestroyWindowObject(hWnd);
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM, LPARAM) {
    if (Msg == WM_CLOSE)
        DestroyWindow(hWnd);
    return 0;
}
