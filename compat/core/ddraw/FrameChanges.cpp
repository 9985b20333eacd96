#include "ddraw/FrameChanges.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace compat {

namespace {

// Changes are found in tiles of kTileWidth pixels by kTileRows rows: a tile that changes is
// drawn whole, one that does not is left alone. The moving edge of a large picture changes
// only the tiles along it, not the box around it.
constexpr int kTileWidth = 32;
constexpr int kTileRows = 8;
// A frame with more areas than this joins the rest into its last one: each area costs the
// window a request of its own.
constexpr size_t kMostAreas = 64;
// The most tiles a row has: the widest surface over the tile width.
constexpr int kMostTiles = (kMaxSurfaceSide + kTileWidth - 1) / kTileWidth;

// Whether two runs of bytes differ: sixteen bytes a step where the processor has SSE2 (every
// x86-64), a machine word a step elsewhere.
bool Differs(const uint8_t* a, const uint8_t* b, size_t bytes) {
    size_t i = 0;
#if defined(__SSE2__)
    __m128i same = _mm_set1_epi8(-1);
    for (; i + 16 <= bytes; i += 16)
        same = _mm_and_si128(
            same, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)),
                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i))));
    if (_mm_movemask_epi8(same) != 0xFFFF)
        return true;
#endif
    uint64_t any = 0;
    for (; i + 8 <= bytes; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        any |= x ^ y;
    }
    for (; i < bytes; ++i)
        any |= static_cast<uint64_t>(a[i] ^ b[i]);
    return any != 0;
}

// Marks the tiles of a changed row that differ, then brings the shown row up to the frame's.
void MarkRow(const uint8_t* now, uint8_t* before, size_t rowBytes, size_t tileBytes,
             uint8_t* changed) {
    for (size_t at = 0, tile = 0; at < rowBytes; at += tileBytes, ++tile)
        changed[tile] |= Differs(now + at, before + at, std::min(tileBytes, rowBytes - at));
    std::memcpy(before, now, rowBytes);
}

// The span of tiles of the band from rows `top` to `bottom` that the damage meets; false when
// it meets none.
bool DamagedTiles(const platform::FrameDamage& damage, int top, int bottom, int width,
                  int* fromTile, int* toTile) {
    int64_t left = width, right = 0;
    for (const platform::FrameRect& area : damage.areas) {
        if (area.bottom <= top || area.top >= bottom || area.right <= area.left)
            continue;
        left = std::min(left, std::max<int64_t>(0, area.left));
        right = std::max(right, std::min<int64_t>(width, area.right));
    }
    if (right <= left)
        return false;
    *fromTile = static_cast<int>(left / kTileWidth);
    *toTile = static_cast<int>((right + kTileWidth - 1) / kTileWidth);
    return true;
}

void AddArea(std::vector<BlitRect>& areas, const BlitRect& area) {
    // The same columns changed right above: one taller area.
    for (BlitRect& above : areas) {
        if (above.bottom == area.top && above.left == area.left && above.right == area.right) {
            above.bottom = area.bottom;
            return;
        }
    }
    if (areas.size() >= kMostAreas) {
        BlitRect& last = areas.back();
        last.left = std::min(last.left, area.left);
        last.top = std::min(last.top, area.top);
        last.right = std::max(last.right, area.right);
        last.bottom = std::max(last.bottom, area.bottom);
        return;
    }
    areas.push_back(area);
}

} // namespace

