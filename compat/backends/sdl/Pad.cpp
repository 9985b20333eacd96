// SDL's game controllers, fed to the pads' layout: see Pad.h.
#include "sdl/Pad.h"

#include "compat/Seams.h"
#include "ddraw/Letterbox.h"
#include "pad/PadLayout.h"
#include "sdl/SdlWindow.h"
#include "window/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace compat {

namespace {

// SDL numbers a controller's buttons and axes as the layout does.
constexpr bool Same(int sdl, int layout) {
    return sdl == layout;
}
static_assert(Same(SDL_CONTROLLER_BUTTON_A, pad::kSouth) &&
                  Same(SDL_CONTROLLER_BUTTON_Y, pad::kNorth) &&
                  Same(SDL_CONTROLLER_BUTTON_BACK, pad::kBack) &&
                  Same(SDL_CONTROLLER_BUTTON_START, pad::kStart) &&
                  Same(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, pad::kLeftShoulder) &&
                  Same(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, pad::kDpadRight),
              "SDL's buttons are the layout's");
static_assert(Same(SDL_CONTROLLER_AXIS_LEFTX, pad::kLeftX) &&
                  Same(SDL_CONTROLLER_AXIS_RIGHTY, pad::kRightY) &&
                  Same(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, pad::kRightTrigger) &&
                  Same(SDL_CONTROLLER_AXIS_MAX, pad::kAxes),
              "SDL's axes are the layout's");

// Without a controller, SDL looks for new ones this often: its look costs a few microseconds,
// which every pass would pay.
constexpr uint32_t kLookEveryMs = 250;

struct Controller {
    SDL_JoystickID id = -1;
    SDL_GameController* controller = nullptr;
};

struct SdlPads {
    bool startTried = false;
    std::vector<Controller> open;
    bool looked = false;
    uint32_t lastLook = 0;
};

SdlPads& State() {
    static SdlPads state = [] {
        seams::AddResetHook([] {
            for (Controller& open : State().open)
                SDL_GameControllerClose(open.controller);
            const bool started = State().startTried;
            State() = SdlPads{};
            State().startTried = started;
        });
        return SdlPads{};
    }();
    return state;
}

void Open(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (pad::PadKnown(id))
        return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        std::fprintf(stderr, "quibbo: the game controller \"%s\" cannot be opened: %s\n",
                     SDL_GameControllerNameForIndex(deviceIndex), SDL_GetError());
        return;
    }
    Controller open;
    open.controller = controller;
    open.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    State().open.push_back(open);
    pad::PadArrived(open.id);
}

void Close(SDL_JoystickID id) {
    std::vector<Controller>& open = State().open;
    const auto gone = std::find_if(open.begin(), open.end(),
                                   [&](const Controller& each) { return each.id == id; });
    if (gone == open.end())
        return;
    SDL_GameControllerClose(gone->controller);
    open.erase(gone);
    pad::PadLeft(id);
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

// Shows the pointer the pads moved on the display too, where there is a real one.
void WarpPointer(HWND handle, POINT point, int modeWidth, int modeHeight) {
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

} // namespace

void StartPads() {
    SdlPads& state = State();
    if (state.startTried)
        return;
    state.startTried = true;
    pad::SetShowPointer(WarpPointer);
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
    SdlPads& state = State();
    state.looked = true;
    state.lastLook = SDL_GetTicks();
    SDL_JoystickUpdate();
}

void PadsBeforeEvents() {
    StartPads();
    const SdlPads& state = State();
    if (state.open.empty() && state.looked && SDL_GetTicks() - state.lastLook < kLookEveryMs)
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
    case SDL_CONTROLLERDEVICEREMOVED:
        Close(event.cdevice.which);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        // The layout's buttons are the first of SDL's; the paddles and the rest press nothing.
        pad::PadButton(event.cbutton.which, event.cbutton.button,
                       event.type == SDL_CONTROLLERBUTTONDOWN);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        pad::PadAxis(event.caxis.which, event.caxis.axis, event.caxis.value);
        return true;
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

} // namespace compat
