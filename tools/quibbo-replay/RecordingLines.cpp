#include "RecordingLines.h"

#include "ScriptWords.h"

#include <windows.h>

#include <cstdlib>
#include <limits>

namespace replay {

namespace {

// A whole number in hex (`hex`) or decimal, all of the text, no more than `high`.
bool Whole(std::string_view text, bool hex, uint64_t high, uint64_t* value) {
    if (text.empty() || text.size() > 16)
        return false;
    uint64_t result = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        result = result * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    }
    if (result > high)
        return false;
    *value = result;
    return true;
}

// Numbers separated by commas: `count` of them, or one fewer when the last is optional (0).
bool Numbers(std::string_view text, const bool* hex, size_t count, bool lastOptional,
             uint64_t* values) {
    size_t i = 0;
    for (;;) {
        const size_t comma = text.find(',');
        if (i == count || !Whole(text.substr(0, comma), hex[i],
                                 std::numeric_limits<uint64_t>::max() >> 4, &values[i]))
            return false;
        ++i;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (i == count - 1 && lastOptional)
        values[i++] = 0;
    return i == count;
}

bool KeyMessage(char kind, UINT* message) {
    switch (kind) {
    case 'd':
        *message = WM_KEYDOWN;
        return true;
    case 'u':
        *message = WM_KEYUP;
        return true;
    case 'D':
        *message = WM_SYSKEYDOWN;
        return true;
    case 'U':
        *message = WM_SYSKEYUP;
        return true;
    case 'c':
        *message = WM_CHAR;
        return true;
    case 'C':
        *message = WM_SYSCHAR;
        return true;
    default:
        return false;
    }
}

bool MouseMessage(char kind, UINT* message) {
    switch (kind) {
    case 'm':
        *message = WM_MOUSEMOVE;
        return true;
    case 'b':
        *message = WM_LBUTTONDOWN;
        return true;
    case 'B':
        *message = WM_LBUTTONUP;
        return true;
    case '2':
        *message = WM_LBUTTONDBLCLK;
        return true;
    default:
        return false;
    }
}

// One item of a pass line; false when it is none.
bool Item(std::string_view item, RecordedPass* pass) {
    const char kind = item.front();
    const std::string_view rest = item.substr(1);
    uint64_t values[3] = {};
    if (kind == 't') {
        if (!Whole(rest, false, std::numeric_limits<uint32_t>::max(), &values[0]))
            return false;
        pass->step = static_cast<int64_t>(values[0]);
        return true;
    }
    if (kind == 'a') {
        const size_t equals = rest.find('=');
        if (equals == std::string_view::npos ||
            !Whole(rest.substr(0, equals), true, 255, &values[0]) ||
            !Whole(rest.substr(equals + 1), true, 0xFFFF, &values[1]))
            return false;
        pass->answers.push_back(
            KeyPoll{static_cast<int>(values[0]), static_cast<uint16_t>(values[1])});
        return true;
    }
    if (pass->hasMessage)
        return false; // a pass takes one message at most
    UINT message = 0;
    if (KeyMessage(kind, &message)) {
        static const bool hex[] = {true, true};
        if (!Numbers(rest, hex, 2, false, values))
            return false;
        pass->lParam = static_cast<int64_t>(values[1]);
        pass->wParam = values[0];
    } else if (MouseMessage(kind, &message)) {
        static const bool hex[] = {false, false, true};
        if (!Numbers(rest, hex, 3, true, values) || values[0] > 0xFFFF || values[1] > 0xFFFF)
            return false;
        pass->lParam = static_cast<int64_t>(MAKELONG(values[0], values[1]));
        pass->wParam = values[2];
    } else if (kind == 'x' && rest.empty()) {
        message = WM_CLOSE;
    } else if (kind == 'q') {
        if (!Whole(rest, false, std::numeric_limits<uint32_t>::max(), &values[0]))
            return false;
        message = WM_QUIT;
        pass->wParam = values[0];
    } else if (kind == 'w') {
        static const bool hex[] = {true, true, true};
        if (!Numbers(rest, hex, 3, false, values) || values[0] > 0xFFFFFFFFu)
            return false;
        message = static_cast<UINT>(values[0]);
        pass->wParam = values[1];
        pass->lParam = static_cast<int64_t>(values[2]);
    } else {
        return false;
    }
    pass->hasMessage = true;
    pass->message = message;
    return true;
}

} // namespace

bool ParsePass(std::string_view rest, RecordedPass* pass, std::string* error) {
    while (!rest.empty()) {
        const std::string_view item = NextWord(rest);
        if (!Item(item, pass)) {
            *error = "no pass item '" + std::string(item) + "'";
            return false;
        }
    }
    return true;
}

bool ParseCheck(std::string_view rest, Command* command, std::string* error) {
    const auto fail = [error](std::string_view word) {
        *error = "expected a checkpoint: pass, frames, state, log lines:hash, frame hash; got '" +
                 std::string(word) + "'";
        return false;
    };
    uint64_t values[3] = {};
    for (uint64_t& value : values) {
        const std::string_view word = NextWord(rest);
        if (!Whole(word, false, 1ull << 40, &value))
            return fail(word);
    }
    const std::string_view log = NextWord(rest);
    const size_t colon = log.find(':');
    uint64_t lines = 0, logHash = 0;
    if (colon == std::string_view::npos ||
        !Whole(log.substr(0, colon), false, std::numeric_limits<uint32_t>::max(), &lines) ||
        !Whole(log.substr(colon + 1), true, std::numeric_limits<uint32_t>::max(), &logHash))
        return fail(log);
    const std::string_view frame = NextWord(rest);
    command->frameHashed = frame != "-"; // the frame was drawn while nobody could see it
    if (command->frameHashed &&
        !Whole(frame, true, std::numeric_limits<uint64_t>::max(), &command->hash))
        return fail(frame);
    command->number = static_cast<int64_t>(values[0]);
    command->second = static_cast<int64_t>(values[1]);
    command->third = static_cast<int64_t>(values[2]);
    command->logLines = static_cast<uint32_t>(lines);
    command->logHash = static_cast<uint32_t>(logHash);
    command->text = std::string(rest);
    return true;
}

} // namespace replay
