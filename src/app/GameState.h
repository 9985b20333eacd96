#pragma once

#include <cstdint>

// The screens of the game, numbered as the game log writes them.
using GameState = int32_t;

enum : GameState {
    MainMenu = 1,
    Options = 2,
    GetReady = 3,
    Playing = 4,
    GameComplete = 5,
    GameOver = 6,
    QuitConfirm = 7,
    Controls = 8,
    Difficulty = 9,
    Graphics = 10,
    Resolution = 11,
    CustomLevel = 12,
    Paused = 13,
};
