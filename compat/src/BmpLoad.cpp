// LoadImageA: bitmap files into device-independent bitmaps.
#include "BmpDecoder.h"
#include "Failures.h"
#include "GdiObjects.h"
#include "Stretch.h"

#include <cstdio>
#include <memory>
#include <new>
#include <vector>

using namespace compat;

namespace {

// No file larger than the largest picture at 32 bits per pixel plus its headers is read: a
// path naming a device or a huge file stops there instead of filling memory.
constexpr size_t kMaxFileBytes = static_cast<size_t>(kMaxBitmapPixels) * 4 + 64 * 1024;

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), std::fclose);
    if (!file)
        return false;
    constexpr size_t kChunk = 64 * 1024;
    size_t used = 0;
    for (;;) {
        if (used >= kMaxFileBytes)
            return false;
        bytes->resize(used + kChunk);
        const size_t got = std::fread(bytes->data() + used, 1, kChunk, file.get());
        used += got;
        if (got < kChunk)
            break;
    }
    if (std::ferror(file.get()))
        return false;
    // An exact copy: no spare capacity past the file's last byte, so the sanitizer build
    // catches any read beyond it.
    *bytes = std::vector<uint8_t>(bytes->begin(), bytes->begin() + static_cast<long>(used));
    return true;
}

} // namespace

HANDLE WINAPI LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    if (TakeForcedFailure("LoadImageA"))
        return nullptr;
    // Pictures come from files only: there are no resources to load them from.
    if (!name || type != IMAGE_BITMAP || !(fuLoad & LR_LOADFROMFILE) || cx < 0 || cy < 0)
        return nullptr;
    try {
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(name, &bytes))
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
