// GDI pixel calls: single pixels and stretched copies between device contexts.
#include "gdi/DeviceContext.h"
#include "gdi/GdiObjects.h"
#include "seams/Failures.h"
#include "pixels/Stretch.h"

using namespace compat;

namespace {

// The kind of a step in a surface's draw log.
constexpr uint64_t kPixelStep = 4;

bool Inside(const PixelSurface* pixels, int x, int y) {
    return pixels && x >= 0 && y >= 0 && x < pixels->width && y < pixels->height;
}

} // namespace

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    if (TakeForcedFailure("GetPixel"))
        return CLR_INVALID;
    const PixelSurface* pixels = DeviceContextTarget(hdc);
    if (!Inside(pixels, x, y))
        return CLR_INVALID;
    return ColorFromRaw(pixels->Get(x, y), pixels->bitsPerPixel);
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    if (TakeForcedFailure("SetPixel"))
        return CLR_INVALID;
    DeviceContext* dc = FindDeviceContext(hdc);
    PendingDrawing* noted = dc ? dc->NotedDrawing() : nullptr;
    PixelSurface* pixels = noted ? dc->target : DeviceContextTarget(hdc);
    if (!Inside(pixels, x, y))
        return CLR_INVALID;
    // The format may not hold the colour exactly: the caller learns what was really written.
    const uint32_t raw = RawFromColor(color & 0xFFFFFF, pixels->bitsPerPixel);
    if (noted)
        noted->AddFill(BlitRect{x, y, x + 1, y + 1}, raw);
    else
        pixels->Set(x, y, raw);
    if (dc && dc->log)
        dc->log->Add(MixStep(MixStep(MixStep(kPixelStep, raw), static_cast<uint64_t>(x)),
                             static_cast<uint64_t>(y)),
                     BlitRect{x, y, x + 1, y + 1});
    return ColorFromRaw(raw, pixels->bitsPerPixel);
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc,
                       int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop) {
    if (TakeForcedFailure("StretchBlt"))
        return FALSE;
    PixelSurface* to = DeviceContextTarget(hdcDest);
    const PixelSurface* from = DeviceContextTarget(hdcSrc);
    // Mirroring by negative sizes is not offered.
    if (rop != SRCCOPY || !to || !from || wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0)
        return FALSE;
    // Its source has no stamp to name: the pixels are known only by looking at them.
    if (DeviceContext* dc = FindDeviceContext(hdcDest); dc && dc->log)
        dc->log->Forget();
    StretchPixels(*from, PixelRect{xSrc, ySrc, wSrc, hSrc}, *to,
                  PixelRect{xDest, yDest, wDest, hDest});
    return TRUE;
}
