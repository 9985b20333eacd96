// Inside the script reader: the words and numbers of a line, and the fields' names.
#pragma once

#include "ReplayScript.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace replay {

bool IsBlank(char c);
std::string_view Trim(std::string_view s);
// Takes the next blank-separated word off the front of `rest`; the rest loses its leading blanks.
std::string_view NextWord(std::string_view& rest);
bool EqualsNoCase(std::string_view a, std::string_view b);
// A decimal number from `low` to `high`, all of the text.
bool ParseNumber(std::string_view text, int64_t low, int64_t high, int64_t* value);
// Hex digits in pairs, blanks between them allowed.
bool ParseHex(std::string_view text, std::vector<uint8_t>* bytes);

// A controller's button (A, B, X, Y, BACK, GUIDE, START, LEFTSTICK, RIGHTSTICK, LEFTSHOULDER,
// RIGHTSHOULDER, DPUP, DPDOWN, DPLEFT, DPRIGHT) or axis (LEFTX, LEFTY, RIGHTX, RIGHTY,
// LEFTTRIGGER, RIGHTTRIGGER), numbered as SDL numbers them; false for any other word.
bool PadButtonFromName(std::string_view name, int* button);
bool PadAxisFromName(std::string_view name, int* axis);

// How many slots a field has: keyCodes[0] to [3], cloudX[0] to [2], ...; 0 for a plain field.
int SlotsOf(Field field);
// "keyNames[2]" and the like: the field and its slot, for the fields that have slots.
bool FieldFromName(std::string_view name, Field* field, int* slot);

} // namespace replay
