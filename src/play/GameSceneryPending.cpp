// The title screen's scenery until the play screens bring their own: the mascot in its place,
// and no clouds yet.
#include "app/CGame.h"
#include "gfx/CGraphics.h"

bool CGame::LoadMascot() {
    mascot.SetPosition(playfieldX, playfieldY);
    if (!mascot.Load(*g_graphics, "common/quibbo.bmp")) {
        Log("ERROR --- Could not load quibbo.bmp");
        return false;
    }
    Log("NOTICE --- Loaded quibbo.bmp");
    mascot.SetColorKey(*g_graphics, RGB(228, 103, 101));
    return true;
}

bool CGame::LoadClouds() {
    return true;
}

void CGame::DrawClouds() {}
