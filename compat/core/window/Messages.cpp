// The message queue: PeekMessageA, TranslateMessage, DispatchMessageA, PostQuitMessage, and the
// input (keys, mouse, close commands) that becomes messages.
#include "window/MessageQueue.h"

#include "platform/Input.h"

#include "window/KeyCodes.h"
#include "window/KeyState.h"
#include "record/Recorder.h"
#include "window/Window.h"
#include "compat/Seams.h"

#include <mmsystem.h>

#include <algorithm>
#include <deque>

namespace compat {

namespace {

struct QueueState {
    std::deque<MSG> messages;
    // PostQuitMessage was called: WM_QUIT comes once nothing else is waiting.
    bool quit = false;
    int quitCode = 0;
    // The pointer's latest position, in the display mode's pixels.
    POINT cursor{};
    std::function<void()> peekHook;
    bool inPeekHook = false;
};

QueueState& Queue() {
    static QueueState queue = [] {
        seams::AddResetHook([] { Queue() = QueueState{}; });
        return QueueState{};
    }();
    return queue;
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, timeGetTime(), Queue().cursor};
}

WPARAM MouseKeys() {
    WPARAM keys = 0;
    if (KeyIsDown(VK_LBUTTON))
        keys |= MK_LBUTTON;
    if (KeyIsDown(VK_RBUTTON))
        keys |= MK_RBUTTON;
    if (KeyIsDown(VK_SHIFT))
        keys |= MK_SHIFT;
    if (KeyIsDown(VK_CONTROL))
        keys |= MK_CONTROL;
    return keys;
}

LPARAM PositionParam(POINT point) {
    return MAKELONG(point.x, point.y);
}

// Adds a message at the end. A mouse move right after a mouse move of the same window replaces
// it, as Windows keeps only the pointer's latest position.
void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::deque<MSG>& messages = Queue().messages;
    if (message == WM_MOUSEMOVE && !messages.empty() && messages.back().message == WM_MOUSEMOVE &&
        messages.back().hwnd == window) {
        messages.back() = MakeMessage(window, message, wParam, lParam);
        return;
    }
    messages.push_back(MakeMessage(window, message, wParam, lParam));
}

// Adds a message at the front: the next one taken (TranslateMessage's characters).
void PostNextInQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Queue().messages.push_front(MakeMessage(window, message, wParam, lParam));
}

bool IsQueued(HWND window, UINT message) {
    const std::deque<MSG>& messages = Queue().messages;
    return std::any_of(messages.begin(), messages.end(), [&](const MSG& queued) {
        return queued.hwnd == window && queued.message == message;
    });
}

} // namespace

void ForgetMessagesOf(HWND window) {
    std::deque<MSG>& messages = Queue().messages;
    messages.erase(std::remove_if(messages.begin(), messages.end(),
                                  [&](const MSG& queued) { return queued.hwnd == window; }),
                   messages.end());
}

int PendingMessageCount() {
    const QueueState& queue = Queue();
    return static_cast<int>(queue.messages.size()) + (queue.quit ? 1 : 0);
}

void SetPeekHook(std::function<void()> hook) {
    Queue().peekHook = std::move(hook);
}

void KeyInput(HWND window, int virtualKey, int side, bool down) {
    if (!IsVirtualKey(virtualKey))
        return;
    const int own = side ? side : virtualKey;
    const bool wasDown = KeyIsDown(own);
    const bool altBefore = KeyIsDown(VK_MENU);
    if (down)
        KeyWentDown(own);
    else
        KeyWentUp(own);
    if (!window)
        return;
    // A key that goes up while alt is held is still a system key, alt itself included.
    const bool alt = down ? KeyIsDown(VK_MENU) : altBefore;
    const bool system = (alt && !KeyIsDown(VK_CONTROL)) || virtualKey == VK_F10;
    // Repeat count 1; bit 29 alt held, bit 30 the key was down before, bit 31 it goes up.
    LPARAM lParam = 1;
    if (system && alt)
        lParam |= LPARAM{1} << 29;
    if (wasDown || !down)
        lParam |= LPARAM{1} << 30;
    if (!down)
        lParam |= LPARAM{1} << 31;
    const UINT message =
        down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    PostToQueue(window, message, static_cast<WPARAM>(virtualKey), lParam);
    if (down && !wasDown && system && alt && virtualKey == VK_F4)
        CloseInput(window);
}

