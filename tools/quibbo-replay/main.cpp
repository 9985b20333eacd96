// quibbo-replay: runs the game itself (its WinMain, loop and game object) from a script of
// input and expectations, headless on a set clock so that a script gives the same frames on
// every run. With --autoplay the computer player plays the game instead. See docs/replay.md.
#include "Autoplay.h"
#include "Replay.h"
#include "ReplayScript.h"

#include "compat/GfxSeams.h"
#include "compat/InputSeams.h"
#include "compat/RecordSeams.h"
#include "compat/Seams.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kBadScript = 2;
// A fault of the platform layer found while playing.
constexpr int kDrawnDifferently = 3;

const char kUsage[] =
    "usage: quibbo-replay SCRIPT [--game DIR] [--out DIR] [--shots DIR] [--record FILE] "
    "[--window]\n"
    "       quibbo-replay --autoplay [--levels N] [--seed S] [--pad] [--game DIR] "
    "[--record FILE] [--window]\n";

struct Options {
    std::string script;
    std::string game;
    std::string out;
    std::string shots; // a recording's checkpoints as screenshots
    std::string
        record; // the run (a script's, the computer player's) recorded as the game records one
    bool window = false;
    bool autoplay = false;
    bool pad = false; // the computer player plays through a virtual game controller
    int levels = 0;
    unsigned seed = 1;
};

// A whole number from `low` up, all of the word.
bool ReadNumber(const char* word, unsigned long low, unsigned long* value) {
    char* end = nullptr;
    errno = 0;
    const unsigned long number = std::strtoul(word, &end, 10);
    if (end == word || *end != '\0' || errno == ERANGE || word[0] == '-' || number < low ||
        number > 0x7FFFFFFFul)
        return false;
    *value = number;
    return true;
}

bool ParseArguments(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        unsigned long number = 0;
        if ((arg == "--game" || arg == "--out") && i + 1 < argc) {
            (arg == "--game" ? options->game : options->out) = argv[++i];
        } else if ((arg == "--shots" || arg == "--record") && i + 1 < argc) {
            (arg == "--shots" ? options->shots : options->record) = argv[++i];
        } else if (arg == "--window") {
            options->window = true;
        } else if (arg == "--autoplay") {
            options->autoplay = true;
        } else if (arg == "--pad") {
            options->pad = true;
        } else if ((arg == "--levels" || arg == "--seed") && i + 1 < argc &&
                   ReadNumber(argv[i + 1], arg == "--levels" ? 1 : 0, &number)) {
            ++i;
            if (arg == "--levels")
                options->levels = static_cast<int>(number);
            else
                options->seed = static_cast<unsigned>(number);
        } else if (!arg.empty() && arg[0] != '-' && options->script.empty()) {
            options->script = arg;
        } else {
            return false;
        }
    }
    return options->autoplay != !options->script.empty() && (options->autoplay || !options->pad);
}

// Into the game folder, when one was given; when it cannot be entered, says so after `who`.
bool EnterGameFolder(const Options& options, const char* who) {
    if (options.game.empty() || chdir(options.game.c_str()) == 0)
        return true;
    fprintf(stderr, "%s: cannot enter the game folder %s: %s\n", who, options.game.c_str(),
            strerror(errno));
    return false;
}

// Headless, on a clock that only the frames' pacing moves on, unless a window was asked for.
void GoHeadless(const Options& options, DWORD clock) {
    if (options.window)
        return;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    compat::seams::SetTicks(clock);
}

// The game's own entry point, in the working folder, with `onPeek` called at every look at the
// message queue; the game's exit code.
int RunGame(std::function<void()> onPeek) {
    compat::seams::OnEachPeek(std::move(onPeek));
    compat::seams::CheckChangedDrawing(true);
    // The game's module as its own program in the game folder would have it (its icon beside it).
    std::error_code ignored;
    const std::string program = std::filesystem::current_path(ignored).string() + "/quibbo";
    char commandLine[] = "";
    const int exitCode = WinMain(compat::seams::MakeTestModule(program.c_str()), nullptr,
                                 commandLine, SW_SHOWNORMAL);
    compat::seams::OnEachPeek({});
    return exitCode;
}

