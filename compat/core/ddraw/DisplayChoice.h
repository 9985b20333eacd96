// Inside the platform layer: full screen or a window, as the player last chose.
//
// The choice and the window's size are kept in "window.txt" in the working folder (the
// player's folder), apart from the game's own settings: a line "window WxH" or
// "fullscreen WxH". A missing or damaged file means full screen; QUIBBO_WINDOWED overrides the
// file until the player switches.
#pragma once

namespace compat {

struct DisplayChoice {
    bool windowed = false;
    // The window's last size; 0 when none is known.
    int width = 0;
    int height = 0;
};

// The choice as the file gave it at the start of the run, then as last set.
DisplayChoice& CurrentDisplayChoice();
// Parses one line of the file; false (and `choice` untouched) when it is damaged.
bool ParseDisplayChoice(const char* text, DisplayChoice* choice);
// Writes the current choice to the file; quietly nothing when it cannot be written.
void SaveDisplayChoice();

// Whether the screen is a window rather than the whole screen: as the player last chose
// (Alt+Enter), or as QUIBBO_WINDOWED=1 or =0 says until the player switches.
bool WindowedWanted();
// The player switched (Alt+Enter): from now on the choice alone decides.
void NoteSwitchByPlayer();
bool SwitchedByPlayer();

// The largest window the desktop holds, with room for the window's frame and the panels.
void WindowRoom(int desktopWidth, int desktopHeight, int* width, int* height);
// The first size of a window for a mode of modeWidth x modeHeight on a desktop of
// desktopWidth x desktopHeight: `scale` times the mode (the largest whole multiple when 0),
// never larger than the desktop less room for the window's frame, the mode's shape kept.
void WindowSizeFor(int modeWidth, int modeHeight, int desktopWidth, int desktopHeight, double scale,
                   int* width, int* height);

} // namespace compat
