// Test seams of game controllers: virtual controllers (SDL's virtual joystick) that the game
// sees as a player's pads. Only tests and tools include this header.
#pragma once

namespace compat::seams {

// Attaches virtual controller `pad` (0 to 3): it arrives at the next pass as a controller
// plugged in; with `controller` false, as a plain joystick (which the backend knows no mapping
// for unless its controller configuration gives one). False when the backend cannot make it,
// or the pad is attached already.
bool AttachPad(int pad, bool controller = true);
// Pulls it out: it goes at the next pass, and everything it held is let go.
bool DetachPad(int pad);
// A button or an axis (-32768 to 32767) of an attached pad, numbered as the standard
// controller layout's: buttons south, east, west, north, back, guide, start, left stick, right
// stick, left shoulder, right shoulder, D-pad up, down, left, right; axes left x, left y, right
// x, right y, left trigger, right trigger. The game sees it at the next pass.
bool SetPadButton(int pad, int button, bool down);
bool SetPadAxis(int pad, int axis, int value);
// Every virtual pad detached (for a fresh start, and the end of a script).
void DetachAllPads();

} // namespace compat::seams
