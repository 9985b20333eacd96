// The title screen: the sky, the clouds, the mascot, the bouncing title and the main menu.
#include "app/CGame.h"
#include "app/ScreenColours.h"
#include "gfx/CGraphics.h"

#include <cstdlib>

namespace {

constexpr int kTitleFontHeight = 64;
// The title's two lines take this much room from their top-left corner.
constexpr int32_t kTitleWidth = 192;
constexpr int32_t kTitleHeight = 128;

} // namespace

void CGame::DrawTitleScreen() {
    // The title face is made once and kept for the whole run, whatever the mode.
    if (!title.font)
        title.font = g_graphics->MakeFont("mistral", kTitleFontHeight, 400);
    if (!entered) {
        title.x = 0;
        title.y = 0;
        const int r1 = rand();
        const int r2 = rand();
        title.dx = 2 + r1 % 4;
        title.dy = 2 + r2 % 4;
        LoadMenus();
        LoadMascot();
        LoadClouds();
        entered = true;
    }
    g_graphics->Fill(screen::kBackground);
    DrawClouds();
    mascot.Draw(*g_graphics);
    MoveTitle();
    g_graphics->PrintText(title.font, screen::kWhite, title.x, title.y, "Quibbo's");
    g_graphics->PrintText(title.font, screen::kWhite, title.x, title.y + kTitleFontHeight,
                          " Puzzle");
    for (int i = 0; i <= 3; ++i)
        DrawMenuItem(menuItems[i]);
}

// A step of the title. It is drawn where the step took it, even past an edge; a speed turned
// round at an edge takes effect from the next frame.
void CGame::MoveTitle() {
    title.x += title.dx;
    title.y += title.dy;
    if (title.x >= width - kTitleWidth || title.x <= 0)
        title.dx = -title.dx;
    if (title.y >= height - kTitleHeight || title.y <= 0)
        title.dy = -title.dy;
}
