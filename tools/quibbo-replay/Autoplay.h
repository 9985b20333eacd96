// quibbo-replay --autoplay: the computer player (tools/levelplay) plays the real game. Between
// the passes of the game's loop it looks at the playfield and presses the game's keys through
// the input seams, as a player at the keyboard would; the game's own play flow reads them.
#pragma once

#include "LevelPlayer.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace replay {

class Autoplay {
public:
    // `levels`: stop once that many levels are won (0: play the game to its end). One line per
    // try at a level, and one for the end, go to `out`.
    // With `pad` it plays through a virtual game controller alone: the D-pad steers the pointer
    // onto Start and the south button clicks it; in play the D-pad moves and hurries, south and
    // east turn.
    Autoplay(unsigned seed, int levels, FILE* out, bool pad = false);
    ~Autoplay();

    // Between two passes of the game's loop.
    void OnPeek();
    // 0 when the game was complete (or the levels asked for were won), else 1.
    int Result() const { return succeeded_ ? 0 : 1; }

private:
    using Grid = std::array<int8_t, 169>;

    void StartGame();
    void StartGameWithPad();
    void Play();
    void EndTry(int32_t state);
    void Finish(const char* how);
    void Hold(const levelplay::Keys& keys);
    void HoldOnly(const std::vector<int>& wanted);
    void Release();
    Grid Snapshot() const;

    unsigned seed_;
    int levels_;
    FILE* out_;
    bool seeded_ = false;
    bool started_ = false; // Start is clicked
    bool inGame_ = false;  // and the game has left the main menu
    bool finished_ = false;
    bool succeeded_ = false;
    int32_t lastState_ = 0;
    int won_ = 0;

    // The try at a level being played.
    std::unique_ptr<levelplay::Player> player_;
    int32_t tryLevel_ = 0;
    Grid grid_{};
    bool hurryLocked_ = false;
    std::vector<int> held_; // keys, or the pad's buttons

    bool pad_ = false;
    bool padAttached_ = false;
    bool clicking_ = false; // the south button is down on Start
};

} // namespace replay
