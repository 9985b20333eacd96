// Game controllers as the keyboard and the mouse: see PadLayout.h for the layout.
#include "pad/PadLayout.h"

#include "compat/Seams.h"
#include "ddraw/Screen.h"
#include "files/Files.h"
#include "pixels/PixelSurface.h"
#include "window/Cursor.h"
#include "window/KeyState.h"
#include "window/MessageQueue.h"
#include "window/Window.h"

#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace compat::pad {

namespace {

// The four actions a player binds, in the settings file's order, and the game's keys for them
// until the file says otherwise.
enum Action { kMoveLeft, kMoveRight, kTurnClockwise, kTurnCounter, kActions };
constexpr std::array<int, kActions> kDefaultActionKeys = {VK_LEFT, VK_RIGHT, 'A', 'D'};
const char kSettingsFile[] = "quibbo.ini";
// The settings file is 16 bytes; anything much larger is not one.
constexpr size_t kSettingsMaxBytes = 4096;
// The pads' own keys (VK_GAMEPAD_A to VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT).
constexpr int kFirstPadKey = VK_GAMEPAD_A;
constexpr int kLastPadKey = VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT;
// A trigger pulled this far is down as a key.
constexpr int kTriggerDown = 16000;
// A stick nearer its rest than this does nothing as an arrow key (a worn stick rests off
// centre); as the pointer it moves from a smaller dead zone on.
constexpr int kKeyDeadZone = 12000;
constexpr int kPointerDeadZone = 6000;
// The pointer at full tilt crosses the mode's height in this many milliseconds, the width in
// as many heights: the same speed on the screen whatever the mode's pixels.
constexpr double kHeightCrossingMs = 1100.0;
// A pass longer than this (a stall, a breakpoint) moves the pointer no further.
constexpr uint32_t kLongestStepMs = 50;

struct Pad {
    int id = -1;
    std::array<bool, kButtons> buttons{};
    // What each held button went down as: the pointer's (shown) or play's (hidden). A button
    // keeps that meaning until it is let go, so the click on Start does not turn the field.
    std::array<bool, kButtons> pressedInMenus{};
    std::array<int, kAxes> axes{};
};

struct PadState {
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
    // The keys the game has the four actions on, as the pad's layout presses them.
    std::array<int, kActions> actionKeys = kDefaultActionKeys;
    // The pad keys the game polls since play began: those the player has bound. Such a button
    // acts through its binding alone, not through the layout as well.
    std::array<bool, 256> boundPadKeys{};
    bool pointerKnown = false;
    bool pointerShown = false;
};

ShowPointer showPointer = nullptr;

PadState& State() {
    static PadState state = [] {
        seams::AddResetHook([] { State() = PadState{}; });
        return PadState{};
    }();
    return state;
}

Pad* PadOf(int id) {
    for (Pad& pad : State().pads)
        if (pad.id == id)
            return &pad;
    return nullptr;
}

bool IsDirection(int button) {
    return button >= kDpadUp && button <= kDpadRight;
}

// The key a button is in every state, or 0.
int KeyOfButtonEverywhere(int button) {
    switch (button) {
    case kStart:
        return VK_PAUSE;
    case kBack:
        return VK_ESCAPE;
    case kNorth:
        return 'Y';
    case kWest:
        return 'N';
    default:
        return 0;
    }
}

// A button's own key, VK_GAMEPAD_*, as Windows numbers them; 0 for one without.
int PadKeyOfButton(int button) {
    switch (button) {
    case kSouth:
        return VK_GAMEPAD_A;
    case kEast:
        return VK_GAMEPAD_B;
    case kWest:
        return VK_GAMEPAD_X;
    case kNorth:
        return VK_GAMEPAD_Y;
    case kRightShoulder:
        return VK_GAMEPAD_RIGHT_SHOULDER;
    case kLeftShoulder:
        return VK_GAMEPAD_LEFT_SHOULDER;
    case kDpadUp:
        return VK_GAMEPAD_DPAD_UP;
    case kDpadDown:
        return VK_GAMEPAD_DPAD_DOWN;
    case kDpadLeft:
        return VK_GAMEPAD_DPAD_LEFT;
    case kDpadRight:
        return VK_GAMEPAD_DPAD_RIGHT;
    case kStart:
        return VK_GAMEPAD_MENU;
    case kBack:
        return VK_GAMEPAD_VIEW;
    case kLeftStick:
        return VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON;
    case kRightStick:
        return VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON;
    default:
        return 0;
    }
}

// The key a button is in play (the pointer hidden), or 0: the key the game has the button's
// action on. Up and down are the arrows, hurrying being no binding of the player's.
int KeyOfButtonInPlay(int button) {
    const std::array<int, kActions>& keys = State().actionKeys;
    switch (button) {
    case kSouth:
    case kRightShoulder:
        return keys[kTurnClockwise];
    case kEast:
    case kLeftShoulder:
        return keys[kTurnCounter];
    case kDpadLeft:
        return keys[kMoveLeft];
    case kDpadRight:
        return keys[kMoveRight];
    case kDpadUp:
        return VK_UP;
    case kDpadDown:
        return VK_DOWN;
    default:
        return 0;
    }
}

// The keys of the actions as the game last saved them. The game keeps its bindings to itself
// and writes them when it is left, so a key bound on the controls screen reaches the layout
// from the next start; a pad button bound there acts at once (see boundPadKeys).
void ReadActionKeys() {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(kSettingsFile, kSettingsMaxBytes, &bytes))
        return;
    PadState& state = State();
    // The game reads the bytes one by one: a short file leaves the rest as they were.
    for (size_t action = 0; action < kActions && action < bytes.size(); ++action) {
        state.actionKeys[action] = bytes[action];
        if (bytes[action] >= kFirstPadKey && bytes[action] <= kLastPadKey)
            state.boundPadKeys[bytes[action]] = true;
    }
}

