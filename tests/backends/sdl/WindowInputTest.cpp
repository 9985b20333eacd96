// The keyboard and the mouse as SDL reports them, through the message pump to the game's window
// with Windows' codes and positions, and the asynchronous key state.
#include "DirectDrawFixture.h"
#include "ProgramWindow.h"

#include "compat/InputSeams.h"

#include <SDL.h>

namespace {

using programwindow::PassUntilEmpty;
using Messages = std::vector<UINT>;

void PushKey(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, bool repeat = false) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = scancode;
    ASSERT_EQ(1, SDL_PushEvent(&event));
}

void PushTap(SDL_Keycode key, SDL_Scancode scancode) {
    PushKey(SDL_KEYDOWN, key, scancode);
    PushKey(SDL_KEYUP, key, scancode);
}

MSG Take() {
    MSG message{};
    EXPECT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    return message;
}

class WindowInput : public testing::Test {
protected:
    void SetUp() override { window = programwindow::Make(); }
    HWND window = nullptr;
};

TEST_F(WindowInput, KeysArriveWithWindowsVirtualKeyCodes) {
    struct Case {
        SDL_Keycode key;
        SDL_Scancode scancode;
        WPARAM expected;
    };
    const Case cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 'A'},
        {SDLK_a, SDL_SCANCODE_Q, 'A'}, // letters follow the layout (AZERTY here)
        {SDLK_z, SDL_SCANCODE_Z, 'Z'},
        {SDLK_0, SDL_SCANCODE_0, '0'},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, VK_RETURN},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE},
        {SDLK_PAUSE, SDL_SCANCODE_PAUSE, VK_PAUSE},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, VK_LEFT},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, VK_DOWN},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, VK_DELETE}, // SDL's 127
        {SDLK_INSERT, SDL_SCANCODE_INSERT, VK_INSERT},
        {SDLK_MINUS, SDL_SCANCODE_MINUS, VK_OEM_MINUS}, // not VK_INSERT's 0x2D
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, VK_OEM_1},
        {SDLK_SLASH, SDL_SCANCODE_SLASH, VK_OEM_2},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, VK_SHIFT},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, VK_CONTROL},
        {SDLK_F1, SDL_SCANCODE_F1, VK_F1},
        {SDLK_F12, SDL_SCANCODE_F12, VK_F12},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, VK_NUMPAD0},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, VK_NUMPAD9},
        {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
    };
    for (const Case& c : cases) {
        PushTap(c.key, c.scancode);
        const MSG down = Take();
        EXPECT_EQ(WM_KEYDOWN, down.message) << SDL_GetKeyName(c.key);
        EXPECT_EQ(c.expected, down.wParam) << SDL_GetKeyName(c.key);
        const MSG up = Take();
        EXPECT_EQ(WM_KEYUP, up.message) << SDL_GetKeyName(c.key);
        EXPECT_EQ(c.expected, up.wParam) << SDL_GetKeyName(c.key);
    }
    // A key Windows has no code for sends nothing.
    PushTap(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY);
    MSG none{};
    EXPECT_FALSE(PeekMessageA(&none, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowInput, KeyStateChangesAsInputArrivesAndATapIsSeenOnce) {
    // A tap between two frames: down and up before the game polls.
    PushTap(SDLK_y, SDL_SCANCODE_Y);
    EXPECT_EQ(0, GetAsyncKeyState('Y')); // not pumped yet
    EXPECT_EQ(WM_KEYDOWN, Take().message);
    // The key-up was pumped with the key-down, though it waits in the queue.
    EXPECT_EQ(1, GetAsyncKeyState('Y'));
    EXPECT_EQ(0, GetAsyncKeyState('Y'));

    // A held key reads down on every poll.
    PushKey(SDL_KEYDOWN, SDLK_n, SDL_SCANCODE_N);
    EXPECT_EQ(WM_KEYUP, Take().message);
    for (int poll = 0; poll < 3; ++poll)
        EXPECT_NE(0, GetAsyncKeyState('N') & 0x8000) << poll;
    // Either shift key is VK_SHIFT.
    PushKey(SDL_KEYDOWN, SDLK_RSHIFT, SDL_SCANCODE_RSHIFT);
    Take();
    EXPECT_NE(0, GetAsyncKeyState(VK_SHIFT) & 0x8000);
    EXPECT_NE(0, GetAsyncKeyState(VK_RSHIFT) & 0x8000);
    EXPECT_EQ(0, GetAsyncKeyState(VK_LSHIFT));

    compat::seams::ReleaseAllKeys();
    EXPECT_EQ(0, GetAsyncKeyState('N'));
    compat::seams::KeyDown('N');
    compat::seams::KeyUp('N');
    EXPECT_EQ(1, GetAsyncKeyState('N'));
}

TEST_F(WindowInput, EveryAutoRepeatIsOneMoreKeyDown) {
    PushKey(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT);
    PushKey(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT, /*repeat=*/true);
    PushKey(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT, /*repeat=*/true);
    PushKey(SDL_KEYUP, SDLK_LEFT, SDL_SCANCODE_LEFT);
    EXPECT_EQ((Messages{WM_KEYDOWN, WM_KEYDOWN, WM_KEYDOWN, WM_KEYUP}), PassUntilEmpty());
    compat::seams::KeyDown(VK_RIGHT);
    compat::seams::KeyDown(VK_RIGHT);
    EXPECT_EQ((Messages{WM_KEYDOWN, WM_KEYDOWN}), PassUntilEmpty());
    const auto& delivered = programwindow::delivered;
    ASSERT_EQ(6u, delivered.size());
    // Bit 30: the key was down before.
    const LPARAM wasDown = LPARAM{1} << 30;
    EXPECT_EQ(0, delivered[0].lParam & wasDown);
    EXPECT_NE(0, delivered[1].lParam & wasDown);
    EXPECT_NE(0, delivered[2].lParam & wasDown);
    EXPECT_EQ(0, delivered[4].lParam & wasDown);
    EXPECT_NE(0, delivered[5].lParam & wasDown);
}

TEST_F(WindowInput, CloseCommandsAskTheWindowToClose) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    ASSERT_EQ(1, SDL_PushEvent(&event));
    event = SDL_Event{};
    event.type = SDL_QUIT; // Ctrl+C in the terminal: the same request
    ASSERT_EQ(1, SDL_PushEvent(&event));
    MSG message = Take();
    EXPECT_EQ(WM_CLOSE, message.message);
    EXPECT_EQ(window, message.hwnd);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));

    // Alt+F4, where no window manager takes it: system keys, then the close.
    PushKey(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT);
    PushKey(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4);
    EXPECT_EQ((Messages{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_CLOSE, WM_QUIT}), PassUntilEmpty());
    EXPECT_EQ(WPARAM{VK_MENU}, programwindow::delivered[0].wParam);
    EXPECT_EQ(WPARAM{VK_F4}, programwindow::delivered[1].wParam);
    EXPECT_EQ(nullptr, compat::seams::GameWindow());
}

