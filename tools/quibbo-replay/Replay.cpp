#include "Replay.h"

#include "CGameProbe.h"
#include "raster/Png.h"

#include "compat/GfxSeams.h"
#include "compat/InputSeams.h"
#include "compat/PadSeams.h"
#include "compat/RecordSeams.h"
#include "compat/Seams.h"

#include <mmsystem.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace replay {

namespace {

namespace seams = compat::seams;

// Passes the game gets to end after the close command before the driver gives up on it.
constexpr int64_t kStopPasses = 3600;

const char* OpName(Op op) {
    switch (op) {
    case Op::Frames:
        return "frames";
    case Op::Wait:
        return "wait";
    case Op::Until:
        return "until";
    case Op::Down:
        return "down";
    case Op::Up:
        return "up";
    case Op::Press:
        return "press";
    case Op::Type:
        return "type";
    case Op::Move:
        return "move";
    case Op::Click:
        return "click";
    case Op::Close:
        return "close";
    case Op::Start:
        return "start";
    case Op::Pad:
        return "pad";
    case Op::Fail:
        return "fail";
    case Op::ExpectState:
        return "expect state";
    case Op::ExpectField:
        return "expect";
    default:
        return "this command";
    }
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    constexpr size_t kShown = 64;
    std::string text;
    char digits[3];
    for (size_t i = 0; i < bytes.size() && i < kShown; ++i) {
        snprintf(digits, sizeof(digits), "%02x", bytes[i]);
        text += digits;
    }
    if (bytes.size() > kShown)
        text += "...";
    return text;
}

std::string Bytes(const std::vector<uint8_t>& bytes) {
    return std::to_string(bytes.size()) + (bytes.size() == 1 ? " byte" : " bytes") +
           (bytes.empty() ? "" : " " + Hex(bytes));
}

// The colour of a presented pixel as 0xRRGGBB, the 16-bit mode's channels widened as the
// screen shows them.
uint32_t RgbOf(uint32_t raw, int bitsPerPixel) {
    if (bitsPerPixel != 16)
        return raw & 0xFFFFFF;
    const uint32_t r5 = (raw >> 11) & 0x1F, g6 = (raw >> 5) & 0x3F, b5 = raw & 0x1F;
    const uint32_t r = (r5 << 3) | (r5 >> 2), g = (g6 << 2) | (g6 >> 4), b = (b5 << 3) | (b5 >> 2);
    return (r << 16) | (g << 8) | b;
}

std::string Colour(uint32_t rgb) {
    char text[8];
    snprintf(text, sizeof(text), "%06X", rgb & 0xFFFFFF);
    return text;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string ShortState() {
    return g_game ? DescribeState(CGameProbe{*g_game}.State()) : "none";
}

} // namespace

Replay::Replay(const Script& script, std::string scriptName, std::string outDir)
    : script_(script), scriptName_(std::move(scriptName)), outDir_(std::move(outDir)),
      clock_(script.clock) {}

void Replay::OnPeek() {
    if (!seeded_) {
        // The game seeded with the time before its first pass; nothing random is drawn yet.
        srand(script_.seed);
        seeded_ = true;
    }
    if (stopping_) {
        if (++passesSinceStop_ > kStopPasses) {
            fprintf(stderr, "%s: the game did not end within %lld frames of the close command\n",
                    scriptName_.c_str(), static_cast<long long>(kStopPasses));
            std::_Exit(1);
        }
        return;
    }
    Run();
}

void Replay::GameEnded(int exitCode) {
    ended_ = true;
    exitCode_ = exitCode;
    if (!failed_ && !stopping_)
        Run();
    if (!failed_ && exitCode_ != 0 && !exitChecked_) {
        fprintf(stderr, "%s: expected exit 0, got %d\n", scriptName_.c_str(), exitCode_);
        failed_ = true;
    }
}

void Replay::Run() {
    const std::vector<Command>& commands = script_.commands;
    while (!failed_ && !stopping_) {
        if (waiting_) {
            const Outcome outcome = Continue(commands[next_]);
            if (outcome == Outcome::Waiting)
                return;
            waiting_ = false;
            if (outcome == Outcome::Failed)
                break;
            ++next_;
            continue;
        }
        if (next_ >= commands.size()) {
            // The script is over: the game ends as the player would end it.
            if (!ended_)
                StopGame();
            return;
        }
        const Outcome outcome = Start(commands[next_]);
        if (outcome == Outcome::Waiting) {
            waiting_ = true;
            return;
        }
        if (outcome == Outcome::Failed)
            break;
        ++next_;
    }
    if (failed_ && !ended_)
        StopGame();
}

Replay::Outcome Replay::Start(const Command& command) {
    switch (command.op) {
    case Op::Frames:
        if (ended_ || command.number == 0)
            return Outcome::Done;
        framesLeft_ = command.number;
        return Outcome::Waiting;
    case Op::Wait:
        if (ended_ || command.number == 0)
            return Outcome::Done;
        waitStart_ = timeGetTime();
        return Outcome::Waiting;
    case Op::Until:
        waitStart_ = timeGetTime();
        return Continue(command);
    case Op::Down:
    case Op::Up:
    case Op::Press:
    case Op::Type:
    case Op::Move:
    case Op::Click:
    case Op::Close:
    case Op::Start:
    case Op::Pad:
    case Op::Fail:
        if (ended_)
            return NeedsGame(command,
                             std::string("a running game for '") + OpName(command.op) + "'");
        break;
    default:
        break;
    }

    switch (command.op) {
    case Op::Down:
        Key(static_cast<int>(command.number), true);
        return Outcome::Done;
    case Op::Up:
        Key(static_cast<int>(command.number), false);
        return Outcome::Done;
    case Op::Press:
        Key(static_cast<int>(command.number), true);
        Key(static_cast<int>(command.number), false);
        return Outcome::Done;
    case Op::Type:
        for (const KeyStroke& stroke : command.strokes)
            Key(stroke.key, stroke.down);
        return Outcome::Done;
    case Op::Move:
        seams::MouseMove(static_cast<int>(command.number), static_cast<int>(command.second));
        return Outcome::Done;
    case Op::Click:
        seams::MouseMove(static_cast<int>(command.number), static_cast<int>(command.second));
        seams::LeftButtonDown(static_cast<int>(command.number), static_cast<int>(command.second));
        seams::LeftButtonUp(static_cast<int>(command.number), static_cast<int>(command.second));
        return Outcome::Done;
    case Op::Close:
        if (HWND window = seams::GameWindow())
            seams::CloseWindow(window);
        return Outcome::Done;
    case Op::Start:
        return StartGame(command);
    case Op::Pad:
        return Pad(command);
    case Op::Fail:
        seams::FailNext(command.path, E_FAIL, static_cast<int>(command.number));
        return Outcome::Done;
    case Op::Shot:
        return Shot(command);
    case Op::ExpectState: {
        const auto expected = static_cast<int32_t>(command.number);
        if (ended_ || !g_game)
            return NeedsGame(command, "state " + DescribeState(expected));
        const GameState state = CGameProbe{*g_game}.State();
        if (state != expected)
            return Fail(command, "state " + DescribeState(expected), DescribeState(state));
        return Outcome::Done;
    }
    case Op::ExpectField:
        return ExpectField(command);
    case Op::ExpectLog:
    case Op::ExpectCount:
        return ExpectLog(command);
    case Op::ExpectLast:
        return ExpectLast(command);
    case Op::ExpectFile:
        return ExpectFile(command);
    case Op::ExpectExit:
        exitChecked_ = true;
        if (!ended_)
            return Fail(command, "exit " + std::to_string(command.number),
                        "the game still running, in state " + ShortState());
        if (exitCode_ != command.number)
            return Fail(command, "exit " + std::to_string(command.number),
                        std::to_string(exitCode_));
        return Outcome::Done;
    case Op::ExpectPresented: {
        const uint64_t presented = seams::PresentedFrames();
        if (presented != static_cast<uint64_t>(command.number))
            return Fail(command, std::to_string(command.number) + " frames presented",
                        std::to_string(presented));
        return Outcome::Done;
    }
    case Op::ExpectCursor: {
        const int count = seams::CursorDisplayCount();
        if (count != command.number)
            return Fail(command, "cursor display count " + std::to_string(command.number),
                        std::to_string(count));
        return Outcome::Done;
    }
    case Op::ExpectPixel:
        return ExpectPixel(command);
    case Op::Pass:
        return PlayPass(command);
    case Op::Check:
        return CheckPass(command);
    default:
        return Outcome::Done; // the setup commands ran before the game started
    }
}

Replay::Outcome Replay::Continue(const Command& command) {
    switch (command.op) {
    case Op::Frames:
        if (ended_)
            return Outcome::Done;
        return --framesLeft_ > 0 ? Outcome::Waiting : Outcome::Done;
    case Op::Wait:
        if (ended_)
            return Outcome::Done;
        return timeGetTime() - waitStart_ >= command.number ? Outcome::Done : Outcome::Waiting;
    case Op::Start:
        return StartGame(command);
    case Op::Pass:
        return ContinuePass(command);
    case Op::Until: {
        const auto expected = static_cast<int32_t>(command.number);
        const auto what = [&] {
            return "state " + DescribeState(expected) + " within " +
                   std::to_string(command.second) + " ms";
        };
        if (ended_ || !g_game)
            return NeedsGame(command, what());
        const GameState state = CGameProbe{*g_game}.State();
        if (state == expected)
            return Outcome::Done;
        if (timeGetTime() - waitStart_ >= command.second)
            return Fail(command, what(), DescribeState(state));
        return Outcome::Waiting;
    }
    default:
        return Outcome::Done;
    }
}

// A new game from the main menu: a click in the middle of its Start item, once the title screen
// has laid it out; done when the game is in GetReady.
Replay::Outcome Replay::StartGame(const Command& command) {
    const std::string expected = "a game started from the main menu within 1000 ms";
    if (ended_ || !g_game)
        return NeedsGame(command, expected);
    const CGameProbe game{*g_game};
    if (startClicked_) {
        if (game.State() == GetReady) {
            startClicked_ = false;
            return Outcome::Done;
        }
        if (timeGetTime() - waitStart_ >= 1000)
            return Fail(command, expected, ShortState());
        return Outcome::Waiting;
    }
    if (game.State() != MainMenu)
        return Fail(command, expected, ShortState());
    if (game.ClickStart()) {
        startClicked_ = true;
        waitStart_ = timeGetTime();
    }
    return Outcome::Waiting;
}

// `expect log`: some line holds the text; `expect count`: exactly so many lines hold it.
Replay::Outcome Replay::ExpectLog(const Command& command) {
    const bool counting = command.op == Op::ExpectCount;
    const std::string expected =
        (counting ? std::to_string(command.number) + " lines" : std::string("a line")) + " of " +
        command.path + " containing " + Quoted(command.text);
    std::ifstream in(command.path);
    if (!in)
        return Fail(command, expected, "no file " + command.path);
    std::string line;
    int64_t lines = 0, found = 0;
    while (std::getline(in, line)) {
        ++lines;
        if (line.find(command.text) != std::string::npos)
            ++found;
    }
    if (counting ? found == command.number : found > 0)
        return Outcome::Done;
    return Fail(command, expected,
                std::to_string(found) + " of its " + std::to_string(lines) + " lines");
}

// `expect last`: of the lines that hold the mark ("ERROR"), the last holds the text.
Replay::Outcome Replay::ExpectLast(const Command& command) {
    const std::string expected = "the last line of " + command.path + " containing " +
                                 Quoted(command.mark) + " to contain " + Quoted(command.text);
    std::ifstream in(command.path);
    if (!in)
        return Fail(command, expected, "no file " + command.path);
    std::string line, last;
    bool marked = false;
    while (std::getline(in, line)) {
        if (line.find(command.mark) != std::string::npos) {
            last = line;
            marked = true;
        }
    }
    if (!marked)
        return Fail(command, expected, "no such line");
    if (last.find(command.text) == std::string::npos)
        return Fail(command, expected, Quoted(last));
    return Outcome::Done;
}

Replay::Outcome Replay::ExpectFile(const Command& command) {
    const std::string expected = command.path + " holding " + Bytes(command.bytes);
    std::vector<uint8_t> bytes;
    if (!ReadFile(command.path, &bytes))
        return Fail(command, expected, "no file " + command.path);
    if (bytes != command.bytes)
        return Fail(command, expected, Bytes(bytes));
    return Outcome::Done;
}

Replay::Outcome Replay::ExpectPixel(const Command& command) {
    const auto x = static_cast<int>(command.number), y = static_cast<int>(command.second);
    const auto expected = static_cast<uint32_t>(command.third);
    const std::string what =
        "pixel " + std::to_string(x) + "," + std::to_string(y) + " " + Colour(expected);
    const seams::SurfaceFormat format = seams::PresentedFormat();
    if (format.bitsPerPixel == 0)
        return Fail(command, what, "no frame presented yet");
    if (x >= format.width || y >= format.height)
        return Fail(command, what,
                    "a frame of " + std::to_string(format.width) + "x" +
                        std::to_string(format.height));
    const uint32_t actual = RgbOf(seams::PresentedPixel(x, y), format.bitsPerPixel);
    if (actual != expected)
        return Fail(command, what, Colour(actual));
    return Outcome::Done;
}

Replay::Outcome Replay::Shot(const Command& command) {
    const std::filesystem::path path = std::filesystem::path(outDir_) / command.path;
    const std::string expected = "a shot in " + path.string();
    const seams::SurfaceFormat format = seams::PresentedFormat();
    if (format.bitsPerPixel == 0)
        return Fail(command, expected, "no frame presented yet");
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);

    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    bool written = false;
    if (extension == ".bmp") {
        written = seams::SavePresentedBmp(path.string().c_str());
    } else {
        std::vector<uint8_t> rgb;
        rgb.reserve(static_cast<size_t>(format.width) * static_cast<size_t>(format.height) * 3);
        for (int y = 0; y < format.height; ++y) {
            for (int x = 0; x < format.width; ++x) {
                const uint32_t colour = RgbOf(seams::PresentedPixel(x, y), format.bitsPerPixel);
                rgb.push_back(static_cast<uint8_t>(colour >> 16));
                rgb.push_back(static_cast<uint8_t>(colour >> 8));
                rgb.push_back(static_cast<uint8_t>(colour));
            }
        }
        const std::vector<uint8_t> png = raster::EncodePng(format.width, format.height, 3, rgb);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()),
                  static_cast<std::streamsize>(png.size()));
        written = static_cast<bool>(out);
    }
    if (!written)
        return Fail(command, expected, "a file that could not be written");
    return Outcome::Done;
}

