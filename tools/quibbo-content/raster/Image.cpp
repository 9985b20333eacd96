#include "raster/Image.h"

namespace raster {

Image::Image(int width, int height, Pixel fill)
    : width(width), height(height), pixels(static_cast<size_t>(width) * height, fill) {}

void Blit(Image& target, const Image& source, int x, int y, int w, int h,
          std::optional<Pixel> key) {
    if (w <= 0 || h <= 0 || source.Width() == 0 || source.Height() == 0) {
        return;
    }
    for (int dy = 0; dy < h; ++dy) {
        const int ty = y + dy;
        if (ty < 0 || ty >= target.Height()) {
            continue;
        }
        const int sy = static_cast<int>(static_cast<long long>(dy) * source.Height() / h);
        for (int dx = 0; dx < w; ++dx) {
            const int tx = x + dx;
            if (tx < 0 || tx >= target.Width()) {
                continue;
            }
            const int sx = static_cast<int>(static_cast<long long>(dx) * source.Width() / w);
            const Pixel& p = source.At(sx, sy);
            if (!key || p != *key) {
                target.At(tx, ty) = p;
            }
        }
    }
}

Image Enlarge(const Image& source, int factor) {
    Image out(source.Width() * factor, source.Height() * factor);
    Blit(out, source, 0, 0, out.Width(), out.Height(), std::nullopt);
    return out;
}

Image Reduce(const Image& source, int factor) {
    Image out(source.Width() / factor, source.Height() / factor);
    const int area = factor * factor;
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            int r = 0, g = 0, b = 0;
            for (int j = 0; j < factor; ++j) {
                for (int i = 0; i < factor; ++i) {
                    const Pixel& p = source.At(x * factor + i, y * factor + j);
                    r += p.r;
                    g += p.g;
                    b += p.b;
                }
            }
            out.At(x, y) = Pixel{static_cast<uint8_t>((r + area / 2) / area),
                                 static_cast<uint8_t>((g + area / 2) / area),
                                 static_cast<uint8_t>((b + area / 2) / area)};
        }
    }
    return out;
}

} // namespace raster
