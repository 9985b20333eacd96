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

// Up to this width the text screens keep their fixed rows; wider screens, whose interface font
// grows with the width, have their rows spaced out in proportion, so that they never touch.
constexpr int32_t kFixedRowsWidth = 1024;

// A length of the text screens' layout at the given screen width.
constexpr int32_t Scaled(int32_t length, int32_t screenWidth) {
    return screenWidth <= kFixedRowsWidth ? length : length * screenWidth / kFixedRowsWidth;
}

// Text rows of the controls and resolution screens: row i from y = first + height * i; 40 and
// 36 up to 1024 pixels wide.
struct TextRows {
    int32_t first;
    int32_t height;

    constexpr int32_t Top(int32_t row) const { return first + height * row; }
    // The row at y, counted toward zero: the lines just above the first row fall to row 0.
    constexpr int32_t At(int32_t y) const { return (y - first) / height; }
    // The colour of the row from rowY down: the chosen colour wins over the pointer's.
    constexpr COLORREF Colour(bool chosen, int32_t rowY, int32_t pointerY) const {
        if (chosen)
            return kChosenRow;
        if (pointerY >= rowY && pointerY < rowY + height)
            return kPointedRow;
        return kWhite;
    }
};

constexpr TextRows RowsFor(int32_t screenWidth) {
    return {Scaled(40, screenWidth), Scaled(36, screenWidth)};
}

} // namespace screen
