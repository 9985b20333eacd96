#pragma once

#include <windows.h>

#include <cstdint>

// The colours of the menus and text screens.
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

} // namespace screen
