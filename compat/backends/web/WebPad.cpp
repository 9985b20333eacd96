// The browser's gamepads (the Gamepad API), fed to the pads' layout (pad/PadLayout.h): read
// once per pass, every pass while one is known, else a few times a second to notice one plugged
// in (a browser shows one only after a button is pressed).
//
// Only gamepads of the browser's "standard" mapping are taken: their buttons and axes have
// known places, which are mapped here to the layout's (its order is the standard controller's of
// SDL, which the browser's does not follow). The triggers are buttons there, with a value.
#include "web/WebPad.h"

#include "pad/PadLayout.h"

#include <emscripten.h>

#include <array>

extern "C" {
// The page's side (js/pads.js): up to `count` gamepads into `out`, kPadInts each; the count
// read.
int quibbo_pads_read(int* out, int count);
}

namespace compat {

namespace {

// As js/pads.js writes them: the gamepad's index, its 17 buttons pressed or not, its two
// triggers' values and its four axes (both from 0 or -32768 to 32767).
constexpr int kStandardButtons = 17;
constexpr int kPadInts = 1 + kStandardButtons + 2 + 4;
constexpr int kMostPads = 4;
constexpr double kLookEveryMs = 250.0;

// The layout's button at each button of the standard gamepad (-1: the triggers, read as axes).
constexpr std::array<int, kStandardButtons> kLayoutButton = {pad::kSouth,
                                                             pad::kEast,
                                                             pad::kWest,
                                                             pad::kNorth,
                                                             pad::kLeftShoulder,
                                                             pad::kRightShoulder,
                                                             -1,
                                                             -1,
                                                             pad::kBack,
                                                             pad::kStart,
                                                             pad::kLeftStick,
                                                             pad::kRightStick,
                                                             pad::kDpadUp,
                                                             pad::kDpadDown,
                                                             pad::kDpadLeft,
                                                             pad::kDpadRight,
                                                             pad::kGuide};
// The layout's axis at each of the standard gamepad's four (up and left negative in both).
constexpr std::array<int, 4> kLayoutAxis = {pad::kLeftX, pad::kLeftY, pad::kRightX, pad::kRightY};

struct Seen {
    bool present = false;
    std::array<bool, pad::kButtons> buttons{};
    std::array<int, pad::kAxes> axes{};
};

std::array<Seen, kMostPads> seen;
double lastLook = -1e9;

void Update(int id, const int* read) {
    Seen& pad = seen[id];
    if (!pad.present) {
        pad = Seen{};
        pad.present = true;
        pad::PadArrived(id);
    }
    for (int button = 0; button < kStandardButtons; ++button) {
        const int layout = kLayoutButton[button];
        const bool down = read[1 + button] != 0;
        if (layout < 0 || pad.buttons[layout] == down)
            continue;
        pad.buttons[layout] = down;
        pad::PadButton(id, layout, down);
    }
    std::array<int, pad::kAxes> axes{};
    axes[pad::kLeftTrigger] = read[1 + kStandardButtons];
    axes[pad::kRightTrigger] = read[2 + kStandardButtons];
    for (int axis = 0; axis < 4; ++axis)
        axes[kLayoutAxis[axis]] = read[3 + kStandardButtons + axis];
    for (int axis = 0; axis < pad::kAxes; ++axis)
        if (pad.axes[axis] != axes[axis]) {
            pad.axes[axis] = axes[axis];
            pad::PadAxis(id, axis, axes[axis]);
        }
}

} // namespace

void WebPadPass() {
    bool any = false;
    for (const Seen& pad : seen)
        any = any || pad.present;
    const double now = emscripten_get_now();
    if (any || now - lastLook >= kLookEveryMs) {
        lastLook = now;
        std::array<int, kPadInts * kMostPads> read{};
        const int count = quibbo_pads_read(read.data(), kMostPads);
        std::array<bool, kMostPads> here{};
        for (int each = 0; each < count; ++each) {
            const int* one = read.data() + each * kPadInts;
            if (one[0] < 0 || one[0] >= kMostPads)
                continue;
            here[one[0]] = true;
            Update(one[0], one);
        }
        for (int id = 0; id < kMostPads; ++id)
            if (seen[id].present && !here[id]) {
                seen[id] = Seen{};
                pad::PadLeft(id);
            }
    }
    pad::PadPass();
}

} // namespace compat
