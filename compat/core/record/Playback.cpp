// Playing a recording back: the message and the key answers of each pass come from the replay
// driver instead of the queue and the key table. And what a pass showed, for the checkpoints
// of both sides: the frame's hash, the texts drawn, the state the game's log tells.
#include "record/Recorder.h"

#include "ddraw/Screen.h"
#include "time/Ticks.h"
#include "window/Window.h"
#include "compat/RecordSeams.h"
#include "compat/Seams.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace compat {

namespace {

// More texts than this in one pass are not kept: nothing the game draws comes near it.
constexpr size_t kMaxPassTexts = 64;

struct PlaybackState {
    bool on = false;
    bool hasMessage = false;
    MSG message{};
    std::vector<seams::KeyAnswer> answers;
    std::vector<bool> asked;
};

struct ShownState {
    std::vector<std::string> texts;
    int logFile = -1;
    bool logTried = false;
    std::string logLine; // the log's last line so far, not yet ended
    int state = 0;
    seams::LogTally log;
};

PlaybackState& Playback() {
    static PlaybackState playback = [] {
        seams::AddResetHook([] {
            if (Playback().on)
                ReleaseGameTicks();
            Playback() = PlaybackState{};
        });
        return PlaybackState{};
    }();
    return playback;
}

ShownState& Shown() {
    static ShownState shown = [] {
        seams::AddResetHook([] {
            if (Shown().logFile >= 0)
                close(Shown().logFile);
            Shown() = ShownState{};
        });
        return ShownState{};
    }();
    return shown;
}

void AppendEscaped(const std::string& text, std::string* out) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool edge = i == 0 || i + 1 == text.size();
        if (c == '\\' || c == '|') {
            *out += '\\';
            *out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F || (c == ' ' && edge)) {
            char escaped[8];
            snprintf(escaped, sizeof(escaped), "\\x%02X", c);
            *out += escaped;
        } else {
            *out += static_cast<char>(c);
        }
    }
}

// A line of the game's log: "... State set: N" tells the state. Each line but the first (the
// log's opening, which tells the time of day) counts into the tally, without its time stamp.
void ReadLogLine(const std::string& line, ShownState* shown) {
    static const char kStateSet[] = "State set: ";
    const size_t at = line.rfind(kStateSet);
    if (at != std::string::npos)
        shown->state = std::atoi(line.c_str() + at + sizeof(kStateSet) - 1);
    static const char kStamp[] = "TIME --- ";
    size_t from = 0;
    if (line.compare(0, sizeof(kStamp) - 1, kStamp) == 0) {
        const size_t colon = line.find(": ", sizeof(kStamp) - 1);
        from = colon == std::string::npos ? 0 : colon + 2;
    }
    seams::LogTally& log = shown->log;
    if (log.lines++ == 0) {
        log.hash = 0x811c9dc5u;
        return;
    }
    for (size_t i = from; i < line.size(); ++i) {
        log.hash ^= static_cast<unsigned char>(line[i]);
        log.hash *= 0x01000193u;
    }
    log.hash ^= '\n';
    log.hash *= 0x01000193u;
}

} // namespace

bool PlayingBack() {
    return Playback().on;
}

bool TakePlayedMessage(MSG* message) {
    PlaybackState& playback = Playback();
    if (!playback.hasMessage)
        return false;
    playback.hasMessage = false;
    *message = playback.message;
    return true;
}

SHORT AnswerPlayedPoll(int key) {
    PlaybackState& playback = Playback();
    for (size_t i = 0; i < playback.answers.size(); ++i) {
        if (playback.answers[i].key == key && !playback.asked[i]) {
            playback.asked[i] = true;
            return playback.answers[i].answer;
        }
    }
    return 0;
}

void TextDrawn(const std::string& text) {
    ShownState& shown = Shown();
    if (shown.texts.size() < kMaxPassTexts)
        shown.texts.push_back(text);
}

std::string TakenPassTexts() {
    std::string joined;
    for (size_t i = 0; i < Shown().texts.size(); ++i) {
        if (i > 0)
            joined += '|';
        AppendEscaped(Shown().texts[i], &joined);
    }
    return joined;
}

void ForgetPassTexts() {
    Shown().texts.clear();
}

// The game writes its log line by line and flushes each: what it has written is on the disk.
void ReadGameLog() {
    ShownState& shown = Shown();
    if (shown.logFile < 0) {
        if (shown.logTried)
            return;
        // The game opens (and empties) its log in its Init, before its loop's first pass.
        shown.logTried = true;
        shown.logFile = open("logs/GameLog.txt", O_RDONLY | O_CLOEXEC);
        if (shown.logFile < 0)
            return;
    }
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(shown.logFile, buffer, sizeof(buffer))) > 0) {
        for (ssize_t i = 0; i < got; ++i) {
            if (buffer[i] != '\n') {
                if (shown.logLine.size() < 1024)
                    shown.logLine += buffer[i];
                continue;
            }
            ReadLogLine(shown.logLine, &shown);
            shown.logLine.clear();
        }
    }
}

int GameLogState() {
    return Shown().state;
}

void GameLogTally(uint32_t* lines, uint32_t* hash) {
    *lines = Shown().log.lines;
    *hash = Shown().log.hash;
}

} // namespace compat

namespace compat::seams {

void StartPlayback(DWORD clock) {
    Playback() = PlaybackState{};
    Playback().on = true;
    HoldGameTicks(clock);
}

void StopPlayback() {
    if (Playback().on)
        ReleaseGameTicks();
    Playback() = PlaybackState{};
}

void PlayPass(DWORD clock, const MSG* message, std::vector<KeyAnswer> answers) {
    PlaybackState& playback = Playback();
    HoldGameTicks(clock);
    playback.hasMessage = message != nullptr;
    if (message) {
        playback.message = *message;
        playback.message.hwnd = message->message == WM_QUIT ? nullptr : NewestProgramWindow();
        playback.message.time = clock;
    }
    playback.answers = std::move(answers);
    playback.asked.assign(playback.answers.size(), false);
}

int AnswersNotAsked() {
    int count = 0;
    for (bool asked : Playback().asked)
        count += asked ? 0 : 1;
    return count;
}

uint64_t PresentedFrameHash() {
    const PixelSurface& frame = LastPresentedFrame();
    uint64_t hash = 0xcbf29ce484222325ull;
    const auto mix = [&hash](uint64_t word) {
        hash ^= word;
        hash *= 0x100000001b3ull;
    };
    mix(static_cast<uint64_t>(frame.width));
    mix(static_cast<uint64_t>(frame.height));
    mix(static_cast<uint64_t>(frame.bitsPerPixel));
    const size_t rowBytes = static_cast<size_t>(frame.width) * frame.BytesPerPixel();
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* row = frame.Row(y);
        size_t x = 0;
        // Eight bytes a step: the whole frame is hashed in well under a millisecond.
        for (; x + 8 <= rowBytes; x += 8) {
            uint64_t word;
            memcpy(&word, row + x, sizeof(word));
            mix(word);
        }
        for (; x < rowBytes; ++x)
            mix(row[x]);
    }
    return hash;
}

std::string PassTexts() {
    return TakenPassTexts();
}

int LoggedState() {
    ReadGameLog();
    return GameLogState();
}

LogTally LoggedLines() {
    ReadGameLog();
    return Shown().log;
}

} // namespace compat::seams
