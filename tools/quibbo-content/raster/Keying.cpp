#include "raster/Keying.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace raster {
namespace {

// Specks of colour up to this many pixels in the transparent area are dropped; pinholes of
// transparency up to this size inside the picture are filled.
constexpr size_t kSpeck = 3;
constexpr size_t kPinhole = 8;

Pixel Over(const Premultiplied& p, const Colour& matte) {
    const float keep = 1.0f - p.a;
    return Pixel{ToByte(p.r + matte.r * keep), ToByte(p.g + matte.g * keep),
                 ToByte(p.b + matte.b * keep)};
}

// Connected (4-neighbour) regions of equal opacity; each small one that does not touch the
// picture's edge is flipped. Regions touching the edge are real background, whatever their
// size.
void CleanSpecks(std::vector<uint8_t>& opaque, int width, int height) {
    std::vector<int> region(opaque.size(), -1);
    std::vector<size_t> stack;
    std::vector<size_t> members;
    int next = 0;
    for (size_t start = 0; start < opaque.size(); ++start) {
        if (region[start] >= 0) {
            continue;
        }
        const uint8_t kind = opaque[start];
        bool touchesEdge = false;
        members.clear();
        stack.push_back(start);
        region[start] = next;
        while (!stack.empty()) {
            const size_t i = stack.back();
            stack.pop_back();
            members.push_back(i);
            const int x = static_cast<int>(i % width);
            const int y = static_cast<int>(i / width);
            touchesEdge = touchesEdge || x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const std::array<std::pair<int, int>, 4> around{
                {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}};
            for (const auto& [nx, ny] : around) {
                if (nx < 0 || ny < 0 || nx >= width || ny >= height) {
                    continue;
                }
                const size_t n = static_cast<size_t>(ny) * width + nx;
                if (region[n] < 0 && opaque[n] == kind) {
                    region[n] = next;
                    stack.push_back(n);
                }
            }
        }
        ++next;
        const size_t limit = kind ? kSpeck : kPinhole;
        if (members.size() <= limit && !(touchesEdge && !kind)) {
            for (size_t i : members) {
                opaque[i] = kind ? 0 : 1;
            }
        }
    }
}

} // namespace

Pixel ClearOfKey(const Pixel& p, const Pixel& key, int margin) {
    if (ChannelDistance(p, key) >= margin) {
        return p;
    }
    std::array<int, 3> c{p.r, p.g, p.b};
    const std::array<int, 3> k{key.r, key.g, key.b};
    size_t widest = 0;
    for (size_t i = 1; i < 3; ++i) {
        if (std::abs(c[i] - k[i]) > std::abs(c[widest] - k[widest])) {
            widest = i;
        }
    }
    const bool up = c[widest] > k[widest] || (c[widest] == k[widest] && k[widest] + margin <= 255);
    int moved = up ? k[widest] + margin : k[widest] - margin;
    if (moved > 255 || moved < 0) {
        moved = up ? k[widest] - margin : k[widest] + margin;
    }
    c[widest] = moved;
    return Pixel{static_cast<uint8_t>(c[0]), static_cast<uint8_t>(c[1]),
                 static_cast<uint8_t>(c[2])};
}

Image Flatten(const Canvas& canvas, const Pixel& key, const Colour& matte) {
    const int w = canvas.Width();
    const int h = canvas.Height();
    std::vector<uint8_t> opaque(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            opaque[static_cast<size_t>(y) * w + x] = canvas.At(x, y).a >= 0.5f ? 1 : 0;
        }
    }
    CleanSpecks(opaque, w, h);
    Image image(w, h, key);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (opaque[static_cast<size_t>(y) * w + x]) {
                image.At(x, y) = ClearOfKey(Over(canvas.At(x, y), matte), key, kKeyMargin);
            }
        }
    }
    return image;
}

Image FlattenOpaque(const Canvas& canvas, const Colour& backdrop, std::optional<Pixel> key) {
    Image image(canvas.Width(), canvas.Height());
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Pixel p = Over(canvas.At(x, y), backdrop);
            image.At(x, y) = key ? ClearOfKey(p, *key, kKeyMargin) : p;
        }
    }
    return image;
}

} // namespace raster
