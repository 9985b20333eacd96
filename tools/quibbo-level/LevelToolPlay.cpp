// The level tool's play command: the computer player on one level file.
#include "LevelPlayer.h"
#include "LevelTool.h"

#include "play/LevelFile.h"

#include <ostream>

namespace LevelTool {

namespace {

const char* Ending(levelplay::Ending ending) {
    switch (ending) {
    case levelplay::Ending::Cleared:
        return "won";
    case levelplay::Ending::TimeUp:
        return "lost, time up";
    default:
        return "lost, entry blocked";
    }
}

} // namespace

int PlayLevel(const std::string& levelName, const LevelFile& level, unsigned firstSeed,
              unsigned games, std::ostream& out) {
    int status = kClean;
    for (unsigned game = 0; game < games; ++game) {
        const unsigned seed = firstSeed + game;
        levelplay::Style quick;
        quick.hurry = true;
        const levelplay::Game played = levelplay::Play(level, seed, quick);
        out << levelName << " seed " << seed << ": " << Ending(played.ending) << ", "
            << played.timeLeftMs / 1000 << " seconds left, score " << played.points << '\n';
        if (played.ending != levelplay::Ending::Cleared)
            status = kWarnings;
    }
    return status;
}

} // namespace LevelTool
