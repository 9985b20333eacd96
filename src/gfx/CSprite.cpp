#include "gfx/CSprite.h"

#include "gfx/CGraphics.h"

CSprite::~CSprite() {
    Release();
}

void CSprite::Release() {
    if (surface) {
        surface->Release();
        surface = nullptr;
    }
}

void CSprite::SetSize(int newWidth, int newHeight) {
    if (newWidth > 0)
        width = newWidth;
    if (newHeight > 0)
        height = newHeight;
}

void CSprite::SetPosition(int newX, int newY) {
    x = newX;
    y = newY;
}

bool CSprite::Load(CGraphics& graphics, const char* path) {
    Release();
    surface = graphics.LoadBitmapSurface(path, 0, 0);
    if (!surface)
        return false;
    CGraphics::SetColorKey(surface, 0);
    SetSize(CGraphics::SurfaceWidth(surface), CGraphics::SurfaceHeight(surface));
    return true;
}

void CSprite::SetColorKey(CGraphics&, COLORREF colour) {
    if (surface)
        CGraphics::SetColorKey(surface, colour);
}

bool CSprite::Draw(CGraphics& graphics) {
    return graphics.Blit(x, y, width, height, surface);
}

bool CSprite::DrawTiled(CGraphics& graphics, int columns, int rows) {
    return graphics.BlitTiled(x, y, width, height, surface, columns, rows);
}
