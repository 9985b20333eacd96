#pragma once

#include <windows.h>
#include <ddraw.h>

class CGraphics;

// The colour drawn transparent in the game's pictures: menus, scenery, borders and blocks.
constexpr COLORREF kPictureKey = RGB(228, 103, 101);

// A picture from a bitmap file, drawn with its colour key into a rectangle of the screen.
// The rectangle is (x, y) to (x + width, y + height); the whole picture is scaled into it.
class CSprite {
public:
    CSprite() = default;
    ~CSprite();
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    // Gives up the picture, if any.
    void Release();
    // A value above 0 replaces the width or height; 0 or below leaves it.
    void SetSize(int newWidth, int newHeight);
    int Width() const { return width; }
    int Height() const { return height; }
    void SetPosition(int newX, int newY);
    // Replaces the picture with the file's; the drawn size becomes the picture's and black is
    // transparent until another key is set. On failure the sprite is left empty.
    bool Load(CGraphics& graphics, const char* path);
    void SetColorKey(CGraphics& graphics, COLORREF colour);
    bool Draw(CGraphics& graphics);
    // The picture scaled into each cell of a columns by rows grid over the rectangle.
    bool DrawTiled(CGraphics& graphics, int columns, int rows);

private:
    IDirectDrawSurface7* surface = nullptr;
    int width = 64;
    int height = 64;
    int x = 0;
    int y = 0;
};
