// Inside the platform layer: game controllers as the keyboard and the mouse.
//
// Every controller SDL knows as a game controller is opened when it arrives (at start or
// later); its buttons and sticks become key states, key messages and pointer moves, so the game
// hears a pad as it hears a player's keys and mouse. While the pointer is shown (the menus) the
// D-pad and the left stick move it and the south button clicks; while it is hidden (play) they
// are the arrow keys and the south, east and shoulder buttons turn the field. Start is Pause,
// Back is Escape, north and west are Y and N everywhere.
#pragma once

union SDL_Event;

namespace compat {

// Takes the controller events (arrivals, removals, buttons, axes); false for any other event.
bool PadEvent(const SDL_Event& event);
// After the events of a pass: moves the pointer for the sticks held and follows the pointer
// being shown or hidden. Does nothing while no controller is open.
void PadPass();
// Starts SDL's controller subsystem once (its mapping database, SDL_GAMECONTROLLERCONFIG and
// SDL_GAMECONTROLLERCONFIG_FILE); the controllers present come as arrivals.
void StartPads();
// Before SDL's events are read: starts the controllers, and has SDL read them (every pass while
// one is open, else a few times a second to notice one plugged in).
void PadsBeforeEvents();
// Has SDL read the controllers now (a virtual one just attached or changed).
void UpdatePads();

} // namespace compat
