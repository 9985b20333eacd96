// Seams of recording a run and playing one back (docs/replay.md, "Recordings"): the recorder
// that the program's entry starts, and what a replay driver needs to give the game back what
// it read. Only tests and tools include this header.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace compat::seams {

// --- Recording ---

// Starts recording the run as the program's entry does, by QUIBBO_RECORD: unset or empty,
// into logs/replay-1.txt of the working folder after moving the older ones on (the last three
// are kept); "0", not at all; anything else, into that file. False when nothing is recorded
// (off, or the file could not be made: one line on stderr says so). The recorder seeds rand
// with the time at the first pass, or with `seed` when one is given (a computer player's).
bool StartRecording(const unsigned* seed = nullptr);
// The run has ended with `exitCode`: the last pass and its checkpoint, then the exit code.
void FinishRecording(int exitCode);
// True while a recording is being written.
bool Recording();

// The 60 Hz beat of a recording's clock: a pass's step is left out of its line when it is the
// beat's next one (16, 17, 17, 16, ... ms). After a step off the beat the beat goes on from
// the place that step most likely had: after 16 the next are 17 and 17, after any 17 first
// 17 then 16, after anything else 16. The recorder and the replay keep one each.
class ClockBeat {
public:
    uint32_t Next() const { return phase_ == 0 ? 16 : 17; }
    void Step(uint32_t step) {
        if (step == Next())
            phase_ = (phase_ + 1) % 3;
        else
            phase_ = step == 16 ? 1 : step == 17 ? 2 : 0;
    }

private:
    int phase_ = 0;
};

// --- Playing back ---

struct KeyAnswer {
    int key = 0;
    SHORT answer = 0;
};

// From now on until StopPlayback, the game's input is what the replay gives it: the message
// queue and the key states no longer reach the game (what is queued is dropped at every
// PeekMessageA), and timeGetTime reads `clock` until the first pass is played.
void StartPlayback(DWORD clock);
void StopPlayback();
// The pass about to run: PeekMessageA hands `message` (none when null; the game's window is
// put in), timeGetTime reads `clock` for the whole pass, and GetAsyncKeyState gives the
// answers in their order for their keys, 0 to every poll beyond them. Call from the peek hook.
void PlayPass(DWORD clock, const MSG* message, std::vector<KeyAnswer> answers);
// The answers of the last played pass that no poll asked for.
int AnswersNotAsked();

// --- What a pass showed (for checkpoints) ---

// A hash of the last presented frame: its size, depth and every pixel (FNV-1a, 64 bits).
uint64_t PresentedFrameHash();
// The texts drawn (TextOutA) since the last PeekMessageA, in their order, as a checkpoint
// writes them: joined by '|', with '\', '|', control characters and blanks at either end of
// a text written as \\, \|, \xHH.
std::string PassTexts();
// The game's state as the latest "State set: N" line of logs/GameLog.txt has it; 0 before
// any. Kept up to date at every PeekMessageA while recording or playing back.
int LoggedState();
// The lines of logs/GameLog.txt so far, and a hash (FNV-1a, 32 bits) of all of them but the
// first (the log's opening, which tells the time), each without its "TIME --- h:m.s: ".
struct LogTally {
    uint32_t lines = 0;
    uint32_t hash = 0;
};
LogTally LoggedLines();

} // namespace compat::seams
