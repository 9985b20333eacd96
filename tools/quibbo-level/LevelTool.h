#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct LevelFile;

// The level tool's command line: build, show and check (see Help, and docs/levels.md).
namespace LevelTool {

// Exit statuses, for scripts.
constexpr int kClean = 0;    // all is well
constexpr int kWarnings = 1; // check found warnings, and no errors
constexpr int kErrors = 2;   // errors in a file, a file that cannot be read or written, or a
                             // wrong command line

// Runs one command; `args` are the words after the program's name. What the command makes goes
// to `out` (a level's text, check's findings), complaints about the command go to `err`.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The text of --help.
const char* Help();

// Lets the computer player play the level `games` times, the first game with the block types of
// `seed`, each further one with the next seed; one line per game. kWarnings when a game was
// lost. (A tool built only to make a cross build's levels has no player: kErrors.)
int PlayLevel(const std::string& levelName, const LevelFile& level, unsigned seed, unsigned games,
              std::ostream& out);

} // namespace LevelTool
