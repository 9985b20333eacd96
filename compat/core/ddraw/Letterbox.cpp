#include "ddraw/Letterbox.h"

#include <algorithm>
#include <cstdint>

namespace compat {

Letterbox FitMode(int outputWidth, int outputHeight, int modeWidth, int modeHeight) {
    Letterbox box;
    if (outputWidth <= 0 || outputHeight <= 0 || modeWidth <= 0 || modeHeight <= 0)
        return box;
    const int64_t ow = outputWidth, oh = outputHeight, mw = modeWidth, mh = modeHeight;
    if (ow * mh <= oh * mw) {
        // Relatively taller output: full width, bars above and below.
        box.width = outputWidth;
        box.height = static_cast<int>(ow * mh / mw);
    } else {
        box.height = outputHeight;
        box.width = static_cast<int>(oh * mw / mh);
    }
    box.x = (outputWidth - box.width) / 2;
    box.y = (outputHeight - box.height) / 2;
    return box;
}

POINT ModePixelAt(const Letterbox& box, int modeWidth, int modeHeight, int x, int y) {
    if (box.width <= 0 || box.height <= 0)
        return POINT{0, 0};
    // The mode pixel under the centre of the output pixel, as scaled blits sample.
    const auto map = [](int offset, int extent, int modeExtent) {
        if (offset < 0)
            return 0;
        const int64_t pixel = (2 * static_cast<int64_t>(offset) + 1) * modeExtent / (2 * extent);
        return static_cast<int>(std::min<int64_t>(pixel, modeExtent - 1));
    };
    return POINT{map(x - box.x, box.width, modeWidth), map(y - box.y, box.height, modeHeight)};
}

void OutputSpanOf(int from, int to, int extent, int modeExtent, int* first, int* last) {
    // Output pixel k samples mode pixel floor((2k + 1) * modeExtent / (2 * extent)), which is
    // at least m exactly when 2k + 1 >= ceil(2 * extent * m / modeExtent).
    const auto firstSampling = [extent, modeExtent](int m) {
        const int64_t twice = 2 * static_cast<int64_t>(extent) * m;
        const int64_t least = (twice + modeExtent - 1) / modeExtent;
        return static_cast<int>(std::min<int64_t>(least / 2, extent));
    };
    *first = firstSampling(from);
    *last = firstSampling(to);
}

} // namespace compat
