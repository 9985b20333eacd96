#include "art/Mascot.h"

#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

#include <algorithm>
#include <cmath>

namespace art {

using namespace raster;
namespace pal = palette;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegrees = kPi / 180.0;

// Quibbo is designed in its own units, the middle of its body at the origin; a Figure places
// those units on the canvas.
struct Figure {
    Canvas& canvas;
    Vec centre;
    double scale;
    double outline; // pixels
    float pale;     // 0: full colours; towards 1: washed towards white

    Vec At(double x, double y) const { return Vec{centre.x + x * scale, centre.y + y * scale}; }
    double Len(double l) const { return l * scale; }
    Shape Place(const Shape& s) const { return Placed(s, centre, scale); }

    // A part with its outline: the outline colour grown round the shape, then the fill.
    void Part(const Shape& units, const Paint& paint, const Colour& line) const {
        const Shape s = Place(units);
        Fill(canvas, Grow(s, outline), Solid(Soft(line)));
        Fill(canvas, s, Soft(paint));
    }
    void Plain(const Shape& units, const Paint& paint, float opacity = 1.0f) const {
        Fill(canvas, Place(units), Soft(paint), opacity);
    }
    Colour Soft(const Colour& c) const { return Lighter(c, pale); }
    Paint Soft(const Paint& p) const {
        if (pale == 0.0f) {
            return p;
        }
        return [p, pale = pale](Vec v) { return Lighter(p(v), pale); };
    }
};

Shape Oval(double x, double y, double rx, double ry, double turn = 0) {
    const Shape e = Ellipse(Vec{x, y}, rx, ry);
    return turn == 0 ? e : Turned(e, Vec{x, y}, turn);
}

Shape Body() {
    const Shape torso = Ellipse(Vec{0, 18}, 152, 136);
    const Shape ears = Union(Circle(Vec{-100, -92}, 40), Circle(Vec{100, -92}, 40));
    return SmoothUnion(torso, ears, 36);
}

void Sprout(const Figure& f) {
    const Paint leaf = Linear(f.At(0, -180), f.At(0, -150), {{0, pal::kLeaf}, {1, pal::kLeafDark}});
    f.Part(Segment(Vec{0, -110}, Vec{8, -150}, 5), Solid(pal::kLeafDark), pal::kFurOutline);
    f.Part(Oval(-22, -160, 26, 12, -28 * kDegrees), leaf, Darker(pal::kLeafDark, 0.3f));
    f.Part(Oval(34, -166, 28, 13, 22 * kDegrees), leaf, Darker(pal::kLeafDark, 0.3f));
    // A light vein along each leaf.
    f.Plain(Segment(Vec{-40, -151}, Vec{-6, -167}, 1.6), Solid(WithAlpha(pal::kFurLight, 0.6f)));
    f.Plain(Segment(Vec{12, -171}, Vec{54, -158}, 1.6), Solid(WithAlpha(pal::kFurLight, 0.6f)));
}

void Feet(const Figure& f) {
    const Paint feet = Linear(f.At(0, 130), f.At(0, 174), {{0, pal::kGold}, {1, pal::kFeet}});
    f.Part(Oval(-62, 150, 46, 24), feet, pal::kFurOutline);
    f.Part(Oval(62, 150, 46, 24), feet, pal::kFurOutline);
}

void Arms(const Figure& f, Mood mood) {
    const Paint fur =
        Linear(f.At(0, -120), f.At(0, 120), {{0, pal::kFurLight}, {1, pal::kFurShade}});
    switch (mood) {
    case Mood::Happy: // one arm waving, one at rest
        f.Part(Oval(-148, -16, 25, 44, -36 * kDegrees), fur, pal::kFurOutline);
        f.Part(Oval(150, 64, 25, 42, 30 * kDegrees), fur, pal::kFurOutline);
        break;
    case Mood::Cheering: // both up
        f.Part(Oval(-152, -52, 25, 46, -30 * kDegrees), fur, pal::kFurOutline);
        f.Part(Oval(152, -52, 25, 46, 30 * kDegrees), fur, pal::kFurOutline);
        break;
    case Mood::Sad: // hanging
        f.Part(Oval(-140, 80, 24, 42, 14 * kDegrees), fur, pal::kFurOutline);
        f.Part(Oval(140, 80, 24, 42, -14 * kDegrees), fur, pal::kFurOutline);
        break;
    }
}

void Torso(const Figure& f) {
    const Shape body = Body();
    f.Part(body,
           Radial(f.At(-50, -60), f.Len(250),
                  {{0, pal::kFurLight}, {0.5, pal::kFur}, {1, pal::kFurShade}}),
           pal::kFurOutline);
    // Inner ears and a cream belly.
    const Paint ear = Solid(Mix(pal::kCheek, pal::kFurLight, 0.35f));
    f.Plain(Circle(Vec{-104, -98}, 20), ear);
    f.Plain(Circle(Vec{104, -98}, 20), ear);
    f.Plain(Intersect(Oval(0, 86, 98, 70), Grow(body, -8)),
            Radial(f.At(-20, 60), f.Len(110),
                   {{0, pal::kCream}, {1, Mix(pal::kCream, pal::kFur, 0.45f)}}));
}

void Eyes(const Figure& f, Mood mood) {
    const Paint iris = Radial(f.At(0, 10), f.Len(90), {{0, Rgb(70, 86, 160)}, {1, pal::kInk}});
    const Paint white = Solid(pal::kWhite);
    if (mood == Mood::Cheering) {
        // Closed in delight: two upturned arcs.
        f.Plain(Arc(Vec{-52, -2}, 22, 200 * kDegrees, 340 * kDegrees, 9), Solid(pal::kInk));
        f.Plain(Arc(Vec{52, -2}, 22, 200 * kDegrees, 340 * kDegrees, 9), Solid(pal::kInk));
        return;
    }
    const double look = mood == Mood::Sad ? 8 : 0; // the sad eyes look down
    for (double side : {-1.0, 1.0}) {
        const double x = 52 * side;
        f.Plain(Oval(x, -12 + look / 2, 24, 31), iris);
        f.Plain(Circle(Vec{x - 8, -24 + look}, 9), white);
        f.Plain(Circle(Vec{x + 8, 2 + look}, 4), white);
    }
    if (mood == Mood::Sad) {
        // Brows raised in the middle.
        f.Plain(Segment(Vec{-76, -52}, Vec{-36, -62}, 4), Solid(pal::kFurOutline));
        f.Plain(Segment(Vec{76, -52}, Vec{36, -62}, 4), Solid(pal::kFurOutline));
    }
}

void Mouth(const Figure& f, Mood mood) {
    const Colour line = Darker(pal::kMouth, 0.3f);
    switch (mood) {
    case Mood::Happy: {
        const Shape mouth = Intersect(Oval(0, 34, 30, 26), Rect(-40, 34, 40, 70));
        f.Part(mouth, Solid(pal::kMouth), line);
        f.Plain(Intersect(mouth, Circle(Vec{0, 66}, 18)), Solid(pal::kTongue));
        break;
    }
    case Mood::Cheering: {
        const Shape mouth = Intersect(Oval(0, 30, 40, 40), Rect(-50, 30, 50, 80));
        f.Part(mouth, Solid(pal::kMouth), line);
        f.Plain(Intersect(mouth, Circle(Vec{0, 76}, 24)), Solid(pal::kTongue));
        break;
    }
    case Mood::Sad:
        f.Plain(Arc(Vec{0, 66}, 24, 215 * kDegrees, 325 * kDegrees, 7), Solid(pal::kMouth));
        // A tear on the way down.
        f.Part(SmoothUnion(Circle(Vec{-66, 44}, 9), Polygon({{-66, 22}, {-73, 40}, {-59, 40}}), 3),
               Solid(pal::kTear), Rgb(60, 130, 200));
        break;
    }
}

void Cheeks(const Figure& f) {
    f.Plain(Oval(-100, 30, 24, 14), Solid(pal::kCheek), 0.8f);
    f.Plain(Oval(100, 30, 24, 14), Solid(pal::kCheek), 0.8f);
}

} // namespace

void DrawQuibbo(Canvas& canvas, Vec centre, double scale, Mood mood, double minOutline,
                float pale) {
    const Figure f{canvas, centre, scale, std::max(5.0 * scale, minOutline), pale};
    Sprout(f);
    Feet(f);
    Torso(f);
    Arms(f, mood);
    Cheeks(f);
    Eyes(f, mood);
    Mouth(f, mood);
}

Image Mascot() {
    Canvas canvas(416, 416);
    // Behind the blocks and the menu Quibbo is drawn pale, so that it never competes with them.
    constexpr float kPale = 0.3f;
    DrawQuibbo(canvas, Vec{210, 214}, 1.04, Mood::Happy, 1.5, kPale);
    return Flatten(canvas, kKeyPink, Lighter(pal::kFurOutline, kPale));
}

Image LivesIcon() {
    Canvas canvas(64, 64);
    DrawQuibbo(canvas, Vec{32, 34}, 0.165, Mood::Happy, 1.4);
    return Flatten(canvas, kKeyPink, pal::kFurOutline);
}

} // namespace art
