#include "ddraw/DisplayChoice.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace compat {

namespace {

const char* const kFileName = "window.txt";
// Room left around a window for its title bar, borders and the desktop's panels.
const int kFrameWidth = 40;
const int kFrameHeight = 100;
const int kLargestSide = 16384;

DisplayChoice ReadChoice() {
    DisplayChoice choice;
    if (std::FILE* file = std::fopen(kFileName, "r")) {
        char line[64] = {};
        if (std::fgets(line, sizeof line, file))
            ParseDisplayChoice(line, &choice);
        std::fclose(file);
    }
    return choice;
}

} // namespace

bool ParseDisplayChoice(const char* text, DisplayChoice* choice) {
    char word[16] = {};
    int width = 0, height = 0;
    char rest = 0;
    if (std::sscanf(text, "%15s %dx%d %c", word, &width, &height, &rest) != 3)
        return false;
    const bool window = std::strcmp(word, "window") == 0;
    if (!window && std::strcmp(word, "fullscreen") != 0)
        return false;
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide)
        return false;
    *choice = DisplayChoice{window, width, height};
    return true;
}

DisplayChoice& CurrentDisplayChoice() {
    static DisplayChoice choice = ReadChoice();
    return choice;
}

void SaveDisplayChoice() {
    const DisplayChoice& choice = CurrentDisplayChoice();
    std::FILE* file = std::fopen(kFileName, "w");
    if (!file)
        return;
    std::fprintf(file, "%s %dx%d\n", choice.windowed ? "window" : "fullscreen",
                 std::max(choice.width, 1), std::max(choice.height, 1));
    std::fclose(file);
}

void WindowRoom(int desktopWidth, int desktopHeight, int* width, int* height) {
    *width = std::max(desktopWidth - kFrameWidth, 1);
    *height = std::max(desktopHeight - kFrameHeight, 1);
}

void WindowSizeFor(int modeWidth, int modeHeight, int desktopWidth, int desktopHeight, double scale,
                   int* width, int* height) {
    int roomWidth = 0, roomHeight = 0;
    WindowRoom(desktopWidth, desktopHeight, &roomWidth, &roomHeight);
    if (scale <= 0) {
        const int multiple = std::min(roomWidth / modeWidth, roomHeight / modeHeight);
        scale = std::max(multiple, 1);
    }
    // No larger than the room, the mode's shape kept.
    const double fit = std::min(static_cast<double>(roomWidth) / modeWidth,
                                static_cast<double>(roomHeight) / modeHeight);
    scale = std::min(scale, fit);
    *width = std::max(static_cast<int>(modeWidth * scale + 0.5), 1);
    *height = std::max(static_cast<int>(modeHeight * scale + 0.5), 1);
}

namespace {

// Once the player has switched, QUIBBO_WINDOWED no longer decides.
bool switchedByPlayer = false;

} // namespace

bool WindowedWanted() {
    const char* value = std::getenv("QUIBBO_WINDOWED");
    if (!switchedByPlayer && value && std::strcmp(value, "1") == 0)
        return true;
    if (!switchedByPlayer && value && std::strcmp(value, "0") == 0)
        return false;
    return CurrentDisplayChoice().windowed;
}

void NoteSwitchByPlayer() {
    switchedByPlayer = true;
}

bool SwitchedByPlayer() {
    return switchedByPlayer;
}

} // namespace compat
