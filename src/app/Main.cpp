// The program: start-up, the message loop, shutdown.
#include "app/CGame.h"
#include "app/CWindow.h"
#include "gfx/CGraphics.h"
#include "log/LogFolder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

const char kStartFailure[] = "see logs/GameLog.txt";
constexpr size_t kReasonSize = 512;

// One message box (outside Windows one line on stderr), "Quibbo's Puzzle: Could not start: ...".
void ShowStartFailure(const char* reason) {
    char text[kReasonSize + 32];
    snprintf(text, sizeof(text), "Could not start: %s", reason);
    MessageBoxA(nullptr, text, "Quibbo's Puzzle", MB_OK | MB_ICONERROR);
}

// Each pass takes at most one message, without waiting, then runs one frame; the frame's flip
// paces the passes. The pass that takes the quit message still runs its frame.
int RunMessageLoop() {
    MSG message{};
    bool quit = false;
    int exitCode = 0;
    while (!quit) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                exitCode = static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        g_game->Frame();
    }
    return exitCode;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    srand(static_cast<unsigned>(time(nullptr)));
    // Every later failure is told in the game log: a log that cannot be written is told here,
    // before anything is made or written.
    char reason[kReasonSize];
    if (!PrepareLogFolder(reason, sizeof(reason))) {
        ShowStartFailure(reason);
        return 1;
    }
    CWindow* mainWindow = new CWindow;
    g_game = new CGame;
    g_graphics = new CGraphics;

    HWND window =
        mainWindow->Create(instance, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                           "QUIBBO_CLASS", "Quibbo's puzzle");
    bool started = window != nullptr;
    if (started) {
        ShowWindow(window, SW_SHOWNORMAL);
        started = g_game->Init(window);
    }
    // Without a window or a display there is nothing to play on: say so and leave. A display
    // lost while playing ends the loop with exit code 1 in the same way.
    const int exitCode = started ? RunMessageLoop() : 1;

    g_graphics->Release();
    delete g_graphics;
    g_graphics = nullptr;
    delete mainWindow;
    delete g_game;
    g_game = nullptr;

    if (exitCode != 0)
        ShowStartFailure(kStartFailure);
    return exitCode;
}
