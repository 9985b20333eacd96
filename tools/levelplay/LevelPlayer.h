// A computer player for our levels. Before each block it tries every way to play it (no turn, a
// quarter turn either way or a half turn, then steering to each column) on a copy of the
// playfield, and for the best of those every way to play the previewed block after it, and picks
// the plan whose outcome looks best: fewer blocks left, lines of equal blocks that a block can
// finish, the middle of the field kept clear. It is no expert: it never plans a chain of runs on
// purpose. What it clears, a person can. It sees only the falling block and the preview.
//
// The player says which keys of play to hold in each frame. In the real game (quibbo-replay
// --autoplay) those are pressed through the input seams and the game's own play flow reads them;
// Play below, for the level tests and the level tool, plays a level through the playfield object
// alone, reading the keys as the play flow does (Controls), frame by frame on the test clock.
// Controls is also how the player reckons where a plan brings a block.
#pragma once

#include "play/LevelFile.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

class CLevel;

namespace levelplay {

// The most block types the player plays: its reckoning grows fourfold with every type (4^6
// states of its outlook at six).
constexpr int kMostTypes = 6;

enum class Ending { Cleared, TimeUp, EntryBlocked };

// How the tools report an ending: "won", "lost, time up" or "lost, entry blocked".
const char* EndingText(Ending ending);

struct Game {
    Ending ending = Ending::TimeUp;
    int32_t playedMs = 0; // from the first frame of play to the end
    int blocks = 0;       // blocks that came to rest
    int runs = 0;         // runs that vanished
    int turns = 0;        // quarter turns of the field
    // Blocks that came to rest elsewhere than their plan foresaw: the player's copy of the
    // playfield and the playfield itself disagreed.
    int mispredicted = 0;
    int32_t points = 0;     // the runs' points, as the game adds them to the score
    int32_t timeLeftMs = 0; // on the countdown at the end
};

struct Style {
    int32_t difficulty = 100; // the percentage the game applies to the level's speed
    bool hurry = false;       // hold Down once the block is above its column
};

// How the tools play: at the level's own speed, hurrying every block down.
inline Style Quick() {
    Style quick;
    quick.hurry = true;
    return quick;
}

// The keys of play held down in one frame.
struct Keys {
    bool left = false;
    bool right = false;
    bool down = false;
    bool clockwise = false;
    bool counter = false;
};

// The play flow's reading of the keys once a frame: one turn per press, one sideways move per
// 125 ms, hurrying only 375 ms after the last move and not again after a landing until Down has
// been let go.
struct Controls {
    DWORD timeStamp = 0; // the last sideways move or hurry
    bool clockwiseHeld = true;
    bool counterHeld = true;
    bool hurryLocked = false;

    // Applies the keys of the frame at `now` to the playfield; the quarter turns they made.
    int Apply(CLevel& level, const Keys& keys, DWORD now);
};

// Plays one level, frame by frame: call Next before each frame, BlockLanded after a frame in
// which a block came to rest.
class Player {
public:
    // `types`: the level's block-type count, at most kMostTypes.
    Player(int types, const Style& style);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // The keys to hold in the frame at clock reading `now`. `level` is the playfield as the
    // frame before left it, `controls` the play flow's key state, `settled` whether that frame
    // found no run to take away: a new block is planned only on a settled field. Planning sets
    // the test clock as it goes and leaves it at `now`.
    Keys Next(CLevel& level, const Controls& controls, DWORD now, bool settled);
    // The falling block came to rest: the next one is planned once the field has settled.
    void BlockLanded();
    // Where the plan being played brings the block to rest; (-1, -1) without one.
    std::array<int, 2> Expected() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

// Takes away every run on the field, as the game does one a frame; the number of runs.
int Settle(CLevel& level);

// Sets `level` up as loading `file` would, without its pictures: block types, speed, countdown,
// grid, and a first block of type `first` at the entry.
void LayOut(const LevelFile& file, CLevel& level, int first);

// Plays one game of `level` with the block types that `seed` gives: until the field is empty,
// the countdown runs out or a block comes to rest with the entry cell occupied. Levels of more
// than kMostTypes block types are not played (the game then ends at once, time up): no person
// could empty such a field anyway.
Game Play(const LevelFile& level, unsigned seed, const Style& style);

} // namespace levelplay
