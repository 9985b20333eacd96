// The page's keys as Windows virtual-key codes.
#include "web/WebKeys.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace compat {

namespace {

struct Named {
    const char* code;
    int virtualKey;
};

// The keys that are neither letters, digits nor numbered, by KeyboardEvent.code.
constexpr Named kKeys[] = {
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"Escape", VK_ESCAPE},
    {"Backspace", VK_BACK},
    {"Tab", VK_TAB},
    {"Space", VK_SPACE},
    {"Minus", VK_OEM_MINUS},
    {"Equal", VK_OEM_PLUS},
    {"BracketLeft", VK_OEM_4},
    {"BracketRight", VK_OEM_6},
    {"Backslash", VK_OEM_5},
    {"IntlHash", VK_OEM_5},
    {"Semicolon", VK_OEM_1},
    {"Quote", VK_OEM_7},
    {"Backquote", VK_OEM_3},
    {"Comma", VK_OEM_COMMA},
    {"Period", VK_OEM_PERIOD},
    {"Slash", VK_OEM_2},
    {"IntlBackslash", VK_OEM_102},
    {"CapsLock", VK_CAPITAL},
    {"PrintScreen", VK_SNAPSHOT},
    {"ScrollLock", VK_SCROLL},
    {"Pause", VK_PAUSE},
    {"Insert", VK_INSERT},
    {"Home", VK_HOME},
    {"PageUp", VK_PRIOR},
    {"Delete", VK_DELETE},
    {"End", VK_END},
    {"PageDown", VK_NEXT},
    {"ArrowRight", VK_RIGHT},
    {"ArrowLeft", VK_LEFT},
    {"ArrowDown", VK_DOWN},
    {"ArrowUp", VK_UP},
    {"NumLock", VK_NUMLOCK},
    {"NumpadDivide", VK_DIVIDE},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadAdd", VK_ADD},
    {"NumpadDecimal", VK_DECIMAL},
    {"NumpadComma", VK_SEPARATOR},
    {"ContextMenu", VK_APPS},
    {"MetaLeft", VK_LWIN},
    {"OSLeft", VK_LWIN},
    {"MetaRight", VK_RWIN},
    {"OSRight", VK_RWIN},
    {"Sleep", VK_SLEEP},
};

constexpr Named kSides[] = {
    {"ShiftLeft", VK_LSHIFT},      {"ShiftRight", VK_RSHIFT}, {"ControlLeft", VK_LCONTROL},
    {"ControlRight", VK_RCONTROL}, {"AltLeft", VK_LMENU},     {"AltRight", VK_RMENU},
};

// The number after `prefix` in `code` ("F12" → 12), or -1.
int NumberAfter(const char* code, const char* prefix) {
    const size_t length = std::strlen(prefix);
    if (std::strncmp(code, prefix, length) != 0 || code[length] < '0' || code[length] > '9')
        return -1;
    char* end = nullptr;
    const long number = std::strtol(code + length, &end, 10);
    return *end == '\0' && number <= 24 ? static_cast<int>(number) : -1;
}

int CodeOfPlace(const char* code) {
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0')
        return code[3];
    if (const int digit = NumberAfter(code, "Digit"); digit >= 0 && digit <= 9)
        return '0' + digit;
    if (const int digit = NumberAfter(code, "Numpad"); digit >= 0 && digit <= 9)
        return VK_NUMPAD0 + digit;
    if (const int f = NumberAfter(code, "F"); f >= 1 && f <= 24)
        return VK_F1 + (f - 1);
    for (const Named& named : kKeys)
        if (std::strcmp(code, named.code) == 0)
            return named.virtualKey;
    return 0;
}

} // namespace

VirtualKey VirtualKeyFromCode(const char* code, const char* key) {
    for (const Named& side : kSides)
        if (std::strcmp(code, side.code) == 0)
            return VirtualKey{SharedCode(side.virtualKey), side.virtualKey};
    // A key that types one letter of A to Z is that letter, shifted or not.
    if (key[0] != '\0' && key[1] == '\0') {
        if (key[0] >= 'a' && key[0] <= 'z')
            return VirtualKey{key[0] - 'a' + 'A', 0};
        if (key[0] >= 'A' && key[0] <= 'Z')
            return VirtualKey{key[0], 0};
    }
    return VirtualKey{CodeOfPlace(code), 0};
}

} // namespace compat
