#pragma once

#include "gfx/CSprite.h"

#include <cstdint>

class CGraphics;

// One of the four pieces framing the playfield: a strip of 16-pixel tiles of its own picture
// on one side of the field, moving on to the next side whenever the field turns.
class CBorder {
public:
    // The sides, clockwise from the top.
    enum Side : int32_t { Top = 0, Right = 1, Bottom = 2, Left = 3 };

    CBorder() = default;
    CBorder(const CBorder&) = delete;
    CBorder& operator=(const CBorder&) = delete;

    bool LoadPicture(CGraphics& graphics, const char* fileName);
    void Release() { picture.Release(); }
    // 1: a strip across (416 by 16); 0: a strip down (16 by 416).
    void SetShape(int horizontal);
    // Puts the piece on a side of a playfield whose top-left corner is (x, y).
    void Place(int32_t newSide, int32_t x, int32_t y);
    void TurnClockwise(int32_t x, int32_t y);
    void TurnCounterClockwise(int32_t x, int32_t y);
    bool Draw(CGraphics& graphics);

    int32_t Side() const { return side; }

private:
    int32_t width = 0;
    int32_t height = 0;
    int32_t side = Top;
    CSprite picture;
};
