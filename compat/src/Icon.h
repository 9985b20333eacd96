// Inside the platform layer: module handles, icons and cursors.
//
// An HINSTANCE is a pointer to a Module: the program (or, for tests, a stand-in program path).
// Its icon resource is the ICO file beside the program, named like it with ".ico" added. An
// HICON (and HCURSOR) is a pointer to an Icon; the system icons and the arrow have no pixels.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace compat {

struct Icon {
    int width = 0;
    int height = 0;
    // Rows from the top, 0xAARRGGBB; empty for the system's own icons and cursors.
    std::vector<uint32_t> argb;
};

// The program's module: the running executable (from /proc/self/exe).
HINSTANCE ProgramModule();
// A module for a program at `executablePath` (tests). Forgotten, with its icon, by
// ForgetStandInModules.
HINSTANCE StandInModule(const std::string& executablePath);
void ForgetStandInModules();

// The icon behind a handle, null for anything that is not a live icon or cursor.
const Icon* IconFromHandle(HICON icon);
// The standard arrow cursor.
HCURSOR ArrowCursor();

// Reads the picture of an ICO file: the 32x32 one if there is one, else the first, each of 24
// or 32 bits per pixel with its transparency mask. False for anything else, and for any file
// whose sizes or offsets do not fit.
bool DecodeIco(const uint8_t* data, size_t size, Icon* icon);

} // namespace compat