void MouseMoveInput(HWND window, POINT modePixel) {
    Queue().cursor = modePixel;
    if (window)
        PostToQueue(window, WM_MOUSEMOVE, MouseKeys(), PositionParam(modePixel));
}

void LeftButtonInput(HWND window, POINT modePixel, bool down, bool doubleClick) {
    Queue().cursor = modePixel;
    if (down)
        KeyWentDown(VK_LBUTTON);
    else
        KeyWentUp(VK_LBUTTON);
    Window* target = WindowFromHandle(window);
    if (!target)
        return;
    UINT message = WM_LBUTTONUP;
    if (down)
        message =
            doubleClick && (target->classStyle & CS_DBLCLKS) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    PostToQueue(window, message, MouseKeys(), PositionParam(modePixel));
}

void CloseInput(HWND window) {
    if (WindowFromHandle(window) && !IsQueued(window, WM_CLOSE))
        PostToQueue(window, WM_CLOSE, 0, 0);
}

POINT PointerPosition() {
    return Queue().cursor;
}

} // namespace compat

using namespace compat;

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg) {
    QueueState& queue = Queue();
    // The recorder ends the pass before and moves the game's clock on: the hook sees the
    // clock of the pass to come, as the game will.
    PassBegins();
    if (queue.peekHook && !queue.inPeekHook) {
        // A copy: the hook may replace itself.
        const std::function<void()> hook = queue.peekHook;
        queue.inPeekHook = true;
        hook();
        queue.inPeekHook = false;
    }
    PassInputBegins();
    platform::PumpEvents();
    if (PlayingBack()) {
        // A recording is played back: its messages are the game's, nothing else.
        queue.messages.clear();
        queue.quit = false;
        MSG played{};
        if (!TakePlayedMessage(&played))
            return FALSE;
        if (lpMsg)
            *lpMsg = played;
        return TRUE;
    }

    const bool filtered = wMsgFilterMin != 0 || wMsgFilterMax != 0;
    const auto found =
        std::find_if(queue.messages.begin(), queue.messages.end(), [&](const MSG& queued) {
            return (!hWnd || queued.hwnd == hWnd) &&
                   (!filtered ||
                    (queued.message >= wMsgFilterMin && queued.message <= wMsgFilterMax));
        });
    if (found != queue.messages.end()) {
        const MSG taken = *found;
        if (wRemoveMsg & PM_REMOVE) {
            queue.messages.erase(found);
            KeyMessageTaken(taken.message, taken.wParam);
            MessageTaken(taken);
        }
        if (lpMsg)
            *lpMsg = taken;
        return TRUE;
    }
    // The quit message belongs to the thread, not to a window.
    if (queue.quit && !hWnd) {
        if (lpMsg)
            *lpMsg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
        if (wRemoveMsg & PM_REMOVE) {
            queue.quit = false;
            MessageTaken(MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0));
        }
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (!lpMsg)
        return FALSE;
    switch (lpMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const int character =
            CharacterOfKey(static_cast<int>(lpMsg->wParam), ShiftDownForMessages());
        if (character)
            PostNextInQueue(lpMsg->hwnd, lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                            static_cast<WPARAM>(character), lpMsg->lParam);
        return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg)
        return 0;
    Window* window = WindowFromHandle(lpMsg->hwnd);
    if (!window || !window->procedure)
        return 0;
    return window->procedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

void WINAPI PostQuitMessage(int nExitCode) {
    QueueState& queue = Queue();
    queue.quit = true;
    queue.quitCode = nExitCode;
}
