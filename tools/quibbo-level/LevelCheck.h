#pragma once

#include "play/LevelFile.h"

#include <cstdint>
#include <string>
#include <vector>

// What `check` finds in one level file. Each finding names its field first ("timer: ...",
// "grid cell (6, 7): ..."), so that it reads well after the file name.
struct LevelCheck {
    // Faults that make the game refuse the file.
    std::vector<std::string> errors;
    // The game plays the file, but surely not as its maker meant.
    std::vector<std::string> warnings;

    // Checks the bytes of a level file. Picture files are looked for in `dataFolder`, the folder
    // the game runs in, unless it is empty.
    static LevelCheck Bytes(const std::vector<uint8_t>& bytes, const std::string& dataFolder);

    // The warnings about a level the game can read: the grid, speed, timer and trailer.
    void Play(const LevelFile& level);
    // The warnings about the level's pictures, looked for in `dataFolder`.
    void Pictures(const LevelFile& level, const std::string& dataFolder);
};
