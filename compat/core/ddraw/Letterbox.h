// Inside the platform layer: where the display mode's pixels go in a window of another size.
#pragma once

#include <windows.h>

namespace compat {

// Where the mode's pixels go on an output of outputWidth x outputHeight: the largest
// rectangle of the mode's aspect that fits, centred, with black bars on two sides.
struct Letterbox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
Letterbox FitMode(int outputWidth, int outputHeight, int modeWidth, int modeHeight);
// The mode pixel under an output pixel's centre, clamped to the mode (the bars map to the
// nearest edge pixel).
POINT ModePixelAt(const Letterbox& box, int modeWidth, int modeHeight, int x, int y);

// The output pixels [first, last) whose centres sample mode pixels [from, to) of one side of
// the mode (`modeExtent` pixels shown over `extent` output pixels), counted from the
// letterbox's edge; the same rule as ModePixelAt.
void OutputSpanOf(int from, int to, int extent, int modeExtent, int* first, int* last);

} // namespace compat
