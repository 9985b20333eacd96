// The controls screen: the four actions with their keys, and picking a row to bind anew. The
// key itself is taken by OnKeyDown (app/GameSettings.cpp).
#include "app/CGame.h"
#include "app/ScreenColours.h"
#include "gfx/CGraphics.h"

void CGame::DrawControls() {
    entered = true;
    g_graphics->Fill(screen::kBackground);
    const int32_t actionX = width / 2 - width / 3;
    const int32_t keyX = width / 2 + width / 6;
    const screen::TextRows rows = screen::RowsFor(width);
    for (int i = 0; i < kKeySlots; ++i) {
        const int32_t y = rows.Top(i);
        const COLORREF colour = rows.Colour(i == redefineIndex, y, mouseY);
        g_graphics->PrintText(font, colour, actionX, y, "%s", actionNames[i]);
        g_graphics->PrintText(font, colour, keyX, y, "- %s", keyNames[i]);
    }
    DrawOkButton();
}

// Any x will do. The row is counted toward zero, so the lines just above the first row pick
// it too.
void CGame::PickKeyRow(int32_t y) {
    const int32_t row = screen::RowsFor(width).At(y);
    if (row < 0 || row >= kKeySlots)
        return;
    redefineIndex = row;
    redefineKey = &keyCodes[row];
}
