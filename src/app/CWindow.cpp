#include "app/CWindow.h"

#include "app/CGame.h"
#include "log/CLog.h"

namespace {

// The program's icon, in its resources.
constexpr WORD kIconResource = 102;

} // namespace

HWND CWindow::Create(HINSTANCE instance, int width, int height, const char* className,
                     const char* title) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));

    if (!RegisterClassExA(&windowClass)) {
        if (log)
            log->Write("CWINDOW --- ERROR --- Could not register class\nOccurred on line %d in %s",
                       __LINE__, __FILE__);
        return nullptr;
    }

    HWND window = CreateWindowExA(0, className, title, WS_POPUP, 0, 0, width, height, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) {
        if (log)
            log->Write("CWINDOW --- ERROR --- Could not Create Window\nOccurred on line %d in %s",
                       __LINE__, __FILE__);
        return nullptr;
    }
    return window;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The position word holds x in its low and y in its high 16 bits, both unsigned.
    const auto x = static_cast<int32_t>(LOWORD(lParam));
    const auto y = static_cast<int32_t>(HIWORD(lParam));
    switch (message) {
    case WM_MOUSEMOVE:
        if (g_game)
            g_game->OnMouseMove(x, y);
        break;
    case WM_LBUTTONDOWN:
        if (g_game)
            g_game->OnLeftClick(x, y);
        break;
    case WM_KEYDOWN:
        if (g_game)
            g_game->OnKeyDown(static_cast<int32_t>(wParam));
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
