#pragma once

#include <windows.h>

#include <cstdint>

// The colours of the menus and text screens, and the text rows of the controls and resolution
// screens.
namespace screen {

// The sky behind every menu and text screen.
constexpr COLORREF kBackground = RGB(63, 189, 240);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// The key row being redefined, and the display mode in use.
constexpr COLORREF kChosenRow = RGB(240, 189, 63);
// The row under the pointer.
constexpr COLORREF kPointedRow = RGB(0, 255, 0);

// Text rows of the controls and resolution screens: row i from y = kFirstRow + kRowHeight * i.
constexpr int32_t kFirstRow = 40;
constexpr int32_t kRowHeight = 36;

// The row at y, counted toward zero: the lines just above the first row fall to row 0.
constexpr int32_t RowAt(int32_t y) {
    return (y - kFirstRow) / kRowHeight;
}

// The colour of the row from rowY down: the chosen colour wins over the pointer's.
constexpr COLORREF RowColour(bool chosen, int32_t rowY, int32_t pointerY) {
    if (chosen)
        return kChosenRow;
    if (pointerY >= rowY && pointerY < rowY + kRowHeight)
        return kPointedRow;
    return kWhite;
}

} // namespace screen
