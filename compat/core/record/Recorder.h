// Inside the platform layer: where the recorder and the playback of a recording meet the
// points at which the game reads the outside world (see compat/RecordSeams.h).
#pragma once

#include <windows.h>

#include <cstdint>

#include <string>

namespace compat {

// The program's entry: the run is recorded as QUIBBO_RECORD says (compat/RecordSeams.h).
bool StartRunRecording(const unsigned* seed = nullptr);
void FinishRunRecording(int exitCode);

// A pass of the game's loop begins (PeekMessageA, before the peek hook): the recorder ends
// the pass before, and the game's clock moves on.
void PassBegins();
// After the peek hook, before the backend's events are pumped: the pass's texts start afresh.
void PassInputBegins();
// While a recording is played back: the queue is not the game's; `message` gets the played
// message, if the pass has one (true).
bool PlayingBack();
bool TakePlayedMessage(MSG* message);
// PeekMessageA hands `message` to the game.
void MessageTaken(const MSG& message);
// GetAsyncKeyState is about to answer `answer` for `key`: gives what it answers instead (the
// played answer while playing back; `answer`, recorded, otherwise).
SHORT AnswerKeyPoll(int key, SHORT answer);
// TextOutA drew `text` (UTF-8).
void TextDrawn(const std::string& text);

// The played answer for a poll of `key` (0 beyond the pass's answers for it).
SHORT AnswerPlayedPoll(int key);

// For the recorder: the pass's texts as a checkpoint writes them, and the pass's state from
// the game's log.
std::string TakenPassTexts();
void ForgetPassTexts();
void ReadGameLog();
int GameLogState();
// The game's log so far: its lines, and the hash of those after the first (RecordSeams.h).
void GameLogTally(uint32_t* lines, uint32_t* hash);

} // namespace compat
