// The game's window as the game makes it, with a window procedure that records every message
// it gets, and the message part of a pass of the game's loop.
#pragma once

#include "DirectDrawFixture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace programwindow {

// What reached the window procedure, oldest first.
inline std::vector<MSG> delivered;

inline LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    delivered.push_back(MSG{window, message, wParam, lParam, 0, POINT{}});
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

// Registers the game's window class with Record as its procedure and makes the window, of the
// screen's size. Forgets what was delivered before.
inline HWND Make(HICON icon = nullptr) {
    delivered.clear();
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = &Record;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "QUIBBO_CLASS";
    EXPECT_NE(0, RegisterClassExA(&windowClass));
    HWND window = CreateWindowExA(0, "QUIBBO_CLASS", "Quibbo's puzzle", WS_POPUP, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(nullptr, window);
    return window;
}

// The game's window made as the game makes it and taken as the display, full screen and
// exclusive.
class OnScreen : public DirectDrawTest {
protected:
    void SetUp() override {
        DirectDrawTest::SetUp();
        gameWindow = Make();
        ASSERT_EQ(DD_OK, dd->SetCooperativeLevel(gameWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE |
                                                                 DDSCL_ALLOWREBOOT));
    }
    HWND gameWindow = nullptr;
};

// The message part of one pass of the game's loop: at most one message, without waiting,
// translated and dispatched. False when nothing was waiting.
inline bool Pass(MSG* taken = nullptr) {
    MSG message{};
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    if (taken)
        *taken = message;
    return true;
}

// Passes until nothing is waiting; the messages taken, in order.
inline std::vector<UINT> PassUntilEmpty() {
    std::vector<UINT> taken;
    MSG message{};
    while (Pass(&message))
        taken.push_back(message.message);
    return taken;
}

// The messages that reached the procedure, in order.
inline std::vector<UINT> DeliveredMessages() {
    std::vector<UINT> messages;
    for (const MSG& message : delivered)
        messages.push_back(message.message);
    return messages;
}

} // namespace programwindow
