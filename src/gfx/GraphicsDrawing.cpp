// The drawing operations of the display object: surfaces from bitmap files, colour keys, blits,
// fills and text, all onto the back buffer. With no display up (a failed start-up or mode
// change released it) they draw nothing and return false.
#include "gfx/CGraphics.h"

#include "log/CLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD kKeyedBlit = DDBLT_KEYSRC | DDBLT_WAIT;

// The surface's description as the platform gives it; all zero for no surface.
DDSURFACEDESC2 Describe(IDirectDrawSurface7* surface) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    if (surface)
        surface->GetSurfaceDesc(&description);
    return description;
}

} // namespace

// A blit of no width or no height is refused, width first (negative sizes are not tested).
bool CGraphics::SizeIsDrawable(int blitWidth, int blitHeight) {
    if (blitWidth == 0) {
        Log("ERROR --- Width = 0");
        return false;
    }
    if (blitHeight == 0) {
        Log("ERROR --- Height = 0");
        return false;
    }
    return true;
}

IDirectDrawSurface7* CGraphics::CreateSurface(DDSURFACEDESC2* description) {
    if (!directDraw)
        return nullptr;
    IDirectDrawSurface7* surface = nullptr;
    lastResult = directDraw->CreateSurface(description, &surface, nullptr);
    if (SUCCEEDED(lastResult) && surface)
        return surface;
    Log("ERROR --- Could not create surface: %s", ErrorText(lastResult));
    return nullptr;
}

HFONT CGraphics::MakeFont(const char* face, int fontHeight, int weight) {
    // A negative height asks for the character height in pixels rather than the cell height.
    return CreateFontA(-fontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

bool CGraphics::Blit(int x, int y, int blitWidth, int blitHeight, IDirectDrawSurface7* surface) {
    if (!surface) {
        Log("ERROR --- Invalid surface passed to blitter");
        return false;
    }
    if (!SizeIsDrawable(blitWidth, blitHeight))
        return false;
    if (!backBuffer)
        return false;
    RECT destination{x, y, x + blitWidth, y + blitHeight};
    lastResult = backBuffer->Blt(&destination, surface, nullptr, kKeyedBlit, nullptr);
    if (SUCCEEDED(lastResult))
        return true;
    if (lastResult == DDERR_SURFACELOST) {
        // The picture's own memory comes back; what it holds is whatever the platform left.
        surface->Restore();
        return false;
    }
    Log("ERROR --- IDirectDrawSurface7::Blt failed: %s", ErrorText(lastResult));
    return false;
}

bool CGraphics::BlitTiled(int x, int y, int blitWidth, int blitHeight, IDirectDrawSurface7* surface,
                          int columns, int rows) {
    if (!SizeIsDrawable(blitWidth, blitHeight))
        return false;
    if (columns < 1 || rows < 1)
        return true;
    // A piece without a picture has nothing to tile.
    if (!surface) {
        Log("ERROR --- Invalid surface passed to blitter");
        return false;
    }
    if (!backBuffer)
        return false;
    const int cellWidth = blitWidth / columns;
    const int cellHeight = blitHeight / rows;
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            const int left = x + column * cellWidth;
            const int top = y + row * cellHeight;
            RECT cell{left, top, left + cellWidth, top + cellHeight};
            lastResult = backBuffer->Blt(&cell, surface, nullptr, kKeyedBlit, nullptr);
            if (FAILED(lastResult)) {
                Log("ERROR --- IDirectDrawSurface7::Blt failed: %s", ErrorText(lastResult));
                return false;
            }
        }
    }
    return true;
}

bool CGraphics::Fill(COLORREF colour) {
    if (!backBuffer)
        return false;
    DDBLTFX fill{};
    fill.dwSize = sizeof(fill);
    fill.dwFillColor = MatchColor(backBuffer, colour);
    lastResult = backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
    if (SUCCEEDED(lastResult))
        return true;
    if (lastResult == DDERR_SURFACELOST) {
        directDraw->RestoreAllSurfaces();
        return false;
    }
    Log("ERROR --- IDirectDrawSurface7::Blt failed: %s", ErrorText(lastResult));
    return false;
}

int CGraphics::SurfaceWidth(IDirectDrawSurface7* surface) {
    return static_cast<int>(Describe(surface).dwWidth);
}

int CGraphics::SurfaceHeight(IDirectDrawSurface7* surface) {
    return static_cast<int>(Describe(surface).dwHeight);
}

