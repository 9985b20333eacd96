// Screens still to come. Each shows its background until its own handler lands; the mouse is
// remembered, and nothing else reacts yet.
#include "app/CGame.h"

void CGame::DrawTitleScreen() {
    DrawBackground();
}

void CGame::DrawOptionPage() {
    DrawBackground();
}

void CGame::OnMouseMove(int32_t x, int32_t y) {
    mouseX = x;
    mouseY = y;
}

void CGame::OnLeftClick(int32_t, int32_t) {}

void CGame::DrawControls() {
    DrawBackground();
}

void CGame::DrawResolutions() {
    DrawBackground();
}

void CGame::DrawCustomLevel() {
    DrawBackground();
}

void CGame::OnCustomLevelKey(int32_t) {}
