#include "app/KeyNames.h"

#include <windows.h>

#include <cstdio>

namespace {

struct KeyName {
    int32_t key;
    const char* name;
};

// Names that fit the controls screen's column.
constexpr KeyName kKeyNames[] = {
    {VK_LEFT, "Left Arrow"},
    {VK_RIGHT, "Right Arrow"},
    {VK_UP, "Up Arrow"},
    {VK_DOWN, "Down Arrow"},
    {VK_BACK, "Backspace"},
    {VK_TAB, "Tab"},
    {VK_CLEAR, "Clear"},
    {VK_RETURN, "Enter"},
    {VK_SHIFT, "Shift"},
    {VK_CONTROL, "Ctrl"},
    {VK_MENU, "Alt"},
    {VK_PAUSE, "Pause"},
    {VK_CAPITAL, "Caps Lock"},
    {VK_ESCAPE, "Escape"},
    {VK_SPACE, "Space"},
    {VK_PRIOR, "Page Up"},
    {VK_NEXT, "Page Down"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_SELECT, "Select"},
    {VK_PRINT, "Print"},
    {VK_EXECUTE, "Execute"},
    {VK_SNAPSHOT, "Print Screen"},
    {VK_INSERT, "Insert"},
    {VK_DELETE, "Delete"},
    {VK_HELP, "Help"},
    {VK_LWIN, "Left Windows"},
    {VK_RWIN, "Right Windows"},
    {VK_APPS, "Menu"},
    {VK_SLEEP, "Sleep"},
    {VK_NUMPAD0, "Keypad 0"},
    {VK_NUMPAD1, "Keypad 1"},
    {VK_NUMPAD2, "Keypad 2"},
    {VK_NUMPAD3, "Keypad 3"},
    {VK_NUMPAD4, "Keypad 4"},
    {VK_NUMPAD5, "Keypad 5"},
    {VK_NUMPAD6, "Keypad 6"},
    {VK_NUMPAD7, "Keypad 7"},
    {VK_NUMPAD8, "Keypad 8"},
    {VK_NUMPAD9, "Keypad 9"},
    {VK_MULTIPLY, "Keypad *"},
    {VK_ADD, "Keypad +"},
    {VK_SEPARATOR, "Keypad ,"},
    {VK_SUBTRACT, "Keypad -"},
    {VK_DECIMAL, "Keypad ."},
    {VK_DIVIDE, "Keypad /"},
    {VK_NUMLOCK, "Num Lock"},
    {VK_SCROLL, "Scroll Lock"},
    {VK_LSHIFT, "Left Shift"},
    {VK_RSHIFT, "Right Shift"},
    {VK_LCONTROL, "Left Ctrl"},
    {VK_RCONTROL, "Right Ctrl"},
    {VK_LMENU, "Left Alt"},
    {VK_RMENU, "Right Alt"},
    // The punctuation keys by what they type on a US keyboard.
    {VK_OEM_1, ";"},
    {VK_OEM_PLUS, "="},
    {VK_OEM_COMMA, ","},
    {VK_OEM_MINUS, "-"},
    {VK_OEM_PERIOD, "."},
    {VK_OEM_2, "/"},
    {VK_OEM_3, "`"},
    {VK_OEM_4, "["},
    {VK_OEM_5, "\\"},
    {VK_OEM_6, "]"},
    {VK_OEM_7, "'"},
    // A game controller's buttons and stick directions, each a key of its own (the sticks'
    // directions shortened to fit a name's 19 characters).
    {VK_GAMEPAD_A, "Pad A"},
    {VK_GAMEPAD_B, "Pad B"},
    {VK_GAMEPAD_X, "Pad X"},
    {VK_GAMEPAD_Y, "Pad Y"},
    {VK_GAMEPAD_RIGHT_SHOULDER, "Pad Right Shoulder"},
    {VK_GAMEPAD_LEFT_SHOULDER, "Pad Left Shoulder"},
    {VK_GAMEPAD_LEFT_TRIGGER, "Pad Left Trigger"},
    {VK_GAMEPAD_RIGHT_TRIGGER, "Pad Right Trigger"},
    {VK_GAMEPAD_DPAD_UP, "Pad Up"},
    {VK_GAMEPAD_DPAD_DOWN, "Pad Down"},
    {VK_GAMEPAD_DPAD_LEFT, "Pad Left"},
    {VK_GAMEPAD_DPAD_RIGHT, "Pad Right"},
    {VK_GAMEPAD_MENU, "Pad Menu"},
    {VK_GAMEPAD_VIEW, "Pad View"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON, "Pad Left Stick"},
    {VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON, "Pad Right Stick"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_UP, "Pad L Stick Up"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_DOWN, "Pad L Stick Down"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, "Pad L Stick Right"},
    {VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, "Pad L Stick Left"},
    {VK_GAMEPAD_RIGHT_THUMBSTICK_UP, "Pad R Stick Up"},
    {VK_GAMEPAD_RIGHT_THUMBSTICK_DOWN, "Pad R Stick Down"},
    {VK_GAMEPAD_RIGHT_THUMBSTICK_RIGHT, "Pad R Stick Right"},
    {VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT, "Pad R Stick Left"},
};

} // namespace

void NameKeyCode(int32_t key, char* name, size_t size) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        snprintf(name, size, "%c", static_cast<char>(key));
        return;
    }
    if (key >= VK_F1 && key <= VK_F24) {
        snprintf(name, size, "F%d", static_cast<int>(key - VK_F1 + 1));
        return;
    }
    for (const KeyName& entry : kKeyNames) {
        if (entry.key == key) {
            snprintf(name, size, "%s", entry.name);
            return;
        }
    }
    snprintf(name, size, "Key %d", static_cast<int>(key));
}
