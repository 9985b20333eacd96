#include "ReplayScript.h"

#include <cctype>
#include <cstdio>
#include <limits>

namespace replay {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Takes the next blank-separated word off the front of `rest`; the rest loses its leading blanks.
std::string_view NextWord(std::string_view& rest) {
    size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end]))
        ++end;
    const std::string_view word = rest.substr(0, end);
    rest = Trim(rest.substr(end));
    return word;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool ParseNumber(std::string_view text, int64_t low, int64_t high, int64_t* value) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 18)
        return false;
    int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
    }
    const int64_t result = negative ? -magnitude : magnitude;
    if (result < low || result > high)
        return false;
    *value = result;
    return true;
}

bool ParseHex(std::string_view text, std::vector<uint8_t>* bytes) {
    bytes->clear();
    int high = -1;
    for (char c : text) {
        if (IsBlank(c))
            continue;
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        if (high < 0) {
            high = digit;
        } else {
            bytes->push_back(static_cast<uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    return high < 0;
}

struct NamedKey {
    const char* name;
    int key;
};

constexpr NamedKey kKeys[] = {
    {"LEFT", 37}, {"RIGHT", 39}, {"UP", 38},    {"DOWN", 40}, {"ESCAPE", 27}, {"RETURN", 13},
    {"BACK", 8},  {"PAUSE", 19}, {"SPACE", 32}, {"TAB", 9},   {"SHIFT", 16},
};

// The keys of typed characters that have a key of their own.
constexpr int kShift = 16;
constexpr int kOemMinus = 0xBD;
constexpr int kOemPeriod = 0xBE;
constexpr int kOemSlash = 0xBF;

struct NamedState {
    const char* name;
    int32_t state;
};

constexpr NamedState kStates[] = {
    {"MainMenu", 1},     {"Options", 2},   {"GetReady", 3},    {"Playing", 4},
    {"GameComplete", 5}, {"GameOver", 6},  {"QuitConfirm", 7}, {"Controls", 8},
    {"Difficulty", 9},   {"Graphics", 10}, {"Resolution", 11}, {"CustomLevel", 12},
    {"Paused", 13},
};

struct NamedField {
    const char* name;
    Field field;
    FieldKind kind;
};

constexpr NamedField kFields[] = {
    {"score", Field::Score, FieldKind::Number},
    {"lives", Field::Lives, FieldKind::Number},
    {"levelIndex", Field::LevelIndex, FieldKind::Number},
    {"levelCount", Field::LevelCount, FieldKind::Number},
    {"difficulty", Field::Difficulty, FieldKind::Number},
    {"width", Field::Width, FieldKind::Number},
    {"height", Field::Height, FieldKind::Number},
    {"bitDepth", Field::BitDepth, FieldKind::Number},
    {"customLevel", Field::CustomLevel, FieldKind::Flag},
    {"fileName", Field::FileName, FieldKind::Text},
    {"fileNameLength", Field::FileNameLength, FieldKind::Number},
    {"keyCodes", Field::KeyCode, FieldKind::Number},
    {"keyNames", Field::KeyName, FieldKind::Text},
    {"previousState", Field::PreviousState, FieldKind::State},
    {"entered", Field::Entered, FieldKind::Flag},
    {"cursorShown", Field::CursorShown, FieldKind::Flag},
    {"mouseX", Field::MouseX, FieldKind::Number},
    {"mouseY", Field::MouseY, FieldKind::Number},
    {"nextLifeScore", Field::NextLifeScore, FieldKind::Number},
    {"redefineIndex", Field::RedefineIndex, FieldKind::Number},
    {"timer", Field::Timer, FieldKind::Number},
    {"fallingColumn", Field::FallingColumn, FieldKind::Number},
    {"fallingRow", Field::FallingRow, FieldKind::Number},
    {"fallInterval", Field::FallInterval, FieldKind::Number},
    {"hurryLocked", Field::HurryLocked, FieldKind::Flag},
    {"playProblem", Field::PlayProblem, FieldKind::Text},
    {"cloudX", Field::CloudX, FieldKind::Number},
    {"borderSide", Field::BorderSide, FieldKind::Number},
    {"titleX", Field::TitleX, FieldKind::Number},
    {"titleY", Field::TitleY, FieldKind::Number},
    {"titleDX", Field::TitleDX, FieldKind::Number},
    {"titleDY", Field::TitleDY, FieldKind::Number},
};

// How many slots a field has: keyCodes[0] to [3], cloudX[0] to [2], ...; 0 for a plain field.
int SlotsOf(Field field) {
    switch (field) {
    case Field::KeyCode:
    case Field::KeyName:
    case Field::BorderSide:
        return 4;
    case Field::CloudX:
        return 3;
    default:
        return 0;
    }
}

// "keyNames[2]" and the like: the field and its slot, for the fields that have slots.
bool FieldFromName(std::string_view name, Field* field, int* slot) {
    std::string_view base = name;
    int index = -1;
    const size_t open = name.find('[');
    if (open != std::string_view::npos) {
        if (name.size() != open + 3 || name[open + 2] != ']' || name[open + 1] < '0' ||
            name[open + 1] > '9')
            return false;
        base = name.substr(0, open);
        index = name[open + 1] - '0';
    }
    for (const NamedField& named : kFields) {
        if (base != named.name)
            continue;
        const int slots = SlotsOf(named.field);
        if ((slots > 0) != (index >= 0) || index >= slots)
            return false;
        *field = named.field;
        *slot = index < 0 ? 0 : index;
        return true;
    }
    return false;
}

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
        if (word == "shot")
            return Shot();
        if (word == "expect")
            return Expect();
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

bool KeyFromName(std::string_view name, int* key) {
    if (name.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            *key = c;
            return true;
        }
        return false;
    }
    if (name.size() > 2 && name.substr(0, 2) == "vk") {
        int64_t code = 0;
        if (name[2] == '-' || !ParseNumber(name.substr(2), 1, 254, &code))
            return false;
        *key = static_cast<int>(code);
        return true;
    }
    for (const NamedKey& named : kKeys) {
        if (EqualsNoCase(name, named.name)) {
            *key = named.key;
            return true;
        }
    }
    return false;
}

bool StateFromName(std::string_view name, int32_t* state) {
    for (const NamedState& named : kStates) {
        if (EqualsNoCase(name, named.name)) {
            *state = named.state;
            return true;
        }
    }
    int64_t number = 0;
    if (!ParseNumber(name, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                     &number))
        return false;
    *state = static_cast<int32_t>(number);
    return true;
}

std::string DescribeState(int32_t state) {
    for (const NamedState& named : kStates) {
        if (named.state == state)
            return std::string(named.name) + " (" + std::to_string(state) + ")";
    }
    return std::to_string(state);
}

std::string FieldName(Field field, int slot) {
    for (const NamedField& named : kFields) {
        if (named.field != field)
            continue;
        std::string name = named.name;
        if (SlotsOf(field) > 0)
            name += "[" + std::to_string(slot) + "]";
        return name;
    }
    return "?";
}

FieldKind KindOf(Field field) {
    for (const NamedField& named : kFields) {
        if (named.field == field)
            return named.kind;
    }
    return FieldKind::Number;
}

} // namespace replay
