// The words, numbers and hex bytes of script lines, and the names a script gives keys, states
// and the game's fields.
#include "ScriptWords.h"

#include <iterator>

#include <cctype>
#include <limits>

namespace replay {

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

namespace {

struct NamedKey {
    const char* name;
    int key;
};

constexpr NamedKey kKeys[] = {
    {"LEFT", 37}, {"RIGHT", 39}, {"UP", 38},    {"DOWN", 40}, {"ESCAPE", 27}, {"RETURN", 13},
    {"BACK", 8},  {"PAUSE", 19}, {"SPACE", 32}, {"TAB", 9},   {"SHIFT", 16},
};

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

} // namespace

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

namespace {

bool IndexOfName(std::string_view name, const char* const* names, int count, int* index) {
    for (int i = 0; i < count; ++i)
        if (EqualsNoCase(name, names[i])) {
            *index = i;
            return true;
        }
    return false;
}

} // namespace

bool PadButtonFromName(std::string_view name, int* button) {
    static const char* const kButtons[] = {"a",
                                           "b",
                                           "x",
                                           "y",
                                           "back",
                                           "guide",
                                           "start",
                                           "leftstick",
                                           "rightstick",
                                           "leftshoulder",
                                           "rightshoulder",
                                           "dpup",
                                           "dpdown",
                                           "dpleft",
                                           "dpright"};
    return IndexOfName(name, kButtons, static_cast<int>(std::size(kButtons)), button);
}

bool PadAxisFromName(std::string_view name, int* axis) {
    static const char* const kAxes[] = {"leftx",  "lefty",       "rightx",
                                        "righty", "lefttrigger", "righttrigger"};
    return IndexOfName(name, kAxes, static_cast<int>(std::size(kAxes)), axis);
}

} // namespace replay
