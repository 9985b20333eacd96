// Game controllers as the keyboard and the mouse: see Pad.h for the layout.
#include "Pad.h"

#include "Cursor.h"
#include "KeyState.h"
#include "Letterbox.h"
#include "MessageQueue.h"
#include "PixelSurface.h"
#include "Screen.h"
#include "Window.h"
#include "sdl/SdlWindow.h"
#include "compat/Seams.h"

#include <SDL.h>
#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace compat {

namespace {

// The game's default turn keys: clockwise and counter-clockwise.
constexpr int kTurnClockwise = 'A';
constexpr int kTurnCounter = 'D';
// A stick nearer its rest than this does nothing as an arrow key (a worn stick rests off
// centre); as the pointer it moves from a smaller dead zone on.
constexpr int kKeyDeadZone = 12000;
constexpr int kPointerDeadZone = 6000;
constexpr int kAxisMax = 32767;
// The pointer at full tilt crosses the mode's height in this many milliseconds, the width in
// as many heights: the same speed on the screen whatever the mode's pixels.
constexpr double kHeightCrossingMs = 1100.0;
// Without a controller, SDL looks for new ones this often: its look costs a few microseconds,
// which every pass would pay.
constexpr uint32_t kLookEveryMs = 250;
// A pass longer than this (a stall, a breakpoint) moves the pointer no further.
constexpr uint32_t kLongestStepMs = 50;

struct Pad {
    SDL_JoystickID id = -1;
    SDL_GameController* controller = nullptr;
    std::array<bool, SDL_CONTROLLER_BUTTON_MAX> buttons{};
    // What each held button went down as: the pointer's (shown) or play's (hidden). A button
    // keeps that meaning until it is let go, so the click on Start does not turn the field.
    std::array<bool, SDL_CONTROLLER_BUTTON_MAX> pressedInMenus{};
    std::array<int16_t, SDL_CONTROLLER_AXIS_MAX> axes{};
};

struct PadState {
    bool startTried = false;
    std::vector<Pad> pads;
    // What the pads hold of the keyboard and the mouse.
    std::array<bool, 256> keys{};
    bool leftButton = false;
    // The pointer as the pads move it, in the mode's pixels (fractions kept between passes).
    bool placed = false;
    double x = 0.0;
    double y = 0.0;
    POINT posted{};
    bool timed = false;
    uint32_t lastTime = 0;
    bool looked = false;
    uint32_t lastLook = 0;
};

PadState& State() {
    static PadState state = [] {
        seams::AddResetHook([] {
            for (Pad& pad : State().pads)
                SDL_GameControllerClose(pad.controller);
            const bool started = State().startTried;
            State() = PadState{};
            State().startTried = started;
        });
        return PadState{};
    }();
    return state;
}

Pad* PadOf(SDL_JoystickID id) {
    for (Pad& pad : State().pads)
        if (pad.id == id)
            return &pad;
    return nullptr;
}

void Open(int deviceIndex) {
    if (PadOf(SDL_JoystickGetDeviceInstanceID(deviceIndex)))
        return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        std::fprintf(stderr, "quibbo: the game controller \"%s\" cannot be opened: %s\n",
                     SDL_GameControllerNameForIndex(deviceIndex), SDL_GetError());
        return;
    }
    Pad pad;
    pad.controller = controller;
    pad.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    State().pads.push_back(pad);
}

void Ignore(int deviceIndex) {
    if (SDL_IsGameController(deviceIndex))
        return;
    const char* name = SDL_JoystickNameForIndex(deviceIndex);
    std::fprintf(stderr,
                 "quibbo: the joystick \"%s\" is not a game controller SDL knows; it is ignored "
                 "(SDL_GAMECONTROLLERCONFIG can map it)\n",
                 name ? name : "?");
}

bool IsDirection(int button) {
    return button >= SDL_CONTROLLER_BUTTON_DPAD_UP && button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
}

// The key a button is in every state, or 0.
int KeyOfButtonEverywhere(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_START:
        return VK_PAUSE;
    case SDL_CONTROLLER_BUTTON_BACK:
        return VK_ESCAPE;
    case SDL_CONTROLLER_BUTTON_Y:
        return 'Y';
    case SDL_CONTROLLER_BUTTON_X:
        return 'N';
    default:
        return 0;
    }
}