// Whether every frame drawn only where it changed came out as drawing it whole would have
// drawn it; says so where not.
bool DrawnAlike() {
    const uint64_t different = compat::seams::FramesDrawnDifferently();
    if (different)
        fprintf(stderr,
                "quibbo-replay: %llu frames drawn where they changed differ from the same "
                "frames drawn whole\n",
                static_cast<unsigned long long>(different));
    return different == 0;
}

// The game, started from its main menu and played by the computer player.
int RunAutoplay(const Options& options) {
    if (!EnterGameFolder(options, "quibbo-replay"))
        return kBadScript;
    GoHeadless(options, 1000);
    replay::Autoplay autoplay(options.seed, options.levels, stdout, options.pad);
    if (!options.record.empty()) {
        setenv("QUIBBO_RECORD", options.record.c_str(), 1);
        if (!compat::seams::StartRecording(&options.seed))
            return kBadScript;
    }
    const int exitCode = RunGame([&autoplay] { autoplay.OnPeek(); });
    compat::seams::FinishRecording(exitCode);
    if (!DrawnAlike())
        return kDrawnDifferently;
    return autoplay.Result();
}

bool ReadText(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    *text = content.str();
    return static_cast<bool>(in) || in.eof();
}

bool WriteSetupFile(const replay::SetupFile& file) {
    if (file.remove) {
        std::error_code failure;
        std::filesystem::remove(file.path, failure);
        return !failure;
    }
    std::ofstream out(file.path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.bytes.data()),
              static_cast<std::streamsize>(file.bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArguments(argc, argv, &options)) {
        fputs(kUsage, stderr);
        return kBadScript;
    }
    if (options.autoplay)
        return RunAutoplay(options);

    std::string text;
    if (!ReadText(options.script, &text)) {
        fprintf(stderr, "%s: cannot read the script: %s\n", options.script.c_str(),
                strerror(errno));
        return kBadScript;
    }
    replay::Script script;
    replay::ParseError error;
    if (!replay::ParseScript(text, &script, &error)) {
        fprintf(stderr, "%s:%d: %s\n", options.script.c_str(), error.line, error.message.c_str());
        return kBadScript;
    }

    // Shots go where the caller asked, relative to where it started us.
    std::error_code ignored;
    const std::filesystem::path out =
        std::filesystem::absolute(options.out.empty() ? "." : options.out, ignored);
    const std::string shots =
        options.shots.empty() ? "" : std::filesystem::absolute(options.shots, ignored).string();
    if (!EnterGameFolder(options, options.script.c_str()))
        return kBadScript;
    for (const replay::SetupFile& file : script.files) {
        if (!WriteSetupFile(file)) {
            fprintf(stderr, "%s:%d: cannot write %s\n", options.script.c_str(), file.line,
                    file.path.c_str());
            return kBadScript;
        }
    }

    GoHeadless(options, script.clock);
    for (const replay::ForcedFailure& forced : script.failures)
        compat::seams::FailNext(forced.operation, E_FAIL, forced.times);

    replay::Replay replay(script, options.script, out.lexically_normal().string());
    replay.SaveCheckpointShots(shots);
    // A recording gives the game back what it read, pass by pass, on the recorded clock.
    if (script.recording)
        compat::seams::StartPlayback(script.clock);
    // A script's run recorded as the game records a player's, to be played back the same.
    const bool recorded = !script.recording && !options.record.empty();
    if (recorded) {
        setenv("QUIBBO_RECORD", options.record.c_str(), 1);
        if (!compat::seams::StartRecording(&script.seed))
            return kBadScript;
    }
    const int exitCode = RunGame([&replay] { replay.OnPeek(); });
    if (recorded)
        compat::seams::FinishRecording(exitCode);
    replay.GameEnded(exitCode);
    compat::seams::StopPlayback();
    if (!DrawnAlike())
        return kDrawnDifferently;
    return replay.Result();
}
