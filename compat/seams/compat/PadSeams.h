// Test seams of game controllers: virtual controllers (SDL's virtual joystick) that the game
// sees as a player's pads. Only tests and tools include this header.
#pragma once

namespace compat::seams {

// Attaches virtual controller `pad` (0 to 3): it arrives at the next pass as a controller
// plugged in; with `controller` false, as a plain joystick (SDL knows no mapping for it unless
// SDL_GAMECONTROLLERCONFIG gives one). False when SDL cannot make it, or the pad is attached
// already.
bool AttachPad(int pad, bool controller = true);
// Pulls it out: it goes at the next pass, and everything it held is let go.
bool DetachPad(int pad);
// A button (SDL_GameControllerButton's numbering) or an axis (SDL_GameControllerAxis's,
// -32768 to 32767) of an attached pad; the game sees it at the next pass.
bool SetPadButton(int pad, int button, bool down);
bool SetPadAxis(int pad, int axis, int value);
// Every virtual pad detached (for a fresh start, and the end of a script).
void DetachAllPads();

} // namespace compat::seams
