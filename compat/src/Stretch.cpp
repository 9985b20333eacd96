#include "Stretch.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace compat {

namespace {

// For each destination position from `first` to `last` (exclusive, relative to the rectangle's
// start), the source position under its centre, or -1 outside the source's `limit`.
std::vector<int> SourcePositions(int64_t first, int64_t last, int sourceStart, int sourceLength,
                                 int destinationLength, int limit) {
    std::vector<int> positions;
    positions.reserve(static_cast<size_t>(std::max<int64_t>(last - first, 0)));
    for (int64_t i = first; i < last; ++i) {
        // i < destinationLength < 2^31, so (2i + 1) * sourceLength stays below 2^63.
        const uint64_t offset = (2 * static_cast<uint64_t>(i) + 1) *
                                static_cast<uint64_t>(sourceLength) /
                                (2 * static_cast<uint64_t>(destinationLength));
        const int64_t position = sourceStart + static_cast<int64_t>(offset);
        positions.push_back(position >= 0 && position < limit ? static_cast<int>(position) : -1);
    }
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
    const std::vector<int> columns =
        SourcePositions(left, right, source.x, source.width, destination.width, from.width);
    const std::vector<int> rows =
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
