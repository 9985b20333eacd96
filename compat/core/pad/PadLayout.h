// Game controllers as the keyboard and the mouse: the layout, fed by the backend with each
// pad's buttons and axes.
//
// A backend reports its controllers as they arrive and leave, and every change of a button or
// an axis; the layout turns them into key states, key messages and pointer moves, so the game
// hears a pad as it hears a player's keys and mouse. While the pointer is shown (the menus) the
// D-pad and the left stick move it and the south button clicks; while it is hidden (play) they
// are the arrow keys and the south, east and shoulder buttons turn the field. Start is Pause,
// Back is Escape, north and west are Y and N everywhere.
#pragma once

#include <windows.h>

namespace compat::pad {

// The standard controller's buttons and axes, in its order (SDL's game controller numbers them
// so; the browser's standard gamepad has its own order, which its backend maps).
enum Button {
    kSouth,
    kEast,
    kWest,
    kNorth,
    kBack,
    kGuide,
    kStart,
    kLeftStick,
    kRightStick,
    kLeftShoulder,
    kRightShoulder,
    kDpadUp,
    kDpadDown,
    kDpadLeft,
    kDpadRight,
    kButtons
};
enum Axis { kLeftX, kLeftY, kRightX, kRightY, kLeftTrigger, kRightTrigger, kAxes };
// Sticks run from -32768 to this (negative: left and up), triggers from 0 to this.
constexpr int kAxisMax = 32767;

// A pad the backend names `id` arrived (again: nothing happens) or left (what it held is let
// go).
void PadArrived(int id);
void PadLeft(int id);
bool PadKnown(int id);
bool AnyPad();
// A button or axis of a known pad changed; others are ignored.
void PadButton(int id, int button, bool down);
void PadAxis(int id, int axis, int value);
// After the events of a pass: takes the pad keys the game polled as bound, moves the pointer for
// the sticks and D-pads held and follows the pointer being shown or hidden. Does nothing while no
// pad is known.
void PadPass();

// How the backend shows the pointer the pads moved on its display (at `point` of a mode of
// `modeWidth` by `modeHeight`), where it can; none by default.
using ShowPointer = void (*)(HWND window, POINT point, int modeWidth, int modeHeight);
void SetShowPointer(ShowPointer show);

} // namespace compat::pad
