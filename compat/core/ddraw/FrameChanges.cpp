#include "ddraw/FrameChanges.h"

#include <algorithm>
#include <cstdint>
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

// Bit i is set where byte i of two runs of at most 64 bytes differs: sixteen bytes a step
// where the processor has SSE2 (every x86-64), else a machine word a step, looked into only
// where it differs (the targets without SSE2 we build for are little-endian).
uint64_t DifferingMask(const uint8_t* a, const uint8_t* b, size_t bytes) {
    uint64_t mask = 0;
    size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= bytes; i += 16) {
        const int equal = _mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i))));
        mask |= static_cast<uint64_t>(~equal & 0xFFFF) << i;
    }
#endif
    for (; i + 8 <= bytes; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        for (uint64_t differs = x ^ y, k = 0; differs; differs >>= 8, ++k)
            mask |= static_cast<uint64_t>((differs & 0xFF) != 0) << (i + k);
    }
    for (; i < bytes; ++i)
        mask |= static_cast<uint64_t>(a[i] != b[i]) << i;
    return mask;
}

// The columns of a band's tile that changed, from its leftmost to its rightmost changed pixel,
// counted in bytes from the start of the tile's row; empty while `first` > `last`.
struct TileChange {
    size_t first = SIZE_MAX;
    size_t last = 0;
    bool Any() const { return first <= last; }
};

// Widens the changes of the tiles of a row by the bytes that differ, from `at` to `end` (counted
// from the row's start).
void MarkRow(const uint8_t* now, const uint8_t* before, size_t at, size_t end, size_t tileBytes,
             TileChange* changes) {
    for (size_t tile = at / tileBytes; at < end; at += tileBytes, ++tile) {
        const size_t bytes = std::min(tileBytes, end - at);
        for (size_t piece = 0; piece < bytes; piece += 64) {
            const uint64_t differs = DifferingMask(now + at + piece, before + at + piece,
                                                   std::min<size_t>(64, bytes - piece));
            if (!differs)
                continue;
            changes[tile].first = std::min(
                changes[tile].first, at + piece + static_cast<size_t>(__builtin_ctzll(differs)));
            changes[tile].last =
                std::max(changes[tile].last,
                         at + piece + 63 - static_cast<size_t>(__builtin_clzll(differs)));
        }
    }
}

// A run of tiles side by side in a band: [from, to).
struct TileSpan {
    int from = 0;
    int to = 0;
};

// The spans of tiles of the band from rows `top` to `bottom` that the damage meets, left to
// right, joined where they touch: two clouds at either end of the band are two spans, not the
// band's whole width.
void DamagedSpans(const platform::FrameDamage& damage, int top, int bottom, int width,
                  std::vector<TileSpan>* spans) {
    spans->clear();
    for (const platform::FrameRect& area : damage.areas) {
        const int64_t left = std::max<int64_t>(0, area.left);
        const int64_t right = std::min<int64_t>(width, area.right);
        if (area.bottom <= top || area.top >= bottom || right <= left)
            continue;
        spans->push_back(TileSpan{static_cast<int>(left / kTileWidth),
                                  static_cast<int>((right + kTileWidth - 1) / kTileWidth)});
    }
    std::sort(spans->begin(), spans->end(),
              [](const TileSpan& a, const TileSpan& b) { return a.from < b.from; });
    size_t kept = 0;
    for (const TileSpan& span : *spans) {
        if (kept > 0 && span.from <= (*spans)[kept - 1].to)
            (*spans)[kept - 1].to = std::max((*spans)[kept - 1].to, span.to);
        else
            (*spans)[kept++] = span;
    }
    spans->resize(kept);
}

// The tiles an area's columns lie in: [first, end).
int64_t FirstTile(const BlitRect& area) {
    return area.left / kTileWidth;
}
int64_t EndTile(const BlitRect& area) {
    return (area.right + kTileWidth - 1) / kTileWidth;
}

void AddArea(std::vector<BlitRect>& areas, const BlitRect& area) {
    // Tiles of the same columns changed right above: one taller area over the columns of both.
    for (BlitRect& above : areas) {
        if (above.bottom == area.top && FirstTile(above) == FirstTile(area) &&
            EndTile(above) == EndTile(area)) {
            above = Enclosing(above, area);
            return;
        }
    }
    if (areas.size() >= kMostAreas) {
        areas.back() = Enclosing(areas.back(), area);
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
    const size_t pixelBytes = static_cast<size_t>(frame.BytesPerPixel());
    const size_t rowBytes = static_cast<size_t>(frame.width) * pixelBytes;
    const size_t tileBytes = static_cast<size_t>(kTileWidth) * pixelBytes;
    const int tiles = (frame.width + kTileWidth - 1) / kTileWidth;
    TileChange changed[kMostTiles];
    const bool contiguous = static_cast<size_t>(frame.pitch) == rowBytes;
    const bool anywhere = !damage || damage->anywhere;
    if (!anywhere && damage->areas.empty())
        return; // the frames are alike
    thread_local std::vector<TileSpan> spans;
    for (int bandTop = 0; bandTop < frame.height; bandTop += kTileRows) {
        const int bandBottom = std::min(frame.height, bandTop + kTileRows);
        // The tiles of the band that may differ: all, or those the damage meets.
        if (anywhere)
            spans.assign(1, TileSpan{0, tiles});
        else
            DamagedSpans(*damage, bandTop, bandBottom, frame.width, &spans);
        if (spans.empty())
            continue;
        // Rows that lie end to end are compared a band at a time: most bands are as they were.
        if (anywhere && contiguous &&
            std::memcmp(frame.Row(bandTop), shown.Row(bandTop),
                        rowBytes * static_cast<size_t>(bandBottom - bandTop)) == 0)
            continue;
        int first = -1, last = -1; // the band's changed rows
        for (const TileSpan& span : spans)
            std::fill(changed + span.from, changed + span.to, TileChange{});
        for (int y = bandTop; y < bandBottom; ++y) {
            bool rowChanged = false;
            for (const TileSpan& span : spans) {
                const size_t start = static_cast<size_t>(span.from) * tileBytes;
                const size_t end = std::min(rowBytes, static_cast<size_t>(span.to) * tileBytes);
                // Most rows are as they were: one compare of the span tells.
                if (std::memcmp(frame.Row(y) + start, shown.Row(y) + start, end - start) == 0)
                    continue;
                MarkRow(frame.Row(y), shown.Row(y), start, end, tileBytes, changed);
                std::memcpy(shown.Row(y) + start, frame.Row(y) + start, end - start);
                rowChanged = true;
            }
            if (!rowChanged)
                continue;
            first = first < 0 ? y : first;
            last = y;
        }
        if (first < 0)
            continue;
        // A run of changed tiles side by side is one area, from the leftmost pixel that changed
        // in its first tile to the rightmost in its last.
        for (const TileSpan& span : spans) {
            for (int tile = span.from; tile < span.to;) {
                if (!changed[tile].Any()) {
                    ++tile;
                    continue;
                }
                const int from = tile;
                while (tile < span.to && changed[tile].Any())
                    ++tile;
                AddArea(changes->areas,
                        BlitRect{static_cast<int64_t>(changed[from].first / pixelBytes), first,
                                 static_cast<int64_t>(changed[tile - 1].last / pixelBytes) + 1,
                                 last + 1});
            }
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
