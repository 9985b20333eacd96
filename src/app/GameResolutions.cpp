// The resolution list: the display modes on offer, and switching to the one clicked.
#include "app/CGame.h"
#include "app/ScreenColours.h"
#include "gfx/CGraphics.h"
#include "play/CLevel.h"

namespace {

// A mode's text starts this far left of the middle (at 1024 pixels wide or less); a click counts
// this far either side of it.
int32_t ModeColumn(int32_t screenWidth) {
    return screen::Scaled(90, screenWidth);
}

} // namespace

void CGame::DrawResolutions() {
    entered = true;
    g_graphics->Fill(screen::kBackground);
    g_graphics->PrintText(font, screen::kWhite, width / 2 - 150, 0, "Video Resolution");
    const screen::TextRows rows = screen::RowsFor(width);
    int32_t y = rows.first;
    for (const DisplayMode* mode = modes.First(); mode; mode = modes.Next(mode)) {
        const bool inUse = mode->Width() == width && mode->Height() == height;
        const COLORREF colour = rows.Colour(inUse, y, mouseY);
        // Rows below the screen are drawn all the same, and cut off.
        g_graphics->PrintText(font, colour, width / 2 - ModeColumn(width), y, "%dx%d",
                              mode->Width(), mode->Height());
        y += rows.height;
    }
    DrawOkButton();
}

// The list stays up after a pick and shows itself in the new mode from the next frame.
void CGame::PickMode(int32_t x, int32_t y) {
    const DisplayMode* mode = modes.At(screen::RowsFor(width).At(y));
    const int32_t column = ModeColumn(width);
    if (!mode || x < width / 2 - column || x > width / 2 + column)
        return;

    const int32_t oldWidth = width;
    const int32_t oldHeight = height;
    const HFONT oldFont = font;
    width = mode->Width();
    height = mode->Height();
    PlacePlayfield();
    font = MakeInterfaceFont();
    if (!g_graphics->ChangeMode(width, height, bitDepth)) {
        Log("ERROR --- Could not change display mode to %dx%dx%d, going back to %dx%dx%d", width,
            height, bitDepth, oldWidth, oldHeight, bitDepth);
        if (!RestoreDisplay(oldWidth, oldHeight, oldFont))
            return;
    } else {
        // The new mode is up: the font of the old one is done with.
        DeleteObject(oldFont);
    }
    LoadMenus();
}

// A failed mode change leaves no display at all. It is brought up again in the mode it had, as
// at start-up; when even that fails there is nothing left to play on, and the program ends as
// a failed start does.
bool CGame::RestoreDisplay(int32_t oldWidth, int32_t oldHeight, HFONT oldFont) {
    ReleasePictures();
    DeleteObject(font);
    font = oldFont;
    width = oldWidth;
    height = oldHeight;
    if (!InitDisplay()) {
        PostQuitMessage(1);
        return false;
    }
    // At start-up the display falls back to the standard mode when it must.
    if (width != oldWidth) {
        DeleteObject(font);
        font = MakeInterfaceFont();
    }
    PlacePlayfield();
    return true;
}

// Every picture the game holds. A picture keeps the display's device alive, and a device left
// behind keeps the screen from being taken again. Each screen loads its pictures again when it
// next needs them; the playfield starts afresh, log and all.
void CGame::ReleasePictures() {
    for (CMenuItem& item : menuItems) {
        item.sprites[0].Release();
        item.sprites[1].Release();
    }
    mascot.Release();
    for (CSprite& cloud : cloudSprites)
        cloud.Release();
    for (CBorder& border : borders)
        border.Release();
    livesIcon.Release();
    if (picture)
        picture->Release();
    if (level) {
        level->Release();
        level->Init();
    }
}