// The key a button is in play (the pointer hidden), or 0.
int KeyOfButtonInPlay(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return kTurnClockwise;
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return kTurnCounter;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return VK_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return VK_RIGHT;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return VK_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return VK_DOWN;
    default:
        return 0;
    }
}

// What the pads hold now, as keys and the left button.
void Wanted(std::array<bool, 256>* keys, bool* leftButton) {
    const bool menus = CursorIsShown();
    for (const Pad& pad : State().pads) {
        for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
            if (!pad.buttons[button])
                continue;
            if (const int key = KeyOfButtonEverywhere(button)) {
                (*keys)[key] = true;
                continue;
            }
            // The D-pad follows the pointer at once; the other buttons keep their meaning.
            const bool inMenus = IsDirection(button) ? menus : pad.pressedInMenus[button];
            if (!inMenus) {
                if (const int key = KeyOfButtonInPlay(button))
                    (*keys)[key] = true;
            } else if (button == SDL_CONTROLLER_BUTTON_A) {
                *leftButton = true;
            }
        }
        if (menus)
            continue;
        const int x = pad.axes[SDL_CONTROLLER_AXIS_LEFTX];
        const int y = pad.axes[SDL_CONTROLLER_AXIS_LEFTY];
        if (x <= -kKeyDeadZone)
            (*keys)[VK_LEFT] = true;
        if (x >= kKeyDeadZone)
            (*keys)[VK_RIGHT] = true;
        if (y <= -kKeyDeadZone)
            (*keys)[VK_UP] = true;
        if (y >= kKeyDeadZone)
            (*keys)[VK_DOWN] = true;
    }
}

// Lets go of what the pads no longer hold, then presses what they newly hold.
void Sync() {
    PadState& state = State();
    std::array<bool, 256> keys{};
    bool leftButton = false;
    Wanted(&keys, &leftButton);
    HWND window = NewestProgramWindow();
    if (state.leftButton && !leftButton)
        LeftButtonInput(window, PointerPosition(), false, false);
    for (int key = 1; key < 256; ++key)
        if (state.keys[key] && !keys[key])
            KeyInput(window, key, 0, false);
    for (int key = 1; key < 256; ++key)
        if (keys[key] && !state.keys[key])
            KeyInput(window, key, 0, true);
    if (leftButton && !state.leftButton)
        LeftButtonInput(window, PointerPosition(), true, false);
    state.keys = keys;
    state.leftButton = leftButton;
}

// A stick's tilt past the pointer's dead zone, from -1 to 1, finer near the rest.
double Tilt(int value) {
    const int magnitude = std::abs(value);
    if (magnitude <= kPointerDeadZone)
        return 0.0;
    const double share =
        std::min(1.0, double(magnitude - kPointerDeadZone) / double(kAxisMax - kPointerDeadZone));
    return value < 0 ? -share * share : share * share;
}

// Where the pads push the pointer, each way from -1 to 1.
void Push(double* dx, double* dy) {
    for (const Pad& pad : State().pads) {
        *dx += Tilt(pad.axes[SDL_CONTROLLER_AXIS_LEFTX]);
        *dy += Tilt(pad.axes[SDL_CONTROLLER_AXIS_LEFTY]);
        *dx += pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_RIGHT] -
               pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_LEFT];
        *dy += pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_DOWN] -
               pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_UP];
    }
    *dx = std::clamp(*dx, -1.0, 1.0);
    *dy = std::clamp(*dy, -1.0, 1.0);
}

// Shows the moved pointer on the display too, where there is a real one.
void WarpShownPointer(HWND handle, POINT point, int modeWidth, int modeHeight) {
    Window* window = WindowFromHandle(handle);
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!window || !SdlWindowOf(window) || !driver || std::strcmp(driver, "dummy") == 0 ||
        std::strcmp(driver, "offscreen") == 0)
        return;
    int width = 0, height = 0;
    SDL_GetWindowSize(SdlWindowOf(window), &width, &height);
    const Letterbox box = FitMode(width, height, modeWidth, modeHeight);
    SDL_WarpMouseInWindow(
        SdlWindowOf(window),
        box.x + static_cast<int>((2 * point.x + 1) * int64_t{box.width} / (2 * modeWidth)),
        box.y + static_cast<int>((2 * point.y + 1) * int64_t{box.height} / (2 * modeHeight)));
}

