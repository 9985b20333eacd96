#include "RecordingLines.h"
#include "ReplayScript.h"
#include "ScriptWords.h"

#include <cctype>
#include <cstdio>
#include <limits>

namespace replay {

namespace {

// The keys of typed characters that have a key of their own.
constexpr int kShift = 16;
constexpr int kOemMinus = 0xBD;
constexpr int kOemPeriod = 0xBE;
constexpr int kOemSlash = 0xBF;

// Adds the key strokes that type one character; false for a character no key types.
bool StrokesFor(char c, std::vector<KeyStroke>* strokes) {
    const auto press = [strokes](int key) {
        strokes->push_back({key, true});
        strokes->push_back({key, false});
    };
    if (c >= 'a' && c <= 'z')
        press(c - 'a' + 'A');
    else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ')
        press(c);
    else if (c == '.')
        press(kOemPeriod);
    else if (c == '/')
        press(kOemSlash);
    else if (c == '-')
        press(kOemMinus);
    else if (c == '_') {
        // The minus key with Shift held, as on the keyboard.
        strokes->push_back({kShift, true});
        press(kOemMinus);
        strokes->push_back({kShift, false});
    } else
        return false;
    return true;
}

bool HasImageExtension(std::string_view path) {
    if (path.size() < 5)
        return false;
    const std::string_view extension = path.substr(path.size() - 4);
    return EqualsNoCase(extension, ".bmp") || EqualsNoCase(extension, ".png");
}

constexpr int64_t kMaxTicks = std::numeric_limits<uint32_t>::max();
constexpr int64_t kMaxFrames = 100000000;
constexpr int64_t kMaxPosition = 65535;
constexpr int64_t kMaxFailures = 1000000;

class LineParser {
public:
    LineParser(std::string_view line, int number, Command* command, std::string* error)
        : rest_(line), command_(command), error_(error) {
        command_->line = number;
    }

    bool Parse() {
        const std::string_view word = NextWord(rest_);
        if (word == "seed")
            return Number(Op::Seed, 0, kMaxTicks, "a seed from 0 to 4294967295") && End();
        if (word == "clock")
            return Number(Op::Clock, 0, kMaxTicks, "milliseconds from 0 to 4294967295") && End();
        if (word == "file")
            return Path(Op::File) && Bytes();
        if (word == "text") {
            if (!Path(Op::Text))
                return false;
            const std::string line = std::string(rest_) + "\n";
            command_->bytes.assign(line.begin(), line.end());
            return true;
        }
        if (word == "remove")
            return Path(Op::Remove) && End();
        if (word == "fail")
            return Failure();
        if (word == "frames")
            return Number(Op::Frames, 0, kMaxFrames, "a number of frames") && End();
        if (word == "wait")
            return Number(Op::Wait, 0, kMaxTicks, "milliseconds") && End();
        if (word == "until")
            return Until();
        if (word == "down" || word == "up" || word == "press") {
            command_->op = word == "down" ? Op::Down : word == "up" ? Op::Up : Op::Press;
            return Key() && End();
        }
        if (word == "type")
            return Type();
        if (word == "move" || word == "click") {
            command_->op = word == "move" ? Op::Move : Op::Click;
            return Position() && End();
        }
        if (word == "close") {
            command_->op = Op::Close;
            return End();
        }
        if (word == "start") {
            command_->op = Op::Start;
            return End();
        }
        if (word == "pad")
            return Pad();
        if (word == "shot")
            return Shot();
        if (word == "expect")
            return Expect();
        if (word == "recording")
            return Number(Op::Recording, 1, 1, "recording 1") && End();
        if (word == "p") {
            command_->op = Op::Pass;
            command_->number = 1;
            return ParsePass(rest_, &command_->pass, error_);
        }
        if (word == "r")
            return Number(Op::Repeat, 1, kMaxFrames, "a number of passes") && End();
        if (word == "c") {
            command_->op = Op::Check;
            return ParseCheck(rest_, command_, error_);
        }
        return Fail("no command '" + std::string(word) + "'");
    }

private:
    bool Fail(const std::string& message) {
        *error_ = message;
        return false;
    }

    bool End() {
        if (rest_.empty())
            return true;
        return Fail("unexpected '" + std::string(rest_) + "'");
    }

    bool NumberWord(int64_t low, int64_t high, const char* what, int64_t* value) {
        const std::string_view word = NextWord(rest_);
        if (ParseNumber(word, low, high, value))
            return true;
        return Fail(std::string("expected ") + what + ", got '" + std::string(word) + "'");
    }