// Play begins when the pointer hides: the saved keys are read then. The menus are where keys
// are bound, so what the game polled before is forgotten when the pointer comes back.
void FollowPointer(bool shown) {
    PadState& state = State();
    if (state.pointerKnown && state.pointerShown == shown)
        return;
    state.pointerKnown = true;
    state.pointerShown = shown;
    state.boundPadKeys = {};
    if (!shown)
        ReadActionKeys();
}

// A pad key is held, and in play the layout's key too unless the player bound the pad key.
void HoldInPlay(std::array<bool, 256>* keys, int padKey, int layoutKey) {
    (*keys)[padKey] = true;
    if (layoutKey && !State().boundPadKeys[padKey])
        (*keys)[layoutKey] = true;
}

// A stick's four directions as keys, past the dead zone: its own keys, and in play the
// layout's (left, right, up, down; 0 for none).
void HoldStick(std::array<bool, 256>* keys, int x, int y, int firstPadKey,
               const std::array<int, 4>& layout) {
    if (y <= -kKeyDeadZone)
        HoldInPlay(keys, firstPadKey, layout[2]);
    if (y >= kKeyDeadZone)
        HoldInPlay(keys, firstPadKey + 1, layout[3]);
    if (x >= kKeyDeadZone)
        HoldInPlay(keys, firstPadKey + 2, layout[1]);
    if (x <= -kKeyDeadZone)
        HoldInPlay(keys, firstPadKey + 3, layout[0]);
}