void MovePointer() {
    PadState& state = State();
    const uint32_t now = timeGetTime();
    const uint32_t step = state.timed ? std::min(now - state.lastTime, kLongestStepMs) : 0;
    state.timed = true;
    state.lastTime = now;
    double dx = 0.0, dy = 0.0;
    Push(&dx, &dy);
    if ((dx == 0.0 && dy == 0.0) || step == 0)
        return;
    const PixelSurface& frame = LastPresentedFrame();
    const int width = frame.width > 0 ? frame.width : 640;
    const int height = frame.height > 0 ? frame.height : 480;
    const POINT at = PointerPosition();
    // The mouse moved it since: go on from where it is.
    if (!state.placed || at.x != state.posted.x || at.y != state.posted.y) {
        state.x = at.x + 0.5;
        state.y = at.y + 0.5;
        state.placed = true;
    }
    const double pixels = height * step / kHeightCrossingMs;
    state.x = std::clamp(state.x + dx * pixels, 0.0, width - 0.001);
    state.y = std::clamp(state.y + dy * pixels, 0.0, height - 0.001);
    const POINT to{static_cast<LONG>(state.x), static_cast<LONG>(state.y)};
    state.posted = to;
    if (to.x == at.x && to.y == at.y)
        return;
    HWND window = NewestProgramWindow();
    MouseMoveInput(window, to);
    WarpShownPointer(window, to, width, height);
}

} // namespace

void StartPads() {
    PadState& state = State();
    if (state.startTried)
        return;
    state.startTried = true;
    // SDL drops a controller's input while no window of the program has the keyboard's focus;
    // the drivers without a display have no focus to give.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0))
        SDL_SetHintWithPriority(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1", SDL_HINT_DEFAULT);
    // The joysticks are updated here, not at every look at SDL's events (see PadsBeforeEvents).
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    // No controller support is no loss to the keyboard and the mouse: nothing to say.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void UpdatePads() {
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER))
        return;
    PadState& state = State();
    state.looked = true;
    state.lastLook = SDL_GetTicks();
    SDL_JoystickUpdate();
}

void PadsBeforeEvents() {
    StartPads();
    const PadState& state = State();
    if (state.pads.empty() && state.looked && SDL_GetTicks() - state.lastLook < kLookEveryMs)
        return;
    UpdatePads();
}

bool PadEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYDEVICEADDED:
        Ignore(event.jdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEADDED:
        Open(event.cdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED: {
        std::vector<Pad>& pads = State().pads;
        const auto gone = std::find_if(pads.begin(), pads.end(), [&](const Pad& pad) {
            return pad.id == event.cdevice.which;
        });
        if (gone != pads.end()) {
            SDL_GameControllerClose(gone->controller);
            pads.erase(gone);
            Sync();
        }
        return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        Pad* pad = PadOf(event.cbutton.which);
        const int button = event.cbutton.button;
        if (pad && button < SDL_CONTROLLER_BUTTON_MAX) {
            const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
            if (down && !pad->buttons[button])
                pad->pressedInMenus[button] = CursorIsShown();
            pad->buttons[button] = down;
            Sync();
        }
        return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
        Pad* pad = PadOf(event.caxis.which);
        if (pad && event.caxis.axis < SDL_CONTROLLER_AXIS_MAX) {
            pad->axes[event.caxis.axis] = event.caxis.value;
            Sync();
        }
        return true;
    }
    case SDL_JOYDEVICEREMOVED:
    case SDL_JOYAXISMOTION:
    case SDL_JOYBALLMOTION:
    case SDL_JOYHATMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
    case SDL_CONTROLLERDEVICEREMAPPED:
        return true;
    default:
        return false;
    }
}

void PadPass() {
    PadState& state = State();
    if (state.pads.empty())
        return;
    Sync();
    if (CursorIsShown())
        MovePointer();
    else
        state.timed = false;
}

} // namespace compat
