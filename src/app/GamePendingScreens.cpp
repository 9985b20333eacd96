// Screens still to come. Each shows its background until its own handler lands.
#include "app/CGame.h"

void CGame::DrawGetReady() {
    DrawBackground();
}

void CGame::DrawPlaying() {
    DrawBackground();
}

void CGame::DrawGameComplete() {
    DrawBackground();
}

void CGame::DrawGameOver() {
    DrawBackground();
}