// What the pads hold now, as keys and the left button. On the menus the south button, the
// D-pad and the left stick are the pointer and no keys: the controls screen binds whatever key
// goes down, and these have to pick its rows.
void Wanted(std::array<bool, 256>* keys, bool* leftButton) {
    const bool menus = CursorIsShown();
    FollowPointer(menus);
    const std::array<int, kActions>& actions = State().actionKeys;
    const std::array<int, 4> noLayout{};
    const std::array<int, 4> leftStickLayout = {actions[kMoveLeft], actions[kMoveRight], VK_UP,
                                                VK_DOWN};
    for (const Pad& pad : State().pads) {
        for (int button = 0; button < kButtons; ++button) {
            if (!pad.buttons[button])
                continue;
            const int padKey = PadKeyOfButton(button);
            // The D-pad follows the pointer at once; the other buttons keep their meaning.
            const bool inMenus = IsDirection(button) ? menus : pad.pressedInMenus[button];
            if (const int key = KeyOfButtonEverywhere(button)) {
                (*keys)[key] = true;
                (*keys)[padKey] = true;
            } else if (!inMenus) {
                if (padKey)
                    HoldInPlay(keys, padKey, KeyOfButtonInPlay(button));
            } else if (button == kSouth) {
                *leftButton = true;
            } else if (!IsDirection(button) && padKey) {
                (*keys)[padKey] = true;
            }
        }
        if (pad.axes[kLeftTrigger] >= kTriggerDown)
            (*keys)[VK_GAMEPAD_LEFT_TRIGGER] = true;
        if (pad.axes[kRightTrigger] >= kTriggerDown)
            (*keys)[VK_GAMEPAD_RIGHT_TRIGGER] = true;
        HoldStick(keys, pad.axes[kRightX], pad.axes[kRightY], VK_GAMEPAD_RIGHT_THUMBSTICK_UP,
                  noLayout);
        if (!menus)
            HoldStick(keys, pad.axes[kLeftX], pad.axes[kLeftY], VK_GAMEPAD_LEFT_THUMBSTICK_UP,
                      leftStickLayout);
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
    // On the menus the pad's own keys go down first: a waiting row of the controls screen takes
    // the first key, and north should bind as Pad Y, not as the Y it also is. In play the game's
    // keys go first, Pause taking effect in the frame it would from the keyboard.
    const bool padKeysFirst = CursorIsShown();
    for (int pass = 0; pass < 2; ++pass)
        for (int key = 1; key < 256; ++key) {
            const bool padKey = key >= kFirstPadKey && key <= kLastPadKey;
            if (keys[key] && !state.keys[key] && padKey == (padKeysFirst == (pass == 0)))
                KeyInput(window, key, 0, true);
        }
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
        *dx += Tilt(pad.axes[kLeftX]);
        *dy += Tilt(pad.axes[kLeftY]);
        *dx += pad.buttons[kDpadRight] - pad.buttons[kDpadLeft];
        *dy += pad.buttons[kDpadDown] - pad.buttons[kDpadUp];
    }
    *dx = std::clamp(*dx, -1.0, 1.0);
    *dy = std::clamp(*dy, -1.0, 1.0);
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
    if (showPointer)
        showPointer(window, to, width, height);
}

} // namespace

void PadArrived(int id) {
    if (PadOf(id))
        return;
    Pad pad;
    pad.id = id;
    State().pads.push_back(pad);
}

void PadLeft(int id) {
    std::vector<Pad>& pads = State().pads;
    const auto gone =
        std::find_if(pads.begin(), pads.end(), [&](const Pad& pad) { return pad.id == id; });
    if (gone == pads.end())
        return;
    pads.erase(gone);
    Sync();
}

bool PadKnown(int id) {
    return PadOf(id) != nullptr;
}

bool AnyPad() {
    return !State().pads.empty();
}

void PadButton(int id, int button, bool down) {
    Pad* pad = PadOf(id);
    if (!pad || button < 0 || button >= kButtons)
        return;
    if (down && !pad->buttons[button])
        pad->pressedInMenus[button] = CursorIsShown();
    pad->buttons[button] = down;
    Sync();
}

void PadAxis(int id, int axis, int value) {
    Pad* pad = PadOf(id);
    if (!pad || axis < 0 || axis >= kAxes)
        return;
    pad->axes[axis] = value;
    Sync();
}

void PadPass() {
    PadState& state = State();
    if (state.pads.empty())
        return;
    for (int key = kFirstPadKey; key <= kLastPadKey; ++key)
        if (TakeKeyAsked(key))
            state.boundPadKeys[key] = true;
    Sync();
    if (CursorIsShown())
        MovePointer();
    else
        state.timed = false;
}

void SetShowPointer(ShowPointer show) {
    showPointer = show;
}

} // namespace compat::pad
