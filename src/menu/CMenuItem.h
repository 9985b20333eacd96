#pragma once

#include "gfx/CSprite.h"

#include <cstdint>

// One entry of a menu page: a picture in a normal and a highlighted version at a place on the
// screen, and what a click on it does.
class CMenuItem {
public:
    CMenuItem() = default;
    CMenuItem(const CMenuItem&) = delete;
    CMenuItem& operator=(const CMenuItem&) = delete;

    // True when the point lies on the item: both edges inclusive, so the hit rectangle is one
    // pixel wider and taller than the picture.
    bool Holds(int32_t pointX, int32_t pointY) const {
        return x <= pointX && pointX <= x + width && y <= pointY && pointY <= y + height;
    }

    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    char normalFile[30] = {};
    char highlightedFile[30] = {};
    // 0 the normal picture, 1 the highlighted one.
    CSprite sprites[2];
    // Which sprite is drawn; set by mouse moves.
    uint8_t highlighted = 0;
    // The state a click enters, or on the difficulty page the difficulty percentage.
    int32_t value = 0;
};
