// The recorder: every run of the game is written down as a replay script that quibbo-replay
// plays back (docs/replay.md, "Recordings"): the seed, the settings at the start, then a line a
// pass with what the game read from the outside world in it (the clock, the message it took,
// the key states it was told), and checkpoints of what it showed.
#include "record/Recorder.h"

#include "ddraw/Screen.h"
#include "time/Ticks.h"
#include "compat/RecordSeams.h"
#include "compat/Seams.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>

namespace compat {

namespace {

namespace fs = std::filesystem;

// A checkpoint at least this often (milliseconds of the game's clock), and at every state.
constexpr DWORD kCheckInterval = 2000;
constexpr int kKeptRecordings = 3;
constexpr size_t kBufferSize = 64 * 1024;
const char kSettingsFile[] = "quibbo.ini";

struct RecorderState {
    FILE* file = nullptr;
    std::string path;
    unsigned seed = 0;
    uint64_t passes = 0; // passes begun
    DWORD clock = 0;     // the game's clock in the current pass
    seams::ClockBeat beat;
    std::string line; // what the current pass has read, after its "p"
    bool hasLast = false;
    std::string lastLine; // the pass line written last, to fold repeats into
    uint64_t repeats = 0;
    DWORD lastCheck = 0;
    int lastState = 0;
    // Why the recording could not be made, said once the game runs its first pass: a game that
    // cannot start at all says why on its own, and a line about the recording would only hide it.
    std::string unmade;
};

void RestoreCrashActions();

RecorderState& Rec() {
    static RecorderState recorder = [] {
        seams::AddResetHook([] {
            RestoreCrashActions();
            if (Rec().file) {
                fclose(Rec().file);
                ReleaseGameTicks();
            }
            Rec() = RecorderState{};
        });
        return RecorderState{};
    }();
    return recorder;
}

// The game reads one clock reading a pass. A clock the seams have set stands still through a
// pass anyway (the pacing's sleep after the flip aside) and may be moved by a tool between the
// passes (the computer player's look ahead), so it is left alone.
void HoldTicks(DWORD ms) {
    if (!seams::TicksAreSet())
        HoldGameTicks(ms);
}

std::string Saying(const char* what) {
    char line[1024];
    snprintf(line, sizeof(line), "quibbo: the recording %s %s: %s; the game goes on without it\n",
             Rec().path.c_str(), what, strerror(errno ? errno : EIO));
    return line;
}

void Say(const char* what) {
    fputs(Saying(what).c_str(), stderr);
}

// A write has failed (a full disk, a folder gone): the recording stops, the game goes on.
void GiveUp() {
    RecorderState& rec = Rec();
    Say("could not be written");
    fclose(rec.file);
    rec.file = nullptr;
    ReleaseGameTicks();
}

void Write(const std::string& text) {
    RecorderState& rec = Rec();
    if (rec.file && fwrite(text.data(), 1, text.size(), rec.file) != text.size())
        GiveUp();
}

void Flush() {
    RecorderState& rec = Rec();
    if (rec.file && (fflush(rec.file) != 0 || ferror(rec.file)))
        GiveUp();
}

void FlushRepeats() {
    RecorderState& rec = Rec();
    if (rec.repeats > 0)
        Write("r " + std::to_string(rec.repeats) + "\n");
    rec.repeats = 0;
}

std::string Hex(uint64_t value) {
    char text[24];
    snprintf(text, sizeof(text), "%llx", static_cast<unsigned long long>(value));
    return text;
}

std::string MessageItem(const MSG& message) {
    const std::string key =
        Hex(message.wParam) + "," + Hex(static_cast<uint64_t>(message.lParam) & 0xFFFFFFFFu);
    // The position's two halves as they are: the player puts them back together unchanged.
    const unsigned x = LOWORD(message.lParam);
    const unsigned y = HIWORD(message.lParam);
    const std::string at = std::to_string(x) + "," + std::to_string(y) +
                           (message.wParam ? "," + Hex(message.wParam) : std::string());
    switch (message.message) {
    case WM_KEYDOWN:
        return "d" + key;
    case WM_KEYUP:
        return "u" + key;
    case WM_SYSKEYDOWN:
        return "D" + key;
    case WM_SYSKEYUP:
        return "U" + key;
    case WM_CHAR:
        return "c" + key;
    case WM_SYSCHAR:
        return "C" + key;
    case WM_MOUSEMOVE:
        return "m" + at;
    case WM_LBUTTONDOWN:
        return "b" + at;
    case WM_LBUTTONUP:
        return "B" + at;
    case WM_LBUTTONDBLCLK:
        return "2" + at;
    case WM_CLOSE:
        return "x";
    case WM_QUIT:
        return "q" + std::to_string(static_cast<int>(message.wParam));
    default:
        return "w" + Hex(message.message) + "," + Hex(message.wParam) + "," +
               Hex(static_cast<uint64_t>(message.lParam));
    }
}

// The pass that is ending: its line (folded into the one before when they are the same), and
// its checkpoint when the state changed, the last one is long enough ago, or at the end.
void EndPass(bool last) {
    RecorderState& rec = Rec();
    ReadGameLog();
    const int state = GameLogState();
    const bool check = last || rec.passes == 1 || state != rec.lastState ||
                       rec.clock - rec.lastCheck >= kCheckInterval;
    if (rec.hasLast && rec.line == rec.lastLine) {
        ++rec.repeats;
    } else {
        FlushRepeats();
        Write("p" + rec.line + "\n");
        rec.lastLine = rec.line;
        rec.hasLast = true;
    }
    if (!check)
        return;
    FlushRepeats();
    rec.hasLast = false; // a repeat never reaches back over a checkpoint
    seams::LogTally log;
    GameLogTally(&log.lines, &log.hash);
    // A frame drawn while nobody could see the window lacks what was left out of it: "-", as
    // there is no frame to hash.
    char frame[24] = "-";
    if (LastFrameDrawnWhole())
        snprintf(frame, sizeof(frame), "%016llx",
                 static_cast<unsigned long long>(seams::PresentedFrameHash()));
    char head[128];
    snprintf(head, sizeof(head), "c %llu %llu %d %u:%08x %s",
             static_cast<unsigned long long>(rec.passes),
             static_cast<unsigned long long>(PresentedFrameCount()), state, log.lines, log.hash,
             frame);
    const std::string texts = TakenPassTexts();
    Write(std::string(head) + (texts.empty() ? "" : " " + texts) + "\n");
    rec.lastCheck = rec.clock;
    rec.lastState = state;
    Flush();
}

// Moves replay-1.txt and replay-2.txt of `folder` on by one and deletes every other recording
// there: with the new replay-1.txt the last three runs are kept.
void RotateRecordings(const fs::path& folder) {
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ignored)) {
        const std::string name = entry.path().filename().string();
        int number = 0;
        char end = 0;
        if (sscanf(name.c_str(), "replay-%d.tx%c", &number, &end) == 2 && end == 't' &&
            name == "replay-" + std::to_string(number) + ".txt" &&
            (number < 1 || number >= kKeptRecordings))
            fs::remove(entry.path(), ignored);
    }
    for (int number = kKeptRecordings - 1; number >= 1; --number)
        fs::rename(folder / ("replay-" + std::to_string(number) + ".txt"),
                   folder / ("replay-" + std::to_string(number + 1) + ".txt"), ignored);
}

