#include "compat/GdiSeams.h"
#include "compat/Seams.h"

#include "gdi/DeviceContext.h"
#include "gdi/GdiObjects.h"

#include "platform/Text.h"

#include <map>
#include <memory>

namespace compat::seams {

namespace {

std::map<HDC, std::unique_ptr<PixelSurface>>& PixelContexts() {
    static std::map<HDC, std::unique_ptr<PixelSurface>> contexts = [] {
        AddResetHook([] {
            for (auto& entry : PixelContexts())
                CloseDeviceContext(entry.first);
            PixelContexts().clear();
            platform::ShowAllFontFamilies();
        });
        return std::map<HDC, std::unique_ptr<PixelSurface>>();
    }();
    return contexts;
}

PixelSurface* Inside(HDC dc, int x, int y) {
    PixelSurface* pixels = DeviceContextTarget(dc);
    if (!pixels || x < 0 || y < 0 || x >= pixels->width || y >= pixels->height)
        return nullptr;
    return pixels;
}

} // namespace

HDC CreatePixelContext(int width, int height, int bitsPerPixel) {
    auto pixels = std::make_unique<PixelSurface>();
    if (!pixels->Allocate(width, height, bitsPerPixel))
        return nullptr;
    HDC dc = OpenDeviceContext(pixels.get());
    PixelContexts().emplace(dc, std::move(pixels));
    return dc;
}

void DeletePixelContext(HDC dc) {
    auto found = PixelContexts().find(dc);
    if (found == PixelContexts().end())
        return;
    CloseDeviceContext(dc);
    PixelContexts().erase(found);
}

bool ReadRawPixel(HDC dc, int x, int y, uint32_t* raw) {
    PixelSurface* pixels = Inside(dc, x, y);
    if (!pixels)
        return false;
    *raw = pixels->Get(x, y);
    return true;
}

bool WriteRawPixel(HDC dc, int x, int y, uint32_t raw) {
    PixelSurface* pixels = Inside(dc, x, y);
    if (!pixels)
        return false;
    pixels->Set(x, y, raw);
    return true;
}

bool FillRawPixels(HDC dc, uint32_t raw) {
    PixelSurface* pixels = DeviceContextTarget(dc);
    if (!pixels)
        return false;
    for (int y = 0; y < pixels->height; ++y)
        for (int x = 0; x < pixels->width; ++x)
            pixels->Set(x, y, raw);
    return true;
}

bool ReadBitmapPixels(HBITMAP bitmap, BitmapPixels* out) {
    const GdiBitmap* found = FindBitmap(bitmap);
    if (!found)
        return false;
    const PixelSurface& pixels = found->pixels;
    out->width = pixels.width;
    out->height = pixels.height;
    out->colors.clear();
    out->colors.reserve(static_cast<size_t>(pixels.width) * pixels.height);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            out->colors.push_back(ColorFromRaw(pixels.Get(x, y), pixels.bitsPerPixel));
    return true;
}

int LiveGdiObjects() {
    return LiveGdiObjectCount();
}

bool DescribeFont(HFONT font, FontFace* face) {
    const GdiFont* found = FindFont(font);
    if (!found)
        return false;
    face->file = found->face.file;
    face->emPixels = found->face.emPixels;
    face->syntheticBold = found->face.syntheticBold;
    return true;
}

void HideFontFamily(std::string_view family) {
    PixelContexts(); // makes sure the reset hook that shows the family again is in place
    platform::HideFontFamily(family);
}

} // namespace compat::seams
