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
// A module for a program at `executablePath` (tests). Forgotten, with its icon, when the seams
// reset.
HINSTANCE StandInModule(const std::string& executablePath);

// The icon behind a handle, null for anything that is not a live icon or cursor.
const Icon* IconFromHandle(HICON icon);
// The standard arrow cursor.
HCURSOR ArrowCursor();

} // namespace compat