// The mouse over a full-screen window whose display mode is shown between bars.
class WindowMouse : public programwindow::OnScreen {
protected:
    static void PushButton(Uint32 type, int x, int y, int clicks) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = static_cast<Uint8>(clicks);
        event.button.x = x;
        event.button.y = y;
        ASSERT_EQ(1, SDL_PushEvent(&event));
    }
};

TEST_F(WindowMouse, PositionsReachTheWindowInTheModesPixels) {
    // 1280x1024 (5:4) on the dummy driver's 1024x768 desktop: 960x768 of picture between bars
    // of 32 pixel columns.
    ASSERT_EQ(1024, GetSystemMetrics(SM_CXSCREEN));
    BringUp(1280, 1024, 16);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 100;
    motion.motion.y = 100;
    ASSERT_EQ(1, SDL_PushEvent(&motion));
    motion.motion.x = 512;
    motion.motion.y = 384;
    ASSERT_EQ(1, SDL_PushEvent(&motion));
    PushButton(SDL_MOUSEBUTTONDOWN, 10, 5, 1); // in the left bar
    PushButton(SDL_MOUSEBUTTONUP, 10, 5, 1);
    PushButton(SDL_MOUSEBUTTONDOWN, 1023, 767, 2); // the second of a quick pair

    EXPECT_EQ((Messages{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}),
              PassUntilEmpty());
    const auto& delivered = programwindow::delivered;
    ASSERT_EQ(4u, delivered.size());
    EXPECT_EQ(MAKELONG(640, 512), delivered[0].lParam);
    EXPECT_EQ(MAKELONG(0, 7), delivered[1].lParam);
    EXPECT_EQ(WPARAM{MK_LBUTTON}, delivered[1].wParam);
    EXPECT_EQ(MAKELONG(1279, 1023), delivered[3].lParam);
    EXPECT_NE(0, GetAsyncKeyState(VK_LBUTTON) & 0x8000);
}

} // namespace
