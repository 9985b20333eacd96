// Inside the platform layer: SDL's game controllers, fed to the pads' layout
// (pad/PadLayout.h).
//
// Every controller SDL knows as a game controller is opened when it arrives (at start or
// later); its buttons and axes, which SDL numbers as the layout does, go to the layout as they
// change.
#pragma once

union SDL_Event;

namespace compat {

// Takes the controller events (arrivals, removals, buttons, axes); false for any other event.
bool PadEvent(const SDL_Event& event);
// Starts SDL's controller subsystem once (its mapping database, SDL_GAMECONTROLLERCONFIG and
// SDL_GAMECONTROLLERCONFIG_FILE); the controllers present come as arrivals.
void StartPads();
// Before SDL's events are read: starts the controllers, and has SDL read them (every pass while
// one is open, else a few times a second to notice one plugged in).
void PadsBeforeEvents();
// Has SDL read the controllers now (a virtual one just attached or changed).
void UpdatePads();

} // namespace compat