void WriteHeader() {
    RecorderState& rec = Rec();
    const time_t now = time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char when[64];
    strftime(when, sizeof(when), "%Y-%m-%d %H:%M:%S UTC", &utc);
    std::error_code ignored;
    Write("# Quibbo's Puzzle, a recorded run: play it with quibbo-replay FILE in a copy of the\n"
          "# game folder (docs/replay.md, \"Recordings\").\n"
          "# recorded " +
          std::string(when) + " in " + fs::current_path(ignored).string() + "\nrecording 1\n");
    Write("seed " + std::to_string(rec.seed) + "\nclock " + std::to_string(rec.clock) + "\n");
    FILE* settings = fopen(kSettingsFile, "rb");
    if (!settings) {
        Write(std::string("remove ") + kSettingsFile + "\n");
        return;
    }
    std::string line = std::string("file ") + kSettingsFile + " ";
    int c = 0;
    for (int count = 0; (c = fgetc(settings)) != EOF && count < 4096; ++count) {
        char digits[3];
        snprintf(digits, sizeof(digits), "%02x", c);
        line += digits;
    }
    fclose(settings);
    Write(line + "\n");
}

// A crash (a fault of the game's, an abort) would lose what the stream still holds and the
// pass it came in: both are written out before the signal takes its course, so that the replay
// runs into the same fault. Best effort: the stream is not ours to touch safely from here.
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGABRT};
struct sigaction previousActions[std::size(kCrashSignals)];
bool crashActionsSet = false;

