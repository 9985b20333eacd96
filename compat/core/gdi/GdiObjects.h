// Inside the platform layer: the objects behind GDI handles (bitmaps, fonts, regions) and the
// state of a device context.
#pragma once

#include "pixels/DrawLog.h"
#include "pixels/PendingDrawing.h"
#include "pixels/PixelSurface.h"
#include "platform/Text.h"

#include <windows.h>

#include <memory>
#include <string>

namespace compat {

enum class GdiKind { Bitmap, Font, Region, Brush };

struct GdiObject {
    explicit GdiObject(GdiKind objectKind) : kind(objectKind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    const GdiKind kind;
    // How many contexts hold the object selected; a selected object cannot be deleted.
    int selections = 0;
    // Stock objects belong to the platform: selectable anywhere, never deleted.
    bool stock = false;
};

// A device-independent bitmap; its pixels are always XRGB8888, whatever the file held.
struct GdiBitmap : GdiObject {
    GdiBitmap() : GdiObject(GdiKind::Bitmap) {}
    PixelSurface pixels;
};

// What a caller asked of a font, and the face it was given.
struct GdiFont : GdiObject {
    GdiFont() : GdiObject(GdiKind::Font) {}
    // The request.
    std::string faceName;
    int height = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool antialiased = true;
    // The face, once resolved (the backend's, open for the whole run), the font file it came
    // from, its size in pixels per em and its line height; a face without a bold weight of its
    // own is emboldened by the renderer.
    platform::OpenedFont face;
};

struct GdiRegion : GdiObject {
    GdiRegion() : GdiObject(GdiKind::Region) {}
    RECT rect{};
};

// A solid brush; only the stock black one exists (a window class's background).
struct GdiBrush : GdiObject {
    GdiBrush() : GdiObject(GdiKind::Brush) {}
};

// Registers a new object; its handle is its address.
HGDIOBJ AddGdiObject(std::unique_ptr<GdiObject> object);
// The live object behind a handle, null for a null, deleted or unknown handle.
GdiObject* FindGdiObject(HGDIOBJ handle);
GdiBitmap* FindBitmap(HGDIOBJ handle);
GdiFont* FindFont(HGDIOBJ handle);
// How many objects are alive, stock objects not counted.
int LiveGdiObjectCount();
// The platform's own objects: the 1x1 bitmap of a new memory context and the font of a context
// with none selected.
GdiBitmap* StockBitmap();
GdiFont* StockFont();

// The state behind an HDC.
struct DeviceContext {
    // A surface's context draws into `target`; a memory context into its selected bitmap.
    PixelSurface* target = nullptr;
    bool memory = false;
    GdiBitmap* bitmap = nullptr;
    GdiFont* font = nullptr; // null until a font is selected: the stock font draws
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backgroundColor = RGB(255, 255, 255);
    int backgroundMode = OPAQUE;
    // On a frame nobody will see (a surface's LeavesOutDrawing): text is taken as drawn
    // (measured, recorded) but not put into the pixels.
    bool leavesOutText = false;
    // A surface's log of what drew its pixels (see DrawLog), null for a memory context.
    DrawLog* log = nullptr;
    // The surface behind a surface's context, which may note text and pixels instead of
    // having them drawn at once; null for a memory context.
    NotingSurface* surface = nullptr;

    // The pixels to read or draw on, with any drawing noted for them done first.
    PixelSurface* Pixels() const;
    // Where text and pixels are noted instead of drawn, null while they are drawn at once.
    PendingDrawing* NotedDrawing() const { return surface ? surface->NotedDrawing() : nullptr; }
};

// The live context behind a handle, null for a null, closed or unknown handle.
DeviceContext* FindDeviceContext(HDC dc);

} // namespace compat
