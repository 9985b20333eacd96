// GDI object handles: bitmaps, fonts and regions, their lookup, description and deletion.
#include "gdi/GdiObjects.h"
#include "seams/Failures.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace compat {

namespace {

// Handles are checked against this table before use, so a stale or foreign handle is refused
// instead of being followed.
std::unordered_map<const void*, std::unique_ptr<GdiObject>>& Objects() {
    static std::unordered_map<const void*, std::unique_ptr<GdiObject>> objects;
    return objects;
}

} // namespace

HGDIOBJ AddGdiObject(std::unique_ptr<GdiObject> object) {
    GdiObject* raw = object.get();
    Objects().emplace(raw, std::move(object));
    return raw;
}

GdiObject* FindGdiObject(HGDIOBJ handle) {
    if (!handle)
        return nullptr;
    auto found = Objects().find(handle);
    return found == Objects().end() ? nullptr : found->second.get();
}

GdiBitmap* FindBitmap(HGDIOBJ handle) {
    GdiObject* object = FindGdiObject(handle);
    return object && object->kind == GdiKind::Bitmap ? static_cast<GdiBitmap*>(object) : nullptr;
}

GdiFont* FindFont(HGDIOBJ handle) {
    GdiObject* object = FindGdiObject(handle);
    return object && object->kind == GdiKind::Font ? static_cast<GdiFont*>(object) : nullptr;
}

int LiveGdiObjectCount() {
    const auto& objects = Objects();
    return static_cast<int>(std::count_if(objects.begin(), objects.end(),
                                          [](const auto& entry) { return !entry.second->stock; }));
}

GdiBitmap* StockBitmap() {
    static GdiBitmap* bitmap = [] {
        auto made = std::make_unique<GdiBitmap>();
        made->stock = true;
        made->pixels.Allocate(1, 1, 32);
        return static_cast<GdiBitmap*>(AddGdiObject(std::move(made)));
    }();
    return bitmap;
}

GdiFont* StockFont() {
    // A plain sans-serif face with a cell 16 pixels high, like the system font.
    static GdiFont* font = [] {
        auto made = std::make_unique<GdiFont>();
        made->stock = true;
        made->faceName = "sans-serif";
        made->height = 16;
        return static_cast<GdiFont*>(AddGdiObject(std::move(made)));
    }();
    return font;
}

} // namespace compat

using namespace compat;

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    if (TakeForcedFailure("DeleteObject"))
        return FALSE;
    GdiObject* object = FindGdiObject(ho);
    if (!object || object->selections > 0)
        return FALSE;
    if (!object->stock)
        Objects().erase(ho);
    return TRUE;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
    if (TakeForcedFailure("GetObjectA"))
        return 0;
    GdiBitmap* bitmap = FindBitmap(h);
    if (!bitmap)
        return 0;
    if (!pv)
        return sizeof(BITMAP);
    if (c < static_cast<int>(sizeof(BITMAP)))
        return 0;
    BITMAP description{};
    description.bmType = 0;
    description.bmWidth = bitmap->pixels.width;
    description.bmHeight = bitmap->pixels.height;
    description.bmWidthBytes = bitmap->pixels.pitch;
    description.bmPlanes = 1;
    description.bmBitsPixel = static_cast<WORD>(bitmap->pixels.bitsPerPixel);
    description.bmBits = bitmap->pixels.pixels.data();
    std::memcpy(pv, &description, sizeof description);
    return sizeof(BITMAP);
}

HGDIOBJ WINAPI GetStockObject(int i) {
    if (i != BLACK_BRUSH)
        return nullptr;
    static GdiBrush* black = [] {
        auto brush = std::make_unique<GdiBrush>();
        brush->stock = true;
        return static_cast<GdiBrush*>(AddGdiObject(std::move(brush)));
    }();
    return black;
}

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
    if (TakeForcedFailure("CreateRectRgn"))
        return nullptr;
    auto region = std::make_unique<GdiRegion>();
    // Corners may come in either order; the region is the rectangle between them.
    region->rect = RECT{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    return static_cast<HRGN>(AddGdiObject(std::move(region)));
}
