// A computer player for our levels. It plays a level through the playfield object itself
// (CLevel), frame by frame on the test clock, pressing the keys of play with the timing the play
// flow gives them (one sideways move per 125 ms, hurrying only 375 ms after a move, one turn per
// press of a turn key). Block types come from the C library's generator, seeded per game, as
// they do in the game; the player sees only the falling block and the preview.
//
// Before each block it tries every way to play it (no turn, a quarter turn either way or a half
// turn, then steering to each column) on a copy of the playfield, and for the best of those every
// way to play the previewed block after it, and picks the plan whose outcome looks best: fewer
// blocks left, lines of equal blocks that a block can finish, the middle of the field kept clear.
// It is no expert: it never plans a chain of runs on purpose. What it clears, a person can.
#pragma once

#include "play/LevelFile.h"

#include <cstdint>

class CLevel;

namespace levelplay {

enum class Ending { Cleared, TimeUp, EntryBlocked };

struct Game {
    Ending ending = Ending::TimeUp;
    int32_t playedMs = 0; // from the first frame of play to the end
    int blocks = 0;       // blocks that came to rest
    int runs = 0;         // runs that vanished
    int turns = 0;        // quarter turns of the field
    // Blocks that came to rest elsewhere than their plan foresaw: the player's copy of the
    // playfield and the playfield itself disagreed.
    int mispredicted = 0;
};

struct Style {
    int32_t difficulty = 100; // the percentage the game applies to the level's speed
    bool hurry = false;       // hold Down once the block is above its column
};

// Takes away every run on the field, as the game does one a frame; the number of runs.
int Settle(CLevel& level);

// Sets `level` up as loading `file` would, without its pictures: block types, speed, countdown,
// grid, and a first block of type `first` at the entry.
void LayOut(const LevelFile& file, CLevel& level, int first);

// Plays one game of `level` with the block types that `seed` gives: until the field is empty,
// the countdown runs out or a block comes to rest with the entry cell occupied. Levels of more
// than six block types are not played (the game then ends at once, time up): the player's
// reckoning grows fourfold with every type, and no person could empty such a field anyway.
Game Play(const LevelFile& level, unsigned seed, const Style& style);

} // namespace levelplay
