// Virtual-key codes and what their keys type, whatever backend reads the keyboard.
#include "window/KeyCodes.h"

#include <windows.h>

namespace compat {

int SharedCode(int virtualKey) {
    // The side codes run VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU.
    if (virtualKey < VK_LSHIFT || virtualKey > VK_RMENU)
        return 0;
    static const int shared[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    return shared[(virtualKey - VK_LSHIFT) / 2];
}

int CharacterOfKey(int virtualKey, bool shift) {
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return shift ? virtualKey : virtualKey - 'A' + 'a';
    if (virtualKey >= '0' && virtualKey <= '9')
        return shift ? ")!@#$%^&*("[virtualKey - '0'] : virtualKey;
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9)
        return '0' + (virtualKey - VK_NUMPAD0);
    struct Typed {
        int key;
        char plain;
        char shifted;
    };
    static const Typed typed[] = {
        {VK_SPACE, ' ', ' '},     {VK_RETURN, '\r', '\r'},  {VK_BACK, '\b', '\b'},
        {VK_TAB, '\t', '\t'},     {VK_ESCAPE, 0x1B, 0x1B},  {VK_MULTIPLY, '*', '*'},
        {VK_ADD, '+', '+'},       {VK_SUBTRACT, '-', '-'},  {VK_DECIMAL, '.', '.'},
        {VK_DIVIDE, '/', '/'},    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},
        {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'},
        {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
        {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
        {VK_OEM_102, '\\', '|'},
    };
    for (const Typed& entry : typed)
        if (entry.key == virtualKey)
            return shift ? entry.shifted : entry.plain;
    return 0;
}

} // namespace compat