void TakeChanges(const PixelSurface& frame, PixelSurface& shown, bool whole, FrameChanges* changes,
                 const platform::FrameDamage* damage) {
    changes->areas.clear();
    changes->whole = whole || shown.width != frame.width || shown.height != frame.height ||
                     shown.bitsPerPixel != frame.bitsPerPixel || shown.pixels.empty() ||
                     shown.pitch != frame.pitch;
    if (changes->whole) {
        if (shown.width != frame.width || shown.height != frame.height ||
            shown.bitsPerPixel != frame.bitsPerPixel || shown.pixels.empty())
            shown.Allocate(frame.width, frame.height, frame.bitsPerPixel);
        if (shown.pixels.size() == frame.pixels.size())
            std::memcpy(shown.pixels.data(), frame.pixels.data(), frame.pixels.size());
        return;
    }
    const size_t rowBytes = static_cast<size_t>(frame.width) * frame.BytesPerPixel();
    const size_t tileBytes = static_cast<size_t>(kTileWidth) * frame.BytesPerPixel();
    const int tiles = (frame.width + kTileWidth - 1) / kTileWidth;
    uint8_t changed[kMostTiles];
    const bool contiguous = static_cast<size_t>(frame.pitch) == rowBytes;
    const bool anywhere = !damage || damage->anywhere;
    if (!anywhere && damage->areas.empty())
        return; // the frames are alike
    for (int bandTop = 0; bandTop < frame.height; bandTop += kTileRows) {
        const int bandBottom = std::min(frame.height, bandTop + kTileRows);
        // The tiles of the band that may differ: all, or those from the leftmost to the
        // rightmost damage in the band.
        int fromTile = 0, toTile = tiles;
        if (!anywhere &&
            !DamagedTiles(*damage, bandTop, bandBottom, frame.width, &fromTile, &toTile))
            continue;
        const size_t start = static_cast<size_t>(fromTile) * tileBytes;
        const size_t bytes = std::min(rowBytes, static_cast<size_t>(toTile) * tileBytes) - start;
        // Rows that lie end to end are compared a band at a time: most bands are as they were.
        if (anywhere && contiguous &&
            std::memcmp(frame.Row(bandTop), shown.Row(bandTop),
                        rowBytes * static_cast<size_t>(bandBottom - bandTop)) == 0)
            continue;
        int first = -1, last = -1; // the band's changed rows
        for (int y = bandTop; y < bandBottom; ++y) {
            // Most rows are as they were: one compare of the whole row tells.
            if (std::memcmp(frame.Row(y) + start, shown.Row(y) + start, bytes) == 0)
                continue;
            if (first < 0)
                std::memset(changed, 0, static_cast<size_t>(tiles));
            MarkRow(frame.Row(y) + start, shown.Row(y) + start, bytes, tileBytes,
                    changed + fromTile);
            first = first < 0 ? y : first;
            last = y;
        }
        if (first < 0)
            continue;
        for (int tile = fromTile; tile < toTile;) {
            if (!changed[tile]) {
                ++tile;
                continue;
            }
            const int from = tile;
            while (tile < tiles && changed[tile])
                ++tile;
            AddArea(changes->areas,
                    BlitRect{int64_t{from} * kTileWidth, first,
                             std::min<int64_t>(frame.width, int64_t{tile} * kTileWidth), last + 1});
        }
    }
}

void DrawChanges(const PixelSurface& frame, const FrameChanges& changes, const WindowPixels& window,
                 const Letterbox& box, std::vector<BlitRect>* drawn) {
    drawn->clear();
    const BlitRect to{box.x, box.y, box.x + box.width, box.y + box.height};
    if (changes.whole) {
        ShowOnScreen(frame, window.pixels, window.pitch, window.width, window.height, window.bits,
                     window.alpha, to, true);
        drawn->push_back(BlitRect{0, 0, window.width, window.height});
        return;
    }
    for (const BlitRect& area : changes.areas) {
        int left = 0, right = 0, top = 0, bottom = 0;
        OutputSpanOf(static_cast<int>(area.left), static_cast<int>(area.right), box.width,
                     frame.width, &left, &right);
        OutputSpanOf(static_cast<int>(area.top), static_cast<int>(area.bottom), box.height,
                     frame.height, &top, &bottom);
        const BlitRect part{box.x + left, box.y + top, box.x + right, box.y + bottom};
        if (part.Empty())
            continue; // a shrunken frame whose changed pixels no window pixel samples
        ShowPartOnScreen(frame, window.pixels, window.pitch, window.bits, window.alpha, to, part);
        drawn->push_back(part);
    }
}

const std::vector<BlitRect>& WindowPicture::Draw(const PixelSurface& frame, PixelSurface& shown,
                                                 const WindowPixels& window,
                                                 const platform::FrameDamage* damage) {
    if (window.pixels != layout_.pixels || window.width != layout_.width ||
        window.height != layout_.height || window.pitch != layout_.pitch ||
        window.bits != layout_.bits || window.alpha != layout_.alpha)
        whole_ = true;
    layout_ = window;
    TakeChanges(frame, shown, whole_, &changes_, damage);
    whole_ = false;
    DrawChanges(frame, changes_, window,
                FitMode(window.width, window.height, frame.width, frame.height), &drawn_);
    return drawn_;
}

} // namespace compat
