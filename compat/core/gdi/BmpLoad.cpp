// LoadImageA: bitmap files into device-independent bitmaps.
#include "pixels/BmpDecoder.h"
#include "seams/Failures.h"
#include "files/Files.h"
#include "gdi/GdiObjects.h"
#include "pixels/Stretch.h"

#include <memory>
#include <new>
#include <vector>

using namespace compat;

namespace {

// No file larger than the largest picture at 32 bits per pixel plus its headers is read.
constexpr size_t kMaxFileBytes = static_cast<size_t>(kMaxBitmapPixels) * 4 + 64 * 1024;

} // namespace

HANDLE WINAPI LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    if (TakeForcedFailure("LoadImageA"))
        return nullptr;
    // Pictures come from files only: there are no resources to load them from.
    if (!name || type != IMAGE_BITMAP || !(fuLoad & LR_LOADFROMFILE) || cx < 0 || cy < 0)
        return nullptr;
    try {
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(name, kMaxFileBytes, &bytes))
            return nullptr;
        auto bitmap = std::make_unique<GdiBitmap>();
        if (!DecodeBmp(bytes.data(), bytes.size(), &bitmap->pixels))
            return nullptr;
        // A wanted size stretches the picture to it; 0 keeps the file's own in that direction.
        if (cx || cy) {
            const PixelSurface& picture = bitmap->pixels;
            const int width = cx ? cx : picture.width, height = cy ? cy : picture.height;
            if (int64_t{width} * height > kMaxBitmapPixels)
                return nullptr;
            PixelSurface scaled;
            if (!scaled.Allocate(width, height, 32))
                return nullptr;
            StretchPixels(picture, PixelRect{0, 0, picture.width, picture.height}, scaled,
                          PixelRect{0, 0, width, height});
            bitmap->pixels = std::move(scaled);
        }
        return AddGdiObject(std::move(bitmap));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
