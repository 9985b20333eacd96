#include "raster/Canvas.h"

namespace raster {

Canvas::Canvas(int width, int height)
    : width(width), height(height), pixels(static_cast<size_t>(width) * height) {}

void Canvas::Blend(int x, int y, const Colour& colour, float coverage) {
    if (!Contains(x, y)) {
        return;
    }
    const float a = colour.a * coverage;
    if (a <= 0.0f) {
        return;
    }
    Premultiplied& p = pixels[static_cast<size_t>(y) * width + x];
    const float keep = 1.0f - a;
    p.r = colour.r * a + p.r * keep;
    p.g = colour.g * a + p.g * keep;
    p.b = colour.b * a + p.b * keep;
    p.a = a + p.a * keep;
}

void Canvas::Draw(const Canvas& layer, int x, int y, float opacity) {
    for (int ly = 0; ly < layer.Height(); ++ly) {
        for (int lx = 0; lx < layer.Width(); ++lx) {
            if (!Contains(x + lx, y + ly)) {
                continue;
            }
            const Premultiplied& s = layer.At(lx, ly);
            const float a = s.a * opacity;
            if (a <= 0.0f) {
                continue;
            }
            Premultiplied& p = pixels[static_cast<size_t>(y + ly) * width + (x + lx)];
            const float keep = 1.0f - a;
            p.r = s.r * opacity + p.r * keep;
            p.g = s.g * opacity + p.g * keep;
            p.b = s.b * opacity + p.b * keep;
            p.a = a + p.a * keep;
        }
    }
}

void Canvas::Clear(const Colour& colour) {
    for (Premultiplied& p : pixels) {
        p = Premultiplied{colour.r * colour.a, colour.g * colour.a, colour.b * colour.a, colour.a};
    }
}

Canvas ToCanvas(const Image& image, std::optional<Pixel> key) {
    Canvas canvas(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Pixel& p = image.At(x, y);
            if (!key || p != *key) {
                canvas.Blend(x, y, FromPixel(p), 1.0f);
            }
        }
    }
    return canvas;
}

} // namespace raster
