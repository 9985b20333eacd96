#include "FuzzSupport.h"

#include "gfx/CGraphics.h"

#include "compat/GfxSeams.h"
#include "compat/Seams.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace fuzzsupport {

namespace {

fs::path scratch;
fs::path outside;

void Die(const std::string& what) {
    std::fprintf(stderr, "fuzz harness: %s\n", what.c_str());
    std::exit(2);
}

void RemoveScratch() {
    if (scratch.empty())
        return;
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

void Enter(const fs::path& folder) {
    std::error_code error;
    fs::current_path(folder, error);
    if (error)
        Die("cannot work in " + folder.string() + ": " + error.message());
}

// libFuzzer's options whose value is a path, or (seed_inputs) a list of paths.
constexpr std::string_view kPathOptions[] = {
    "-artifact_prefix=", "-exact_artifact_path=", "-dict=",     "-merge_control_file=",
    "-features_dir=",    "-seed_inputs=",         "-stop_file="};

std::string Absolute(const std::string& path, const std::string& here) {
    return path.empty() || path[0] == '/' ? path : here + "/" + path;
}

std::string AbsoluteList(const std::string& paths, const std::string& here) {
    std::string result;
    size_t start = 0;
    for (;;) {
        const size_t comma = paths.find(',', start);
        result += Absolute(paths.substr(start, comma - start), here);
        if (comma == std::string::npos)
            return result;
        result += ',';
        start = comma + 1;
    }
}

std::string AbsoluteArgument(const std::string& arg, const std::string& here) {
    if (arg.empty() || arg[0] != '-')
        return Absolute(arg, here);
    for (std::string_view option : kPathOptions) {
        if (arg.compare(0, option.size(), option) != 0)
            continue;
        const std::string value = arg.substr(option.size());
        return std::string(option) +
               (option == "-seed_inputs=" ? AbsoluteList(value, here) : Absolute(value, here));
    }
    return arg;
}

} // namespace

void KeepPathsAbsolute(int* argc, char*** argv) {
    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    const std::string here = fs::current_path().string();
    arguments.clear();
    bool prefixGiven = false;
    for (int i = 1; i < *argc; ++i) {
        arguments.push_back(AbsoluteArgument((*argv)[i], here));
        prefixGiven = prefixGiven || arguments.back().rfind("-artifact_prefix=", 0) == 0;
    }
    if (!prefixGiven)
        arguments.push_back("-artifact_prefix=" + here + "/");
    pointers.clear();
    // libFuzzer insists on its own argv[0].
    pointers.push_back((*argv)[0]);
    for (std::string& arg : arguments)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    *argc = static_cast<int>(pointers.size() - 1);
    *argv = pointers.data();
}

std::string GameFolder() {
    const char* chosen = std::getenv("QUIBBO_GAME_DIR");
    return chosen && *chosen ? chosen : QUIBBO_GAME_DIR;
}

void MakeScratchFolder(bool linkGame, const char* input) {
    outside = fs::current_path();
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quibbo-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()))
        Die("cannot make a scratch folder from " + pattern);
    scratch = fs::absolute(pattern);
    std::atexit(RemoveScratch);

    std::error_code error;
    fs::create_directory(scratch / "logs", error);
    if (error)
        Die("cannot make " + (scratch / "logs").string() + ": " + error.message());
    if (!linkGame)
        return;
    const fs::path game = fs::absolute(GameFolder());
    if (!fs::is_directory(game))
        Die("no game folder at " + game.string() +
            " (build quibbo_content, or set QUIBBO_GAME_DIR)");
    for (const fs::directory_entry& entry : fs::directory_iterator(game)) {
        const fs::path name = entry.path().filename();
        if (name == "logs" || (input && name == input))
            continue;
        fs::create_symlink(entry.path(), scratch / name, error);
        if (error)
            Die("cannot link " + entry.path().string() + ": " + error.message());
    }
}

InScratchFolder::InScratchFolder() {
    Enter(scratch);
}

InScratchFolder::~InScratchFolder() {
    Enter(outside);
}

void DiscardLog(const char* name) {
    std::error_code error;
    const fs::path log = fs::path("logs") / name;
    fs::remove(log, error);
    fs::create_symlink("/dev/null", log, error);
    if (error)
        Die("cannot send " + log.string() + " to /dev/null: " + error.message());
}

void WriteInput(const char* name, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(name, "wb");
    if (!file)
        Die(std::string("cannot write ") + name);
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
        Die(std::string("cannot write ") + name);
}

void StartHarness(int* argc, char*** argv, bool linkGame, const char* input) {
    KeepPathsAbsolute(argc, argv);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    MakeScratchFolder(linkGame, input);
    compat::seams::SetTicks(1000);
}

CGraphics* StartDisplay() {
    InScratchFolder inside;
    DiscardLog("graphics.txt");
    auto* graphics = new CGraphics;
    if (!graphics->Init(compat::seams::MakeTestWindow(), 640, 480, 16))
        Die("the display does not come up");
    return graphics;
}

void Fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzzsupport
