// Device contexts: those of surfaces (opened and closed by the surface's GetDC and ReleaseDC)
// and memory contexts with a bitmap selected; object selection and the text attributes.
#include "gdi/DeviceContext.h"
#include "seams/Failures.h"
#include "gdi/GdiObjects.h"

#include <unordered_map>

namespace compat {

namespace {

std::unordered_map<const void*, std::unique_ptr<DeviceContext>>& Contexts() {
    static std::unordered_map<const void*, std::unique_ptr<DeviceContext>> contexts;
    return contexts;
}

HDC AddContext(std::unique_ptr<DeviceContext> dc) {
    DeviceContext* raw = dc.get();
    Contexts().emplace(raw, std::move(dc));
    return reinterpret_cast<HDC>(raw);
}

// Takes the selected objects out of the context, so that they can be deleted again.
void Deselect(DeviceContext& dc) {
    if (dc.bitmap)
        --dc.bitmap->selections;
    if (dc.font)
        --dc.font->selections;
    dc.bitmap = nullptr;
    dc.font = nullptr;
}

} // namespace

PixelSurface* DeviceContext::Pixels() const {
    if (!memory) {
        if (surface)
            surface->Settle();
        return target;
    }
    return bitmap && !bitmap->stock ? &bitmap->pixels : nullptr;
}

DeviceContext* FindDeviceContext(HDC dc) {
    if (!dc)
        return nullptr;
    auto found = Contexts().find(dc);
    return found == Contexts().end() ? nullptr : found->second.get();
}

HDC OpenDeviceContext(PixelSurface* target, bool leavesOutText, DrawLog* log,
                      NotingSurface* surface) {
    auto dc = std::make_unique<DeviceContext>();
    dc->target = target;
    dc->log = log;
    dc->surface = surface;
    dc->leavesOutText = leavesOutText;
    return AddContext(std::move(dc));
}

void CloseDeviceContext(HDC handle) {
    DeviceContext* dc = FindDeviceContext(handle);
    if (!dc)
        return;
    Deselect(*dc);
    Contexts().erase(handle);
}

PixelSurface* DeviceContextTarget(HDC dc) {
    DeviceContext* context = FindDeviceContext(dc);
    return context ? context->Pixels() : nullptr;
}

} // namespace compat

using namespace compat;

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    if (TakeForcedFailure("CreateCompatibleDC"))
        return nullptr;
    // Our contexts share one pixel format per bitmap, so the reference context only has to be
    // a real one (or null, the screen).
    if (hdc && !FindDeviceContext(hdc))
        return nullptr;
    auto dc = std::make_unique<DeviceContext>();
    dc->memory = true;
    dc->bitmap = StockBitmap();
    ++dc->bitmap->selections;
    return AddContext(std::move(dc));
}

BOOL WINAPI DeleteDC(HDC hdc) {
    if (TakeForcedFailure("DeleteDC"))
        return FALSE;
    DeviceContext* dc = FindDeviceContext(hdc);
    // A surface's context goes back through the surface's ReleaseDC, not here.
    if (!dc || !dc->memory)
        return FALSE;
    CloseDeviceContext(hdc);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    if (TakeForcedFailure("SelectObject"))
        return nullptr;
    DeviceContext* dc = FindDeviceContext(hdc);
    GdiObject* object = FindGdiObject(h);
    if (!dc || !object)
        return nullptr;
    if (object->kind == GdiKind::Bitmap) {
        auto* bitmap = static_cast<GdiBitmap*>(object);
        if (!dc->memory)
            return nullptr;
        if (bitmap == dc->bitmap)
            return bitmap;
        // Like GDI, a bitmap lives in at most one context at a time.
        if (!bitmap->stock && bitmap->selections > 0)
            return nullptr;
        GdiBitmap* previous = dc->bitmap;
        --previous->selections;
        ++bitmap->selections;
        dc->bitmap = bitmap;
        return previous;
    }
    if (object->kind == GdiKind::Font) {
        auto* font = static_cast<GdiFont*>(object);
        GdiFont* previous = dc->font ? dc->font : StockFont();
        if (dc->font)
            --dc->font->selections;
        ++font->selections;
        dc->font = font;
        return previous;
    }
    // Regions would set the clipping region, which nothing here needs.
    return nullptr;
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    if (TakeForcedFailure("SetBkMode"))
        return 0;
    DeviceContext* dc = FindDeviceContext(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    const int previous = dc->backgroundMode;
    dc->backgroundMode = mode;
    return previous;
}

int WINAPI GetBkMode(HDC hdc) {
    DeviceContext* dc = FindDeviceContext(hdc);
    return dc ? dc->backgroundMode : 0;
}

namespace {

// Sets one of a context's colours and returns the one it replaces.
COLORREF ReplaceColor(const char* operation, HDC hdc, COLORREF DeviceContext::*field,
                      COLORREF color) {
    if (TakeForcedFailure(operation))
        return CLR_INVALID;
    DeviceContext* dc = FindDeviceContext(hdc);
    if (!dc)
        return CLR_INVALID;
    const COLORREF previous = dc->*field;
    dc->*field = color & 0xFFFFFF;
    return previous;
}

} // namespace

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    return ReplaceColor("SetTextColor", hdc, &DeviceContext::textColor, color);
}

COLORREF WINAPI GetTextColor(HDC hdc) {
    DeviceContext* dc = FindDeviceContext(hdc);
    return dc ? dc->textColor : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    return ReplaceColor("SetBkColor", hdc, &DeviceContext::backgroundColor, color);
}

COLORREF WINAPI GetBkColor(HDC hdc) {
    DeviceContext* dc = FindDeviceContext(hdc);
    return dc ? dc->backgroundColor : CLR_INVALID;
}
