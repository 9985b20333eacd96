// A recorded run played back: each `p` line gives the game what it read in that pass (the
// clock, the message, the key answers), and each `c` line checks what the pass showed.
#include "Replay.h"

#include "CGameProbe.h"

#include "compat/GfxSeams.h"
#include "compat/RecordSeams.h"

#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>

namespace replay {

namespace {

namespace seams = compat::seams;

std::string HashText(uint64_t hash) {
    char text[24];
    snprintf(text, sizeof(text), "%016" PRIx64, hash);
    return text;
}

std::string LogText(uint32_t lines, uint32_t hash) {
    char text[64];
    snprintf(text, sizeof(text), "%u lines of logs/GameLog.txt (%08x)", lines, hash);
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// What the replayed game is at, for the report of a difference.
std::string GameNow() {
    if (!g_game)
        return "the game has ended";
    const CGameProbe game{*g_game};
    std::string now = "state " + DescribeState(game.State()) + ", score " +
                      std::to_string(game.Score()) + ", lives " + std::to_string(game.Lives());
    if (game.Level())
        now += ", countdown " + std::to_string(game.Level()->GetTimer()) + " ms";
    return now;
}

} // namespace

Replay::Outcome Replay::PlayPass(const Command& command) {
    if (ended_)
        return Differs(command, "pass " + std::to_string(passes_ + 1),
                       "the game ended after pass " + std::to_string(passes_));
    framesLeft_ = command.number;
    return ContinuePass(command);
}

// One pass of the line: the answers the pass before left unasked are a difference first.
Replay::Outcome Replay::ContinuePass(const Command& command) {
    if (passes_ > 0 && seams::AnswersNotAsked() > 0)
        return Differs(command, "key answers the game asked for in pass " + std::to_string(passes_),
                       std::to_string(seams::AnswersNotAsked()) + " it did not ask for");
    if (framesLeft_ == 0)
        return Outcome::Done;
    if (ended_)
        return Differs(command, std::to_string(framesLeft_) + " more passes",
                       "the game ended after pass " + std::to_string(passes_));
    --framesLeft_;
    const RecordedPass& pass = command.pass;
    const uint32_t step = pass.step >= 0 ? static_cast<uint32_t>(pass.step) : beat_.Next();
    beat_.Step(step);
    clock_ += step;
    ++passes_;
    std::vector<seams::KeyAnswer> answers;
    for (const KeyPoll& poll : pass.answers)
        answers.push_back({poll.key, static_cast<SHORT>(poll.answer)});
    MSG message{};
    message.message = pass.message;
    message.wParam = static_cast<WPARAM>(pass.wParam);
    message.lParam = static_cast<LPARAM>(pass.lParam);
    seams::PlayPass(clock_, pass.hasMessage ? &message : nullptr, std::move(answers));
    return Outcome::Waiting;
}

// After the pass it follows has run its frame: the same pass, frame count, state, texts and
// frame as the recorded run showed.
Replay::Outcome Replay::CheckPass(const Command& command) {
    if (static_cast<uint64_t>(command.number) != passes_)
        return Differs(command, "a checkpoint of pass " + std::to_string(command.number),
                       "pass " + std::to_string(passes_));
    if (!shotsDir_.empty()) {
        char name[32];
        snprintf(name, sizeof(name), "pass-%06" PRIu64 ".png", passes_);
        Command shot;
        shot.line = command.line;
        shot.path = (std::filesystem::path(shotsDir_) / name).string();
        if (Shot(shot) == Outcome::Failed)
            return Outcome::Failed;
    }
    const int state = seams::LoggedState();
    if (state != command.third)
        return Differs(command, "state " + DescribeState(static_cast<int32_t>(command.third)),
                       "state " + DescribeState(state));
    const seams::LogTally log = seams::LoggedLines();
    if (log.lines != command.logLines || log.hash != command.logHash)
        return Differs(command, LogText(command.logLines, command.logHash),
                       LogText(log.lines, log.hash));
    const uint64_t frames = seams::PresentedFrames();
    if (frames != static_cast<uint64_t>(command.second))
        return Differs(command, std::to_string(command.second) + " frames presented",
                       std::to_string(frames));
    const std::string texts = seams::PassTexts();
    if (texts != command.text)
        return Differs(command, "the texts " + Quoted(command.text), Quoted(texts));
    const uint64_t hash = seams::PresentedFrameHash();
    if (command.frameHashed && hash != command.hash)
        return Differs(command, "a frame of hash " + HashText(command.hash), HashText(hash));
    return Outcome::Done;
}

Replay::Outcome Replay::Differs(const Command& command, const std::string& recorded,
                                const std::string& replayed) {
    fprintf(stderr,
            "%s:%d: the replay differs at pass %" PRIu64 ", frame %" PRIu64
            ": the recording has %s, the replay %s (%s)\n",
            scriptName_.c_str(), command.line, passes_, seams::PresentedFrames(), recorded.c_str(),
            replayed.c_str(), GameNow().c_str());
    failed_ = true;
    return Outcome::Failed;
}

} // namespace replay
