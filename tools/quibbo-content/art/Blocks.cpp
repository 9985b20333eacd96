#include "art/Blocks.h"

#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

namespace art {

using namespace raster;

namespace {

constexpr double kSize = 32;

// Each symbol fits the middle of the tile, about 18 pixels across.
Shape SymbolShape(Symbol symbol) {
    switch (symbol) {
    case Symbol::Heart:
        return SmoothUnion(Union(Circle(Vec{12.3, 13.2}, 4.7), Circle(Vec{19.7, 13.2}, 4.7)),
                           Polygon({{7.9, 15.2}, {24.1, 15.2}, {16, 24.6}}), 1.5);
    case Symbol::Triangle:
        return Grow(Polygon({{16, 9}, {23.6, 22.2}, {8.4, 22.2}}), 1.6);
    case Symbol::Star:
        return Grow(Star(Vec{16, 16.8}, 9.6, 4.2, 5), 0.6);
    case Symbol::Clover:
        return Union(Union(Circle(Vec{16, 11.6}, 4.3), Circle(Vec{11.6, 18.2}, 4.3)),
                     Union(Circle(Vec{20.4, 18.2}, 4.3), Segment(Vec{16, 17}, Vec{18, 25}, 1.3)));
    case Symbol::Drop:
        return SmoothUnion(Circle(Vec{16, 19.3}, 5.8),
                           Polygon({{16, 6.6}, {10.6, 17.5}, {21.4, 17.5}}), 2.0);
    case Symbol::Diamond:
        return Grow(Polygon({{16, 7.2}, {24, 16}, {16, 24.8}, {8, 16}}), 0.6);
    case Symbol::Moon:
        return Subtract(Circle(Vec{15.2, 16}, 8.6), Circle(Vec{19.6, 13.2}, 7.0));
    case Symbol::Ring:
        return Subtract(Circle(Vec{16, 16}, 8.4), Circle(Vec{16, 16}, 4.2));
    }
    return Circle(Vec{16, 16}, 8);
}

} // namespace

// Chosen so that every two types differ clearly in colour not only for most players but also
// as seen with deuteranopia or protanopia (by lightness and by the blue-yellow axis, which
// those players keep); the symbols tell them apart in any case.
const std::vector<BlockType>& BlockTypes() {
    static const std::vector<BlockType> types{
        {"red", Rgb(184, 22, 38), Symbol::Heart},
        {"orange", Rgb(238, 148, 28), Symbol::Triangle},
        {"yellow", Rgb(255, 236, 60), Symbol::Star},
        {"green", Rgb(62, 176, 96), Symbol::Clover},
        {"cyan", Rgb(80, 228, 240), Symbol::Drop},
        {"blue", Rgb(26, 58, 198), Symbol::Diamond},
        {"purple", Rgb(172, 116, 240), Symbol::Moon},
        {"pink", Rgb(216, 80, 160), Symbol::Ring},
    };
    return types;
}

Image Block(const BlockType& type) {
    Canvas canvas(static_cast<int>(kSize), static_cast<int>(kSize));
    const Colour base = type.colour;
    const Colour edge = Darker(base, 0.55f);
    const Shape tile = RoundedRect(0, 0, kSize, kSize, 6);
    const Shape face = Grow(tile, -1.5);

    Fill(canvas, tile, Solid(edge));
    Fill(canvas, face,
         Linear(Vec{2, 2}, Vec{30, 30},
                {{0.0, Lighter(base, 0.35f)}, {0.5, base}, {1.0, Darker(base, 0.25f)}}));
    // Bevel: a light rim top-left, a shaded rim bottom-right.
    Fill(canvas, Outline(Grow(face, -1.2), 2.0),
         Linear(Vec{4, 4}, Vec{28, 28},
                {{0.0, WithAlpha(palette::kWhite, 0.7f)},
                 {0.45, WithAlpha(palette::kWhite, 0.0f)},
                 {0.55, WithAlpha(Darker(base, 0.6f), 0.0f)},
                 {1.0, WithAlpha(Darker(base, 0.6f), 0.55f)}}));
    // A soft gloss over the top.
    Fill(canvas, Ellipse(Vec{14, 8}, 10, 4.5), Solid(WithAlpha(palette::kWhite, 0.28f)));

    const Shape symbol = SymbolShape(type.symbol);
    // A dark rim keeps the white symbol clear on the light colours too.
    SoftShadow(canvas, symbol, Vec{0.6, 1.0}, 1, WithAlpha(Darker(base, 0.7f), 0.9f));
    Fill(canvas, Grow(symbol, 1.0), Solid(WithAlpha(Darker(base, 0.45f), 0.9f)));
    Fill(canvas, symbol,
         Linear(Vec{0, 8}, Vec{0, 25}, {{0, palette::kWhite}, {1, Lighter(base, 0.75f)}}));
    return Flatten(canvas, kKeyPink, edge);
}

} // namespace art