void CGraphics::PrintText(HFONT font, COLORREF colour, int x, int y, const char* format, ...) {
    if (!backBuffer || !format)
        return;
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args); // longer texts are cut at 255 characters
    va_end(args);

    textContext = nullptr;
    lastResult = backBuffer->GetDC(&textContext);
    if (FAILED(lastResult) || !textContext) {
        textContext = nullptr;
        return;
    }
    SetBkMode(textContext, TRANSPARENT);
    SetTextColor(textContext, colour);
    SelectObject(textContext, font);
    TextOutA(textContext, x, y, text, static_cast<int>(strlen(text)));
    backBuffer->ReleaseDC(textContext);
    textContext = nullptr;
}

IDirectDrawSurface7* CGraphics::LoadBitmapSurface(const char* path, int wantedWidth,
                                                  int wantedHeight) {
    auto bitmap =
        static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, wantedWidth, wantedHeight,
                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) {
        Log("ERROR --- Could not load bitmap: %s", path);
        return nullptr;
    }
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);

    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    description.dwHeight = static_cast<DWORD>(info.bmHeight);
    description.dwWidth = static_cast<DWORD>(info.bmWidth);
    IDirectDrawSurface7* surface = CreateSurface(&description);
    if (!surface) {
        DeleteObject(bitmap);
        Log("ERROR --- Could not build surface for: %s", path);
        return nullptr;
    }
    CopyBitmap(surface, bitmap, 0, 0, 0, 0);
    DeleteObject(bitmap);
    Log("NOTICE --- Loaded %s", path);
    return surface;
}

HRESULT CGraphics::CopyBitmap(IDirectDrawSurface7* surface, HBITMAP bitmap, int x, int y,
                              int copyWidth, int copyHeight) {
    if (!bitmap) {
        Log("Invalid bitmap handle provided");
        return E_FAIL;
    }
    if (!surface) {
        Log("Invalid surface provided");
        return E_FAIL;
    }
    surface->Restore();

    HDC imageContext = CreateCompatibleDC(nullptr);
    if (!imageContext)
        Log("Could not create compatible device context");
    SelectObject(imageContext, bitmap);
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    const int sourceWidth = copyWidth ? copyWidth : static_cast<int>(info.bmWidth);
    const int sourceHeight = copyHeight ? copyHeight : static_cast<int>(info.bmHeight);

    const DDSURFACEDESC2 description = Describe(surface);

    HDC surfaceContext = nullptr;
    HRESULT result = surface->GetDC(&surfaceContext);
    if (SUCCEEDED(result)) {
        StretchBlt(surfaceContext, 0, 0, static_cast<int>(description.dwWidth),
                   static_cast<int>(description.dwHeight), imageContext, x, y, sourceWidth,
                   sourceHeight, SRCCOPY);
        surface->ReleaseDC(surfaceContext);
    }
    if (imageContext)
        DeleteDC(imageContext);
    return result;
}

DWORD CGraphics::MatchColor(IDirectDrawSurface7* surface, COLORREF colour) {
    DWORD raw = CLR_INVALID;
    if (!surface)
        return raw;

    // Let the platform draw the colour into pixel (0, 0), read the raw value back, then put the
    // pixel back as it was.
    COLORREF saved = 0;
    bool remembered = false;
    HDC context = nullptr;
    if (colour != CLR_INVALID && SUCCEEDED(surface->GetDC(&context))) {
        saved = GetPixel(context, 0, 0);
        SetPixel(context, 0, 0, colour);
        surface->ReleaseDC(context);
        remembered = true;
    }

    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    if (SUCCEEDED(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr))) {
        memcpy(&raw, description.lpSurface, sizeof(raw));
        const DWORD bits = description.ddpfPixelFormat.dwRGBBitCount;
        if (bits < 32)
            raw &= (DWORD{1} << bits) - 1;
        surface->Unlock(nullptr);
    }

    if (remembered && SUCCEEDED(surface->GetDC(&context))) {
        SetPixel(context, 0, 0, saved);
        surface->ReleaseDC(context);
    }
    return raw;
}

HRESULT CGraphics::SetColorKey(IDirectDrawSurface7* surface, COLORREF colour) {
    if (!surface)
        return E_FAIL;
    DDCOLORKEY key{};
    key.dwColorSpaceLowValue = MatchColor(surface, colour);
    key.dwColorSpaceHighValue = key.dwColorSpaceLowValue;
    return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}
