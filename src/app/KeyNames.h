#pragma once

#include <cstddef>
#include <cstdint>

// The name the controls screen shows for a key code: letters and digits as themselves, the
// arrows as "Left Arrow" and so on, every other key from the name table; a key the table does not
// know is "Key " and its code, so that every bound key reads as something.
void NameKeyCode(int32_t key, char* name, size_t size);