void RestoreCrashActions() {
    if (!crashActionsSet)
        return;
    for (size_t i = 0; i < std::size(kCrashSignals); ++i)
        sigaction(kCrashSignals[i], &previousActions[i], nullptr);
    crashActionsSet = false;
}

void WriteOutOnCrash(int signal, siginfo_t* info, void*) {
    RecorderState& rec = Rec();
    if (rec.file) {
        FILE* file = rec.file;
        rec.file = nullptr; // once
        if (rec.repeats > 0)
            fprintf(file, "r %llu\n", static_cast<unsigned long long>(rec.repeats));
        if (rec.passes > 0)
            fprintf(file, "p%s\n", rec.line.c_str());
        fflush(file);
    }
    RestoreCrashActions();
    // A fault comes again as the faulting instruction runs again, now to the handler before
    // ours; a signal sent from outside is sent again.
    if (info && info->si_code == SI_USER)
        raise(signal);
}

void WriteOutOnCrashes() {
    if (crashActionsSet)
        return;
    struct sigaction action {};
    action.sa_sigaction = WriteOutOnCrash;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_SIGINFO;
    for (size_t i = 0; i < std::size(kCrashSignals); ++i)
        sigaction(kCrashSignals[i], &action, &previousActions[i]);
    crashActionsSet = true;
}

} // namespace

void PassInputBegins() {
    if (PlayingBack())
        ReadGameLog();
    ForgetPassTexts();
}

void PassBegins() {
    RecorderState& rec = Rec();
    if (!rec.file) {
        if (!rec.unmade.empty())
            fputs(rec.unmade.c_str(), stderr);
        rec.unmade.clear();
        return;
    }
    if (rec.passes > 0)
        EndPass(false);
    if (!rec.file) // the pass could not be written
        return;
    if (rec.passes == 0)
        srand(rec.seed); // after the game seeded with the time, before it draws anything
    const DWORD now = RunningTicks();
    const DWORD step = now - rec.clock;
    rec.line.clear();
    if (step != rec.beat.Next())
        rec.line = " t" + std::to_string(step);
    rec.beat.Step(step);
    rec.clock = now;
    HoldTicks(now);
    ++rec.passes;
}

void MessageTaken(const MSG& message) {
    if (Rec().file)
        Rec().line += " " + MessageItem(message);
}

SHORT AnswerKeyPoll(int key, SHORT answer) {
    if (PlayingBack())
        return AnswerPlayedPoll(key);
    if (Rec().file && answer != 0)
        Rec().line +=
            " a" + Hex(static_cast<uint64_t>(key)) + "=" + Hex(static_cast<uint16_t>(answer));
    return answer;
}

bool StartRunRecording(const unsigned* seed) {
    RecorderState& rec = Rec();
    if (rec.file)
        return true;
    const char* wanted = getenv("QUIBBO_RECORD");
    if (wanted && strcmp(wanted, "0") == 0)
        return false;
    rec = RecorderState{};
    if (wanted && *wanted) {
        rec.path = wanted;
    } else {
        std::error_code ignored;
        fs::create_directories("logs", ignored);
        RotateRecordings("logs");
        rec.path = "logs/replay-1.txt";
    }
    errno = 0;
    rec.file = fopen(rec.path.c_str(), "w");
    if (!rec.file) {
        rec.unmade = Saying("could not be made");
        return false;
    }
    setvbuf(rec.file, nullptr, _IOFBF, kBufferSize);
    WriteOutOnCrashes();
    rec.seed = seed ? *seed : static_cast<unsigned>(time(nullptr));
    rec.clock = RunningTicks();
    HoldTicks(rec.clock); // the game's start-up reads this too
    WriteHeader();
    Flush();
    return rec.file != nullptr;
}

void FinishRunRecording(int exitCode) {
    RecorderState& rec = Rec();
    if (!rec.file)
        return;
    if (rec.passes > 0)
        EndPass(true);
    FlushRepeats();
    Write("expect exit " + std::to_string(exitCode) + "\n");
    Flush();
    if (rec.file) {
        if (fclose(rec.file) != 0)
            Say("could not be written");
        rec.file = nullptr;
    }
    RestoreCrashActions();
    ReleaseGameTicks();
}

} // namespace compat

namespace compat::seams {

bool StartRecording(const unsigned* seed) {
    return StartRunRecording(seed);
}

void FinishRecording(int exitCode) {
    FinishRunRecording(exitCode);
}

bool Recording() {
    return Rec().file != nullptr;
}

} // namespace compat::seams
