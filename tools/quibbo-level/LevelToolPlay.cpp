// The level tool's play command: the computer player on one level file.
#include "LevelPlayer.h"
#include "LevelTool.h"

#include "play/LevelFile.h"

#include <ostream>

namespace LevelTool {

int PlayLevel(const std::string& levelName, const LevelFile& level, unsigned firstSeed,
              unsigned games, std::ostream& out) {
    int status = kClean;
    for (unsigned game = 0; game < games; ++game) {
        const unsigned seed = firstSeed + game;
        const levelplay::Game played = levelplay::Play(level, seed, levelplay::Quick());
        out << levelName << " seed " << seed << ": " << levelplay::EndingText(played.ending) << ", "
            << played.timeLeftMs / 1000 << " seconds left, score " << played.points << '\n';
        if (played.ending != levelplay::Ending::Cleared)
            status = kWarnings;
    }
    return status;
}

} // namespace LevelTool
