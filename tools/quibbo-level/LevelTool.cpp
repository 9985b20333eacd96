#include "LevelTool.h"

#include "LevelCheck.h"
#include "LevelText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>

namespace fs = std::filesystem;

namespace LevelTool {

namespace {

// No level file comes near this; a larger file is not read at all.
constexpr size_t kLargestFile = 16u << 20;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File Open(const std::string& name, const char* mode) {
    return File(std::fopen(name.c_str(), mode), &std::fclose);
}

// Reads a file named on the command line; when it cannot be read, says why on `to`.
bool ReadNamedFile(const std::string& name, std::string& bytes, std::ostream& to) {
    const File file = Open(name, "rb");
    if (!file) {
        to << name << ": error: cannot open it: " << std::strerror(errno) << '\n';
        return false;
    }
    bytes.clear();
    char buffer[1 << 16];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, count);
        if (bytes.size() > kLargestFile) {
            to << name << ": error: it is over 16 MiB, far too large for a level file\n";
            return false;
        }
    }
    if (std::ferror(file.get())) {
        to << name << ": error: cannot read it: " << std::strerror(errno) << '\n';
        return false;
    }
    return true;
}

// Writes through a temporary file beside the target, so that a failed write never leaves a
// half-written level where a good one was.
bool WriteFile(const std::string& name, const std::vector<uint8_t>& bytes, std::string& problem) {
    const std::string temporary = name + ".tmp";
    {
        File file = Open(temporary, "wb");
        if (!file) {
            problem = std::string("cannot write it: ") + std::strerror(errno);
            return false;
        }
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
        const bool closed = std::fclose(file.release()) == 0;
        if (!written || !closed) {
            problem = std::string("cannot write it: ") + std::strerror(errno);
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, name, error);
    if (error) {
        problem = "cannot write it: " + error.message();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

std::vector<uint8_t> AsBytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

void Report(std::ostream& to, const std::string& file, const char* severity,
            const std::vector<std::string>& findings) {
    for (const auto& finding : findings)
        to << file << ": " << severity << ": " << finding << '\n';
}

// Reads a level file named on the command line; when it is no level, says why on `err`.
bool ReadLevel(const std::string& name, LevelFile& level, std::ostream& err) {
    std::string bytes;
    if (!ReadNamedFile(name, bytes, err))
        return false;
    std::vector<std::string> faults;
    const auto data = AsBytes(bytes);
    if (level.Parse(data.data(), data.size(), faults))
        return true;
    Report(err, name, "error", faults);
    return false;
}

// The words of a command: its options taken out, the rest in order.
struct Words {
    std::vector<std::string> operands;
    std::string dataFolder;
    bool dataGiven = false;
    bool help = false;
    unsigned seed = 1;
    unsigned games = 1;
};

// A whole number from 1 up for an option.
bool ReadCount(const std::string& option, const std::string& text, unsigned& value,
               std::ostream& err) {
    char* end = nullptr;
    const unsigned long number = text.empty() ? 0 : std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || number < 1 || number > 1000000 || text[0] == '-') {
        err << "quibbo-level: " << option << " needs a number from 1 to 1000000\n";
        return false;
    }
    value = static_cast<unsigned>(number);
    return true;
}

bool ReadWords(const std::vector<std::string>& args, size_t first, bool takesData, bool takesGames,
               Words& words, std::ostream& err) {
    bool optionsEnd = false;
    for (size_t i = first; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
            words.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "--help" || arg == "-h") {
            words.help = true;
        } else if (takesData && (arg == "--data" || arg.compare(0, 7, "--data=") == 0)) {
            if (arg == "--data") {
                if (i + 1 == args.size()) {
                    err << "quibbo-level: --data needs a folder\n";
                    return false;
                }
                words.dataFolder = args[++i];
            } else {
                words.dataFolder = arg.substr(7);
            }
            if (words.dataFolder.empty()) {
                err << "quibbo-level: --data needs a folder\n";
                return false;
            }
            words.dataGiven = true;
        } else if (takesGames && (arg == "--seed" || arg == "--games")) {
            if (i + 1 == args.size() ||
                !ReadCount(arg, args[i + 1], arg == "--seed" ? words.seed : words.games, err))
                return false;
            ++i;
        } else {
            err << "quibbo-level: unknown option " << arg << " (try quibbo-level --help)\n";
            return false;
        }
    }
    return true;
}

int Build(const Words& words, std::ostream& out, std::ostream& err) {
    if (words.operands.size() != 2) {
        err << "quibbo-level: build needs a text file and a level file: "
               "quibbo-level build TEXT LEV\n";
        return kErrors;
    }
    const std::string& textName = words.operands[0];
    const std::string& levelName = words.operands[1];
    std::string text;
    if (!ReadNamedFile(textName, text, err))
        return kErrors;
    LevelFile level;
    std::vector<std::string> errors;
    if (!LevelText::Parse(text, textName, level, errors)) {
        for (const auto& error : errors)
            err << error << '\n';
        err << "quibbo-level: " << levelName << " not written\n";
        return kErrors;
    }
    LevelCheck check;
    check.Play(level);
    if (words.dataGiven)
        check.Pictures(level, words.dataFolder);
    Report(err, levelName, "warning", check.warnings);

    const std::vector<uint8_t> bytes = level.Bytes();
    std::string problem;
    if (!WriteFile(levelName, bytes, problem)) {
        err << levelName << ": error: " << problem << '\n';
        return kErrors;
    }
    out << levelName << ": written, " << bytes.size() << " bytes\n";
    return kClean;
}

int Show(const Words& words, std::ostream& out, std::ostream& err) {
    if (words.operands.size() != 1) {
        err << "quibbo-level: show needs one level file: quibbo-level show LEV\n";
        return kErrors;
    }
    const std::string& levelName = words.operands[0];
    LevelFile level;
    if (!ReadLevel(levelName, level, err))
        return kErrors;
    out << LevelText::Format(level);
    return kClean;
}

int Check(const Words& words, std::ostream& out, std::ostream& err) {
    if (words.operands.empty()) {
        err << "quibbo-level: check needs at least one level file: "
               "quibbo-level check [--data DIR] LEV...\n";
        return kErrors;
    }
    // The game names its pictures relative to the folder it runs in.
    const std::string dataFolder = words.dataGiven ? words.dataFolder : ".";
    int status = kClean;
    for (const auto& levelName : words.operands) {
        std::string bytes;
        if (!ReadNamedFile(levelName, bytes, out)) {
            status = kErrors;
            continue;
        }
        const LevelCheck check = LevelCheck::Bytes(AsBytes(bytes), dataFolder);
        Report(out, levelName, "error", check.errors);
        Report(out, levelName, "warning", check.warnings);
        if (!check.errors.empty())
            status = kErrors;
        else if (!check.warnings.empty())
            status = std::max(status, kWarnings);
        else
            out << levelName << ": ok\n";
    }
    return status;
}

// Plays the level with the computer player, once per game, the first game with the block types
// of `--seed`, each further one with the next seed.
int Play(const Words& words, std::ostream& out, std::ostream& err) {
    if (words.operands.size() != 1) {
        err << "quibbo-level: play needs one level file: "
               "quibbo-level play [--seed S] [--games N] LEV\n";
        return kErrors;
    }
    const std::string& levelName = words.operands[0];
    LevelFile level;
    if (!ReadLevel(levelName, level, err))
        return kErrors;
    return PlayLevel(levelName, level, words.seed, words.games, out);
}

} // namespace

