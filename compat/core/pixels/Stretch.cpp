#include "pixels/Stretch.h"

#include "pixels/Blitter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace compat {

namespace {

// For each destination position from `first` to `last` (exclusive, relative to the rectangle's
// start), the source position under its centre (the blitter's sampling rule), or -1 outside the
// source's `limit`.
std::vector<int32_t> SourcePositions(int64_t first, int64_t last, int sourceStart, int sourceLength,
                                     int destinationLength, int limit) {
    const int count = static_cast<int>(std::max<int64_t>(last - first, 0));
    std::vector<int32_t> positions(static_cast<size_t>(count));
    ScaleIndices(first, count, destinationLength, sourceLength, sourceStart, positions.data());
    for (int32_t& position : positions)
        if (position < 0 || position >= limit)
            position = -1;
    return positions;
}

} // namespace

void StretchPixels(const PixelSurface& from, PixelRect source, PixelSurface& to,
                   PixelRect destination) {
    if (source.width <= 0 || source.height <= 0 || destination.width <= 0 ||
        destination.height <= 0)
        return;
    // The visible part of the destination rectangle, relative to its start.
    const int64_t left = std::max<int64_t>(0, -int64_t{destination.x});
    const int64_t right = std::min<int64_t>(destination.width, int64_t{to.width} - destination.x);
    const int64_t top = std::max<int64_t>(0, -int64_t{destination.y});
    const int64_t bottom =
        std::min<int64_t>(destination.height, int64_t{to.height} - destination.y);
    if (left >= right || top >= bottom)
        return;
    const std::vector<int32_t> columns =
        SourcePositions(left, right, source.x, source.width, destination.width, from.width);
    const std::vector<int32_t> rows =
        SourcePositions(top, bottom, source.y, source.height, destination.height, from.height);

    // Copying a surface onto itself reads from a snapshot, so no source pixel is overwritten
    // before it is read.
    PixelSurface snapshot;
    const PixelSurface* reading = &from;
    if (&from == &to) {
        snapshot = from;
        reading = &snapshot;
    }
    const bool sameFormat = reading->bitsPerPixel == to.bitsPerPixel;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r] < 0)
            continue;
        const int y = static_cast<int>(destination.y + top + static_cast<int64_t>(r));
        for (size_t c = 0; c < columns.size(); ++c) {
            if (columns[c] < 0)
                continue;
            const int x = static_cast<int>(destination.x + left + static_cast<int64_t>(c));
            const uint32_t raw = reading->Get(columns[c], rows[r]);
            to.Set(x, y,
                   sameFormat
                       ? raw
                       : RawFromColor(ColorFromRaw(raw, reading->bitsPerPixel), to.bitsPerPixel));
        }
    }
}

} // namespace compat
