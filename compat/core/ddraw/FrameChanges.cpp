#include "ddraw/FrameChanges.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace compat {

namespace {

// Changes are found in tiles of kTileWidth pixels by kTileRows rows: a tile that does not change
// is left alone. The moving edge of a large picture changes only the tiles along it, not the
// box around it.
constexpr int kTileWidth = 16;
constexpr int kTileRows = 8;
// What an area costs beyond its pixels, counted in the mode's pixels as a full-screen window
// shows them: a request to the window, and the setting up of each of its rows. Measured on
// X: a request costs about as much as drawing 100 such pixels, a row about as much as 10. Two
// areas that would waste fewer pixels than that as one are drawn as one.
constexpr int64_t kAreaCost = 128;
constexpr int64_t kRowCost = 10;
// A frame with more areas than this joins the rest into its last one.
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
    int top = 0; // the first and last rows that changed in it
    int bottom = 0;
    bool Any() const { return first <= last; }
};

// Widens the changes of the tiles of row `y` by the bytes that differ, from `at` to `end`
// (counted from the row's start).
void MarkRow(const uint8_t* now, const uint8_t* before, size_t at, size_t end, size_t tileBytes,
             int y, TileChange* changes) {
    for (size_t tile = at / tileBytes; at < end; at += tileBytes, ++tile) {
        const size_t bytes = std::min(tileBytes, end - at);
        for (size_t piece = 0; piece < bytes; piece += 64) {
            const uint64_t differs = DifferingMask(now + at + piece, before + at + piece,
                                                   std::min<size_t>(64, bytes - piece));
            if (!differs)
                continue;
            if (!changes[tile].Any())
                changes[tile].top = y;
            changes[tile].bottom = y;
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

// The pixels that one area enclosing `a` and `b` would draw beyond theirs.
int64_t WasteOfEnclosing(const BlitRect& a, const BlitRect& b) {
    return Enclosing(a, b).Area() - a.Area() - b.Area() + Intersect(a, b).Area();
}

void AddArea(std::vector<BlitRect>& areas, const BlitRect& area) {
    // An area that would waste little as one with another (most often the same edge in the
    // band above) joins it.
    for (BlitRect& other : areas) {
        if (WasteOfEnclosing(other, area) <= kAreaCost) {
            other = Enclosing(other, area);
            return;
        }
    }
    if (areas.size() >= kMostAreas) {
        areas.back() = Enclosing(areas.back(), area);
        return;
    }
    areas.push_back(area);
}

// The areas of a band's changed tiles in `span`: each tile's changed pixels, from its leftmost
// to its rightmost and from its first changed row to its last, joined with the next tile's
// where the gap between them costs less than an area of its own.
void AddBandAreas(const TileChange* changed, const TileSpan& span, size_t pixelBytes,
                  std::vector<BlitRect>* areas) {
    BlitRect piece;
    bool open = false;
    for (int tile = span.from; tile < span.to; ++tile) {
        const TileChange& change = changed[tile];
        if (!change.Any())
            continue;
        const BlitRect next{static_cast<int64_t>(change.first / pixelBytes), change.top,
                            static_cast<int64_t>(change.last / pixelBytes) + 1, change.bottom + 1};
        if (open) {
            // Apart, the tile's pixels would cost an area and its rows.
            if (WasteOfEnclosing(piece, next) <= kAreaCost + next.Height() * kRowCost) {
                piece = Enclosing(piece, next);
                continue;
            }
            AddArea(*areas, piece);
        }
        piece = next;
        open = true;
    }
    if (open)
        AddArea(*areas, piece);
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
    // Off the stack: a browser's is small.
    thread_local TileChange changed[kMostTiles];
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
        bool bandChanged = false;
        for (const TileSpan& span : spans)
            std::fill(changed + span.from, changed + span.to, TileChange{});
        for (int y = bandTop; y < bandBottom; ++y) {
            for (const TileSpan& span : spans) {
                const size_t start = static_cast<size_t>(span.from) * tileBytes;
                const size_t end = std::min(rowBytes, static_cast<size_t>(span.to) * tileBytes);
                // Most rows are as they were: one compare of the span tells.
                if (std::memcmp(frame.Row(y) + start, shown.Row(y) + start, end - start) == 0)
                    continue;
                MarkRow(frame.Row(y), shown.Row(y), start, end, tileBytes, y, changed);
                std::memcpy(shown.Row(y) + start, frame.Row(y) + start, end - start);
                bandChanged = true;
            }
        }
        if (!bandChanged)
            continue;
        for (const TileSpan& span : spans)
            AddBandAreas(changed, span, pixelBytes, &changes->areas);
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
