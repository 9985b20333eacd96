#include "gdi/TextBlend.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace compat {

namespace {

// The part of the surface a mask at (x, y) covers, in surface pixels; empty when none.
struct Box {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
};

Box CoveredBox(const PixelSurface& pixels, const platform::TextMask& mask, int x, int y) {
    Box box;
    box.left = std::max<int64_t>(0, x);
    box.top = std::max<int64_t>(0, y);
    box.right = std::min<int64_t>(pixels.width, int64_t{x} + mask.width);
    box.bottom = std::min<int64_t>(pixels.height, int64_t{y} + mask.height);
    return box;
}

// Mixes the colour into the pixels under the mask, row by row.
void Blend(PixelSurface& pixels, const platform::TextMask& mask, int x, int y, COLORREF color,
           const Box& box) {
    const int count = static_cast<int>(box.right - box.left);
    for (int64_t py = box.top; py < box.bottom; ++py) {
        const uint8_t* coverage =
            mask.coverage.data() + static_cast<size_t>(py - y) * mask.width + (box.left - x);
        uint8_t* row = pixels.Row(static_cast<int>(py)) + box.left * pixels.BytesPerPixel();
        if (pixels.bitsPerPixel == 16)
            BlendCoverageRow16(reinterpret_cast<uint16_t*>(row), coverage, count, color);
        else
            BlendCoverageRow32(reinterpret_cast<uint32_t*>(row), coverage, count, color);
    }
}

// A text as it was last laid at one place: the pixels it found and the pixels it left.
struct Laid {
    std::string text;
    COLORREF color = 0;
    int x = 0, y = 0;
    int width = 0, height = 0, bits = 0; // the surface's
    std::vector<uint8_t> found;
    std::vector<uint8_t> left;
};

// A few more than the texts a frame writes; the oldest place is dropped first.
constexpr size_t kKeptPlaces = 32;
// Texts larger than this are mixed every time: keeping them would cost more than it saves.
constexpr size_t kMostKeptBytes = 256 * 1024;

struct Places {
    std::vector<Laid> laid;
    size_t next = 0;
};

Places& KeptPlaces() {
    static Places places;
    return places;
}

void CopyBox(const PixelSurface& pixels, const Box& box, std::vector<uint8_t>* to) {
    const size_t rowBytes = static_cast<size_t>(box.right - box.left) * pixels.BytesPerPixel();
    to->resize(rowBytes * static_cast<size_t>(box.bottom - box.top));
    for (int64_t y = box.top; y < box.bottom; ++y)
        std::memcpy(to->data() + static_cast<size_t>(y - box.top) * rowBytes,
                    pixels.Row(static_cast<int>(y)) + box.left * pixels.BytesPerPixel(), rowBytes);
}

bool BoxHolds(const PixelSurface& pixels, const Box& box, const std::vector<uint8_t>& held) {
    const size_t rowBytes = static_cast<size_t>(box.right - box.left) * pixels.BytesPerPixel();
    if (held.size() != rowBytes * static_cast<size_t>(box.bottom - box.top))
        return false;
    for (int64_t y = box.top; y < box.bottom; ++y)
        if (std::memcmp(held.data() + static_cast<size_t>(y - box.top) * rowBytes,
                        pixels.Row(static_cast<int>(y)) + box.left * pixels.BytesPerPixel(),
                        rowBytes) != 0)
            return false;
    return true;
}

void PasteBox(PixelSurface& pixels, const Box& box, const std::vector<uint8_t>& held) {
    const size_t rowBytes = static_cast<size_t>(box.right - box.left) * pixels.BytesPerPixel();
    for (int64_t y = box.top; y < box.bottom; ++y)
        std::memcpy(pixels.Row(static_cast<int>(y)) + box.left * pixels.BytesPerPixel(),
                    held.data() + static_cast<size_t>(y - box.top) * rowBytes, rowBytes);
}

} // namespace

void BlendText(PixelSurface& pixels, const platform::TextMask& mask, int x, int y, COLORREF color,
               const std::string& text) {
    const Box box = CoveredBox(pixels, mask, x, y);
    if (box.Empty())
        return;
    const size_t bytes = static_cast<size_t>(box.right - box.left) *
                         static_cast<size_t>(box.bottom - box.top) * pixels.BytesPerPixel();
    if (bytes > kMostKeptBytes) {
        Blend(pixels, mask, x, y, color, box);
        return;
    }
    Places& places = KeptPlaces();
    Laid* same = nullptr;
    for (Laid& laid : places.laid)
        if (laid.x == x && laid.y == y && laid.color == color && laid.width == pixels.width &&
            laid.height == pixels.height && laid.bits == pixels.bitsPerPixel && laid.text == text)
            same = &laid;
    if (same && BoxHolds(pixels, box, same->found)) {
        PasteBox(pixels, box, same->left);
        return;
    }
    if (!same) {
        if (places.laid.size() < kKeptPlaces) {
            places.laid.emplace_back();
            same = &places.laid.back();
        } else {
            same = &places.laid[places.next];
            places.next = (places.next + 1) % kKeptPlaces;
        }
        same->text = text;
        same->color = color;
        same->x = x;
        same->y = y;
        same->width = pixels.width;
        same->height = pixels.height;
        same->bits = pixels.bitsPerPixel;
    }
    CopyBox(pixels, box, &same->found);
    Blend(pixels, mask, x, y, color, box);
    CopyBox(pixels, box, &same->left);
}

void BlendTextWithin(PixelSurface& pixels, const platform::TextMask& mask, int x, int y,
                     COLORREF color, const BlitRect& within) {
    Box box = CoveredBox(pixels, mask, x, y);
    box.left = std::max(box.left, within.left);
    box.top = std::max(box.top, within.top);
    box.right = std::min(box.right, within.right);
    box.bottom = std::min(box.bottom, within.bottom);
    if (!box.Empty())
        Blend(pixels, mask, x, y, color, box);
}

} // namespace compat
