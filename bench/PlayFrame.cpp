// The real play frame: CGame::Frame in Playing on our content (three clouds, the mascot, a
// field of 166 blocks, the four borders, every text of play, the flip), beside a memcpy of a
// frame of the same size in the same run. Run: build/default/bench/bench_PlayFrame (headless:
// dummy video).
//
// Targets: a play frame presented whole within 25x a frame memcpy at 640x480 and within 15x at
// 1600x1200; a frame that changes nothing presents in under 5% of the time of one presented
// whole. Each case counts the time its presents took (present_us, pacing left out), and the
// ratios are printed at the end.
//
// The pacing sleep is off: the clock is set, so Flip's wait for the display advances it
// instead of sleeping, and it is set back before every frame, so the countdown, the clouds and
// the falling block stand still and every frame draws the same picture. PlayFrame has the
// window drawn whole every frame; PlayFrameNothingChanged presents only what changed (nothing);
// PlayFrameBlockMoved moves the falling block a row up and back, frame by frame.
#include "CGameProbe.h"
#include "CLevelProbe.h"
#include "FrameCopy.h"
#include "app/CGame.h"
#include "app/CWindow.h"
#include "gfx/CGraphics.h"
#include "play/LevelFile.h"

#include "compat/GfxSeams.h"
#include "compat/RecordSeams.h"
#include "compat/Seams.h"

#include <mmsystem.h>
#include <windows.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace seams = compat::seams;

constexpr int kGetReadyFrames = 200; // more than two seconds of frames