    bool Number(Op op, int64_t low, int64_t high, const char* what) {
        command_->op = op;
        return NumberWord(low, high, what, &command_->number);
    }

    bool Path(Op op) {
        command_->op = op;
        const std::string_view word = NextWord(rest_);
        if (word.empty())
            return Fail("expected a file name");
        command_->path = std::string(word);
        return true;
    }

    bool Failure() {
        if (!Path(Op::Fail))
            return false;
        command_->number = 1;
        if (!rest_.empty() && !NumberWord(1, kMaxFailures, "a number of calls", &command_->number))
            return false;
        return End();
    }

    bool Bytes() {
        if (ParseHex(rest_, &command_->bytes))
            return true;
        return Fail("expected bytes in hexadecimal, got '" + std::string(rest_) + "'");
    }

    bool State(int64_t* value) {
        const std::string_view word = NextWord(rest_);
        int32_t state = 0;
        if (!StateFromName(word, &state))
            return Fail("expected a state name or number, got '" + std::string(word) + "'");
        *value = state;
        return true;
    }

    bool Until() {
        command_->op = Op::Until;
        if (!State(&command_->number))
            return false;
        command_->second = 60000;
        if (!rest_.empty() && !NumberWord(0, kMaxTicks, "milliseconds", &command_->second))
            return false;
        return End();
    }

    // pad N attach [joystick] | detach | down BUTTON | up BUTTON | axis AXIS VALUE
    bool Pad() {
        command_->op = Op::Pad;
        int64_t pad = 0;
        if (!NumberWord(1, 4, "a pad from 1 to 4", &pad))
            return false;
        command_->slot = static_cast<int>(pad - 1);
        const std::string_view action = NextWord(rest_);
        int index = 0;
        if (action == "attach") {
            const std::string_view kind = NextWord(rest_);
            if (!kind.empty() && kind != "joystick")
                return Fail("expected nothing or 'joystick', got '" + std::string(kind) + "'");
            command_->number =
                static_cast<int64_t>(kind.empty() ? PadAction::Attach : PadAction::AttachJoystick);
            return End();
        }
        if (action == "detach") {
            command_->number = static_cast<int64_t>(PadAction::Detach);
            return End();
        }
        if (action == "down" || action == "up") {
            command_->number =
                static_cast<int64_t>(action == "down" ? PadAction::Down : PadAction::Up);
            const std::string_view button = NextWord(rest_);
            if (!PadButtonFromName(button, &index))
                return Fail("expected a pad button, got '" + std::string(button) + "'");
            command_->second = index;
            return End();
        }
        if (action == "axis") {
            command_->number = static_cast<int64_t>(PadAction::Axis);
            const std::string_view axis = NextWord(rest_);
            if (!PadAxisFromName(axis, &index))
                return Fail("expected a pad axis, got '" + std::string(axis) + "'");
            command_->second = index;
            return NumberWord(-32768, 32767, "an axis value from -32768 to 32767",
                              &command_->third) &&
                   End();
        }
        return Fail("expected attach, detach, down, up or axis, got '" + std::string(action) + "'");
    }

    bool Key() {
        const std::string_view word = NextWord(rest_);
        int key = 0;
        if (!KeyFromName(word, &key))
            return Fail("expected a key, got '" + std::string(word) + "'");
        command_->number = key;
        return true;
    }

    bool Type() {
        command_->op = Op::Type;
        if (rest_.empty())
            return Fail("expected text to type");
        command_->text = std::string(rest_);
        for (char c : rest_) {
            if (!StrokesFor(c, &command_->strokes))
                return Fail(std::string("no key types '") + c + "'");
        }
        return true;
    }

    bool Position() {
        return NumberWord(0, kMaxPosition, "an x position", &command_->number) &&
               NumberWord(0, kMaxPosition, "a y position", &command_->second);
    }

    bool Shot() {
        if (!Path(Op::Shot))
            return false;
        if (!HasImageExtension(command_->path))
            return Fail("a shot is a .bmp or .png file, not '" + command_->path + "'");
        return End();
    }

