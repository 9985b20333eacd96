// Runs a replay script against the game: between passes of the game's loop (at the start of
// every PeekMessageA) it carries out script commands until one needs passes to go by.
#pragma once

#include "ReplayScript.h"

#include "compat/RecordSeams.h"

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

class Replay {
public:
    // `scriptName` prefixes the messages; shots with a relative name go to `outDir`.
    Replay(const Script& script, std::string scriptName, std::string outDir);

    // Between two passes of the game's loop.
    void OnPeek();
    // The game's WinMain has returned `exitCode`: what is left of the script runs now.
    void GameEnded(int exitCode);
    // A recording: a shot of every checkpoint's frame goes into `dir` (pass-000123.png).
    void SaveCheckpointShots(std::string dir) { shotsDir_ = std::move(dir); }
    // 0 when every command ran and every expectation held, else 1.
    int Result() const { return failed_ ? 1 : 0; }

private:
    enum class Outcome { Done, Waiting, Failed };

    void Run();
    Outcome Start(const Command& command);
    Outcome Continue(const Command& command);
    Outcome StartGame(const Command& command);
    Outcome ExpectField(const Command& command);
    Outcome ExpectLog(const Command& command);
    Outcome ExpectLast(const Command& command);
    Outcome ExpectFile(const Command& command);
    Outcome ExpectPixel(const Command& command);
    Outcome Shot(const Command& command);
    Outcome Fail(const Command& command, const std::string& expected, const std::string& got);
    Outcome NeedsGame(const Command& command, const std::string& expected);
    // A recording's passes and checkpoints (RecordingPlayer.cpp).
    Outcome PlayPass(const Command& command);
    Outcome ContinuePass(const Command& command);
    Outcome CheckPass(const Command& command);
    Outcome Differs(const Command& command, const std::string& recorded,
                    const std::string& replayed);
    void Key(int key, bool down);
    Outcome Pad(const Command& command);
    // Ends the game as the player's close command would, the script's held keys let go first.
    void StopGame();

    const Script& script_;
    std::string scriptName_;
    std::string outDir_;

    size_t next_ = 0;      // the command to run or running
    bool waiting_ = false; // commands_[next_] lets passes go by
    int64_t framesLeft_ = 0;
    uint32_t waitStart_ = 0;
    bool startClicked_ = false; // `start` has clicked and waits for the game

    bool seeded_ = false;
    bool ended_ = false;
    int exitCode_ = 0;
    bool exitChecked_ = false;
    bool failed_ = false;
    bool stopping_ = false;
    int64_t passesSinceStop_ = 0;
    std::vector<int> heldKeys_;

    // Playing a recording back
    uint64_t passes_ = 0; // passes played
    uint32_t clock_ = 0;  // the game's clock in the pass played last
    compat::seams::ClockBeat beat_;
    std::string shotsDir_; // empty: no shots
};

} // namespace replay
