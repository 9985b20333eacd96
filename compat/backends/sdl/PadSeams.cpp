#include "compat/PadSeams.h"

#include "sdl/Pad.h"
#include "compat/Seams.h"

#include <SDL.h>

#include <array>

namespace compat::seams {

namespace {

constexpr int kPads = 4;

struct VirtualPad {
    SDL_Joystick* joystick = nullptr;
};

std::array<VirtualPad, kPads>& Pads() {
    static std::array<VirtualPad, kPads> pads = [] {
        AddResetHook(DetachAllPads);
        return std::array<VirtualPad, kPads>{};
    }();
    return pads;
}

SDL_Joystick* JoystickOf(int pad) {
    return pad >= 0 && pad < kPads ? Pads()[pad].joystick : nullptr;
}

} // namespace

bool AttachPad(int pad, bool controller) {
    if (pad < 0 || pad >= kPads || Pads()[pad].joystick)
        return false;
    StartPads();
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER))
        return false;
    const int device = SDL_JoystickAttachVirtual(
        controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN,
        SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    if (device < 0)
        return false;
    Pads()[pad].joystick = SDL_JoystickOpen(device);
    // Its arrival comes with the next pass's events.
    UpdatePads();
    return Pads()[pad].joystick != nullptr;
}

bool DetachPad(int pad) {
    SDL_Joystick* joystick = JoystickOf(pad);
    if (!joystick)
        return false;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    Pads()[pad].joystick = nullptr;
    for (int device = 0; device < SDL_NumJoysticks(); ++device)
        if (SDL_JoystickGetDeviceInstanceID(device) == id) {
            const bool detached = SDL_JoystickDetachVirtual(device) == 0;
            UpdatePads();
            return detached;
        }
    return false;
}

bool SetPadButton(int pad, int button, bool down) {
    SDL_Joystick* joystick = JoystickOf(pad);
    return joystick && SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0) == 0;
}

bool SetPadAxis(int pad, int axis, int value) {
    SDL_Joystick* joystick = JoystickOf(pad);
    return joystick && SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(value)) == 0;
}

void DetachAllPads() {
    for (int pad = 0; pad < kPads; ++pad)
        DetachPad(pad);
}

} // namespace compat::seams