// A full field without a run anywhere, the entry column left free below the entry: four block
// types so that no four equal blocks touch in a line.
LevelFile FullField() {
    LevelFile level;
    const char* pictures[] = {"scenery/block_red.bmp", "scenery/block_green.bmp",
                              "scenery/block_blue.bmp", "scenery/block_yellow.bmp"};
    level.nameFields.resize(4);
    for (int type = 1; type <= 4; ++type)
        level.SetName(type, pictures[type - 1]);
    level.speed = 800;
    level.timer = 420000;
    for (int y = 0; y < LevelFile::kGridSize; ++y)
        for (int x = 0; x < LevelFile::kGridSize; ++x)
            level.SetCell(x, y, static_cast<int8_t>((x + 2 * y) % 4 + 1));
    for (int y = 7; y <= 9; ++y)
        level.SetCell(6, y, 0);
    return level;
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A copy of the game folder that plays the full field in the given mode.
fs::path GameFolder(int width, int height) {
    const fs::path folder =
        fs::temp_directory_path() / ("quibbo-bench-play-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::copy(QUIBBO_GAME_DIR, folder, fs::copy_options::recursive);
    fs::remove_all(folder / "logs");
    WriteFile(folder / "bench.lev", FullField().Bytes());
    std::ofstream(folder / "levels.txt") << "1 bench.lev\n";
    // The settings: the default keys, then the mode.
    std::vector<uint8_t> settings{37, 39, 65, 68};
    for (int value : {width, height, 16})
        for (int i = 0; i < 4; ++i)
            settings.push_back(static_cast<uint8_t>(value >> (8 * i)));
    WriteFile(folder / "quibbo.ini", settings);
    return folder;
}

// The game, started as the entry point starts it, brought into play with the full field.
struct Game {
    int width;
    int height;
    fs::path folder;
    CWindow window;
    DWORD playing = 0; // a clock reading during play
    HWND handle = nullptr;

    Game(int w, int h) : width(w), height(h), folder(GameFolder(w, h)) {
        fs::current_path(folder);
        seams::SetTicks(100000);
        g_game = new CGame;
        g_graphics = new CGraphics;
        CreateDirectoryA("logs", nullptr);
        // A window class of its own for each game: a class stays registered.
        static int games = 0;
        const std::string windowClass = "QUIBBO_CLASS_" + std::to_string(++games);
        handle =
            window.Create(seams::MakeTestModule("bench"), GetSystemMetrics(SM_CXSCREEN),
                          GetSystemMetrics(SM_CYSCREEN), windowClass.c_str(), "Quibbo's puzzle");
        ShowWindow(handle, SW_SHOWNORMAL);
        if (!g_game->Init(handle))
            std::abort();
        g_game->Frame();
        g_game->SetState(GetReady);
        for (int frame = 0; frame < kGetReadyFrames; ++frame)
            g_game->Frame();
        if (CGameProbe{*g_game}.State() != Playing)
            std::abort();
        playing = timeGetTime();
    }
    ~Game() {
        g_graphics->Release();
        delete g_graphics;
        g_graphics = nullptr;
        delete g_game;
        g_game = nullptr;
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(folder);
    }
};

std::unique_ptr<Game>& CurrentGame() {
    static std::unique_ptr<Game> game;
    return game;
}

Game& GameAt(int width, int height) {
    auto& game = CurrentGame();
    if (!game || game->width != width || game->height != height) {
        game.reset();
        game = std::make_unique<Game>(width, height);
    }
    return *game;
}

void MemcpyFrame(benchmark::State& state) {
    CopyFrames(state);
}

// What a frame changes for the present: everything (the window drawn whole, as the first
// frame after a mode change), nothing, or only the falling block, a row up and back.
enum class Change { Whole, Nothing, FallingBlock };

// The time a present took on average in each benchmark, by mode width and change.
std::map<std::pair<int, int>, double>& PresentTimes() {
    static std::map<std::pair<int, int>, double> times;
    return times;
}

void PlayFrames(benchmark::State& state, Change change) {
    Game& game = GameAt(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CLevelProbe block{*CGameProbe{*g_game}.Level()};
    const int column = block.Column(), row = block.Row(), type = block.Type();
    const uint64_t presented = seams::PresentedFrames();
    const double presenting = seams::PresentingSeconds();
    int frame = 0;
    for (auto _ : state) {
        seams::SetTicks(game.playing);
        if (change == Change::Whole)
            seams::RedrawWholeWindow(game.handle);
        else if (change == Change::FallingBlock)
            block.Place(column, row - (++frame & 1), type);
        g_game->Frame();
    }
    block.Place(column, row, type);
    // Every frame was a play frame, and every one was presented.
    if (seams::PresentedFrames() - presented != static_cast<uint64_t>(state.iterations()) ||
        CGameProbe{*g_game}.State() != Playing)
        state.SkipWithError("a frame was not a presented play frame");
    char label[64];
    std::snprintf(label, sizeof(label), "%dx%d", game.width, game.height);
    state.SetLabel(label);
    // The present's own share of a frame, for the ratio printed at the end.
    const double present =
        state.iterations() ? (seams::PresentingSeconds() - presenting) / state.iterations() : 0;
    state.counters["present_us"] = present * 1e6;
    PresentTimes()[{game.width, static_cast<int>(change)}] = present;
}

// Nothing changed against the whole frame, per mode: the present's target.
void PrintPresentRatios() {
    const auto& times = PresentTimes();
    for (int width : {640, 1600}) {
        const auto whole = times.find({width, static_cast<int>(Change::Whole)});
        const auto nothing = times.find({width, static_cast<int>(Change::Nothing)});
        const auto block = times.find({width, static_cast<int>(Change::FallingBlock)});
        if (whole == times.end() || nothing == times.end() || whole->second <= 0)
            continue;
        std::printf("%d wide: presenting a frame whole %.1f us; nothing changed %.1f us (%.1f%%, "
                    "target under 5%%)",
                    width, whole->second * 1e6, nothing->second * 1e6,
                    100 * nothing->second / whole->second);
        if (block != times.end())
            std::printf("; the falling block moved %.1f us (%.1f%%)", block->second * 1e6,
                        100 * block->second / whole->second);
        std::printf("\n");
    }
}

BENCHMARK(MemcpyFrame)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
void PlayFrame(benchmark::State& state) {
    PlayFrames(state, Change::Whole);
}
void PlayFrameNothingChanged(benchmark::State& state) {
    PlayFrames(state, Change::Nothing);
}
void PlayFrameBlockMoved(benchmark::State& state) {
    PlayFrames(state, Change::FallingBlock);
}

BENCHMARK(PlayFrame)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
BENCHMARK(PlayFrameNothingChanged)
    ->Args({640, 480})
    ->Args({1600, 1200})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PlayFrameBlockMoved)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);

// The run recorded into `path` as the program's entry records it.
bool StartRecording(const std::string& path, benchmark::State& state) {
    setenv("QUIBBO_RECORD", path.c_str(), 1);
    if (seams::StartRecording())
        return true;
    state.SkipWithError("no recording");
    return false;
}

// A pass of the game's loop as the program runs it, PeekMessageA and then the frame (drawn
// whole, as PlayFrame), with the run recorded as the program's entry records it or not. The
// pass lines and the log read are measured here; the checkpoints' frame hash, taken every two
// seconds (120 frames) and at state changes, is RecordFrameHash.
//
// Target: recording costs under 2% of a frame's time: PlayPassRecorded - PlayPass (or, less
// noisy, PollPassRecorded - PollPass) + RecordFrameHash / 120 below 2% of PlayPass.
void PlayPasses(benchmark::State& state, bool recorded) {
    Game& game = GameAt(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::string recording = (game.folder / "bench-recording.txt").string();
    if (recorded && !StartRecording(recording, state))
        return;
    MSG message{};
    for (auto _ : state) {
        seams::SetTicks(game.playing);
        seams::RedrawWholeWindow(game.handle);
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        g_game->Frame();
    }
    if (recorded) {
        seams::FinishRecording(0);
        if (!fs::exists(recording) || CGameProbe{*g_game}.State() != Playing)
            state.SkipWithError("the recorded passes were not play passes");
        state.counters["bytes"] = static_cast<double>(fs::file_size(recording));
    }
}
void PlayPass(benchmark::State& state) {
    PlayPasses(state, false);
}
void PlayPassRecorded(benchmark::State& state) {
    PlayPasses(state, true);
}
void RecordFrameHash(benchmark::State& state) {
    GameAt(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    uint64_t hash = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(hash += seams::PresentedFrameHash());
}

// The recorder's share of a pass alone: PeekMessageA and the six key polls of a play frame,
// recorded or not (the frame itself left out, so that its noise does not hide the difference).
void PollPasses(benchmark::State& state, bool recorded) {
    Game& game = GameAt(640, 480);
    const std::string recording = (game.folder / "bench-recording.txt").string();
    if (recorded && !StartRecording(recording, state))
        return;
    MSG message{};
    seams::KeyDown(VK_LEFT); // held: its polls answer "down", and are written down
    for (auto _ : state) {
        benchmark::DoNotOptimize(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        for (int key : {VK_ESCAPE, VK_LEFT, VK_RIGHT, VK_DOWN, int{'A'}, int{'D'}})
            benchmark::DoNotOptimize(GetAsyncKeyState(key));
    }
    seams::KeyUp(VK_LEFT);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    if (recorded)
        seams::FinishRecording(0);
}
void PollPass(benchmark::State& state) {
    PollPasses(state, false);
}
void PollPassRecorded(benchmark::State& state) {
    PollPasses(state, true);
}
BENCHMARK(PollPass)->Unit(benchmark::kMicrosecond);
BENCHMARK(PollPassRecorded)->Unit(benchmark::kMicrosecond);

BENCHMARK(PlayPass)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
BENCHMARK(PlayPassRecorded)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
BENCHMARK(RecordFrameHash)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    PrintPresentRatios();
    CurrentGame().reset();
    benchmark::Shutdown();
    return 0;
}