const char* Help() {
    return "Usage: quibbo-level COMMAND ...\n"
           "Makes, shows and checks level files of Quibbo's Puzzle.\n"
           "\n"
           "  quibbo-level build [--data DIR] TEXT LEV\n"
           "      Makes the level file LEV from its text form TEXT. Mistakes in the text are\n"
           "      reported with their line numbers and nothing is written. Warnings (see\n"
           "      check) are printed, and the file is written all the same.\n"
           "  quibbo-level show LEV\n"
           "      Prints the text form of the level file LEV; build makes the same file of it.\n"
           "  quibbo-level check [--data DIR] LEV...\n"
           "      Checks level files: one line per finding, \"LEV: error: ...\" for a fault\n"
           "      that makes the game refuse the file, \"LEV: warning: ...\" for a level that\n"
           "      plays but surely not as meant (the entry cell or the cell below it occupied,\n"
           "      an empty grid, a missing picture, ...), \"LEV: ok\" for a clean file.\n"
           "  quibbo-level play [--seed S] [--games N] LEV\n"
           "      Lets the computer player play LEV as a quick player would, hurrying every\n"
           "      block, with the block types that seed S gives (1 unless told), and prints\n"
           "      one line per game: \"LEV seed S: won, 52 seconds left, score 40\" or lost\n"
           "      (time up, entry blocked). N games play seeds S, S + 1, ... Levels of more\n"
           "      than six block types are not played.\n"
           "\n"
           "Options:\n"
           "  --data DIR   the folder the game runs in, where block pictures are looked for.\n"
           "               check looks in the current folder unless told; build looks only\n"
           "               when told.\n"
           "  --seed S     play: the seed of the first game's block types (default 1).\n"
           "  --games N    play: how many games to play (default 1).\n"
           "  --help       this text.\n"
           "\n"
           "Exit status:\n"
           "  0  all is well (build and show: done; check: every file clean; play: every\n"
           "     game won)\n"
           "  1  check found warnings but no errors; play lost a game\n"
           "  2  errors: a file the game refuses, a text that cannot be built, a file that\n"
           "     cannot be read or written, or a wrong command line\n"
           "\n"
           "The text form and the checks are described in docs/levels.md.\n";
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << Help();
        return kErrors;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out << Help();
        return kClean;
    }
    const bool known =
        command == "build" || command == "show" || command == "check" || command == "play";
    if (!known) {
        err << "quibbo-level: unknown command " << command << " (try quibbo-level --help)\n";
        return kErrors;
    }
    Words words;
    const bool takesData = command == "build" || command == "check";
    if (!ReadWords(args, 1, takesData, command == "play", words, err))
        return kErrors;
    if (words.help) {
        out << Help();
        return kClean;
    }
    if (command == "build")
        return Build(words, out, err);
    if (command == "show")
        return Show(words, out, err);
    if (command == "play")
        return Play(words, out, err);
    return Check(words, out, err);
}

} // namespace LevelTool