    bool Expect() {
        const std::string_view what = NextWord(rest_);
        if (what == "state") {
            command_->op = Op::ExpectState;
            return State(&command_->number) && End();
        }
        if (what == "log") {
            if (!Path(Op::ExpectLog))
                return false;
            if (rest_.empty())
                return Fail("expected the text of a log line");
            command_->text = std::string(rest_);
            return true;
        }
        if (what == "count") {
            if (!Path(Op::ExpectCount) || !NumberWord(0, std::numeric_limits<int32_t>::max(),
                                                      "a number of lines", &command_->number))
                return false;
            if (rest_.empty())
                return Fail("expected the text of the lines to count");
            command_->text = std::string(rest_);
            return true;
        }
        if (what == "last") {
            if (!Path(Op::ExpectLast))
                return false;
            command_->mark = std::string(NextWord(rest_));
            if (command_->mark.empty() || rest_.empty())
                return Fail("expected a word that marks the lines, and the text of the last");
            command_->text = std::string(rest_);
            return true;
        }
        if (what == "file")
            return Path(Op::ExpectFile) && Bytes();
        if (what == "exit") {
            command_->op = Op::ExpectExit;
            return NumberWord(std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::max(), "an exit code",
                              &command_->number) &&
                   End();
        }
        if (what == "presented")
            return Number(Op::ExpectPresented, 0, std::numeric_limits<int64_t>::max() / 10,
                          "a number of frames") &&
                   End();
        if (what == "cursor")
            return Number(Op::ExpectCursor, std::numeric_limits<int32_t>::min(),
                          std::numeric_limits<int32_t>::max(), "a display count") &&
                   End();
        if (what == "pixel")
            return Pixel();
        return ExpectField(what);
    }

    bool Pixel() {
        command_->op = Op::ExpectPixel;
        if (!Position())
            return false;
        const std::string_view word = NextWord(rest_);
        std::vector<uint8_t> rgb;
        if (word.size() != 6 || !ParseHex(word, &rgb))
            return Fail("expected a colour RRGGBB, got '" + std::string(word) + "'");
        command_->third = (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
        return End();
    }

    bool ExpectField(std::string_view name) {
        command_->op = Op::ExpectField;
        if (!FieldFromName(name, &command_->field, &command_->slot))
            return Fail("nothing to expect called '" + std::string(name) + "'");
        switch (KindOf(command_->field)) {
        case FieldKind::Number:
            return NumberWord(std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::max(), "a number", &command_->number) &&
                   End();
        case FieldKind::Flag:
            return NumberWord(0, 1, "a flag, 0 or 1", &command_->number) && End();
        case FieldKind::State:
            return State(&command_->number) && End();
        case FieldKind::Text:
            command_->text = std::string(rest_);
            return true;
        }
        return false;
    }

    std::string_view rest_;
    Command* command_;
    std::string* error_;
};

bool IsSetup(Op op) {
    return op == Op::Seed || op == Op::Clock || op == Op::File || op == Op::Text ||
           op == Op::Remove;
}

} // namespace

bool ParseScript(std::string_view text, Script* script, ParseError* error) {
    *script = Script{};
    bool seedGiven = false, clockGiven = false, setupOver = false;
    int number = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line.front() == '#')
            continue;

        Command command;
        std::string message;
        if (!LineParser(line, number, &command, &message).Parse()) {
            *error = ParseError{number, message};
            return false;
        }
        if (command.op == Op::Repeat) {
            if (script->commands.empty() || script->commands.back().op != Op::Pass) {
                *error = ParseError{number, "r repeats the pass line just before it"};
                return false;
            }
            script->commands.back().number += command.number;
            continue;
        }
        if ((command.op == Op::Pass || command.op == Op::Check) && !script->recording) {
            *error = ParseError{number, "passes and checkpoints belong to a recording"};
            return false;
        }
        if (command.op == Op::Recording) {
            if (setupOver) {
                *error = ParseError{number, "recording comes before every other command"};
                return false;
            }
            script->recording = true;
            continue;
        }
        if (IsSetup(command.op) && setupOver) {
            *error = ParseError{number, "seed, clock, file, text and remove come before every "
                                        "other command"};
            return false;
        }
        switch (command.op) {
        case Op::Seed:
            if (seedGiven) {
                *error = ParseError{number, "a second seed"};
                return false;
            }
            seedGiven = true;
            script->seed = static_cast<uint32_t>(command.number);
            break;
        case Op::Clock:
            if (clockGiven) {
                *error = ParseError{number, "a second clock"};
                return false;
            }
            clockGiven = true;
            script->clock = static_cast<uint32_t>(command.number);
            break;
        case Op::File:
        case Op::Text:
        case Op::Remove:
            script->files.push_back(
                SetupFile{number, command.path, command.bytes, command.op == Op::Remove});
            break;
        case Op::Fail:
            if (!setupOver) {
                script->failures.push_back(
                    ForcedFailure{command.path, static_cast<int>(command.number)});
                break;
            }
            script->commands.push_back(std::move(command));
            break;
        default:
            setupOver = true;
            script->commands.push_back(std::move(command));
            break;
        }
    }
    return true;
}

} // namespace replay