Replay::Outcome Replay::Fail(const Command& command, const std::string& expected,
                             const std::string& got) {
    fprintf(stderr, "%s:%d: expected %s, got %s\n", scriptName_.c_str(), command.line,
            expected.c_str(), got.c_str());
    failed_ = true;
    return Outcome::Failed;
}

Replay::Outcome Replay::NeedsGame(const Command& command, const std::string& expected) {
    return Fail(command, expected,
                "the game ended with exit " + std::to_string(exitCode_) + " before this line");
}

void Replay::Key(int key, bool down) {
    const auto held = std::find(heldKeys_.begin(), heldKeys_.end(), key);
    if (down) {
        seams::KeyDown(key);
        if (held == heldKeys_.end())
            heldKeys_.push_back(key);
    } else {
        seams::KeyUp(key);
        if (held != heldKeys_.end())
            heldKeys_.erase(held);
    }
}

Replay::Outcome Replay::Pad(const Command& command) {
    const int pad = command.slot;
    const int index = static_cast<int>(command.second);
    bool done = false;
    switch (static_cast<PadAction>(command.number)) {
    case PadAction::Attach:
    case PadAction::AttachJoystick:
        done = seams::AttachPad(pad, static_cast<PadAction>(command.number) == PadAction::Attach);
        break;
    case PadAction::Detach:
        done = seams::DetachPad(pad);
        break;
    case PadAction::Down:
    case PadAction::Up:
        done = seams::SetPadButton(pad, index,
                                   static_cast<PadAction>(command.number) == PadAction::Down);
        break;
    case PadAction::Axis:
        done = seams::SetPadAxis(pad, index, static_cast<int>(command.third));
        break;
    }
    if (done)
        return Outcome::Done;
    return Fail(command, "pad " + std::to_string(pad + 1) + " to take it",
                "it could not (not attached, or attached already)");
}

void Replay::StopGame() {
    // A recording's messages no longer stand in for the queue, where the close command goes.
    if (script_.recording)
        seams::StopPlayback();
    stopping_ = true;
    passesSinceStop_ = 0;
    for (int key : heldKeys_)
        seams::KeyUp(key);
    heldKeys_.clear();
    seams::DetachAllPads();
    if (HWND window = seams::GameWindow())
        seams::CloseWindow(window);
}

} // namespace replay
