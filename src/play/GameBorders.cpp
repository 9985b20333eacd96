// The four border pieces around the playfield, read from "border.txt", and the mascot behind it.
#include "app/CGame.h"

#include "gfx/CGraphics.h"
#include "play/FileCloser.h"

#include <cstdio>
#include <cstring>

namespace {

// A border picture's name is one token of at most 255 characters.
constexpr size_t kLongestBorderName = 255;

} // namespace

// Every get-ready puts each piece back on its starting side: piece 0 on top, then clockwise.
// A piece whose name is missing or too long is left without a picture, like one whose picture
// cannot be loaded, and the pieces after it keep what they had. On failure `failedPicture` names
// the picture that would not load; it is empty when the list itself is at fault.
bool CGame::LoadBorders(char* failedPicture, size_t size) {
    failedPicture[0] = '\0';
    FileCloser list{fopen(kBorderList, "r")};
    if (!list.file) {
        Log("ERROR --- Could not open border list");
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        char name[kLongestBorderName + 2] = {};
        const bool named = fscanf(list.file, "%256s", name) == 1;
        if (!named || strlen(name) > kLongestBorderName) {
            borders[i].Release();
            if (named)
                Log("ERROR --- Border name too long: border[%d]", i);
            else
                Log("ERROR --- No name for border[%d] in %s", i, kBorderList);
            return false;
        }
        if (!borders[i].LoadPicture(*g_graphics, name)) {
            Log("ERROR --- Failed to load border[%d]: %s", i, name);
            snprintf(failedPicture, size, "%s", name);
            return false;
        }
        Log("NOTICE --- Loaded border[%d] bitmap: %s", i, name);
        borders[i].Place(i, playfieldX, playfieldY);
    }
    return true;
}

bool CGame::LoadMascot() {
    mascot.SetPosition(playfieldX, playfieldY);
    if (!mascot.Load(*g_graphics, kMascotPicture)) {
        Log("ERROR --- Could not load quibbo.bmp");
        return false;
    }
    Log("NOTICE --- Loaded quibbo.bmp");
    mascot.SetColorKey(*g_graphics, kPictureKey);
    return true;
}

void CGame::DrawBorders() {
    for (CBorder& border : borders)
        border.Draw(*g_graphics);
}

// The pieces turn with the field, so each stays with the edge of the grid it framed.
void CGame::TurnBorders(bool clockwise) {
    for (CBorder& border : borders) {
        if (clockwise)
            border.TurnClockwise(playfieldX, playfieldY);
        else
            border.TurnCounterClockwise(playfieldX, playfieldY);
    }
}
