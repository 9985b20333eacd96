#include "art/Backdrops.h"

#include "art/Blocks.h"
#include "art/Clouds.h"
#include "art/Lettering.h"
#include "art/Mascot.h"
#include "art/Palette.h"
#include "raster/Draw.h"
#include "raster/Keying.h"

#include <cmath>
#include <cstdint>

namespace art {

using namespace raster;
namespace pal = palette;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A small fixed pseudo-random sequence, so the scattered pieces land in the same places on
// every run.
class Scatter {
public:
    explicit Scatter(uint32_t seed) : state(seed) {}
    double Next() { // 0 to 1
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 16777216.0;
    }
    double Between(double a, double b) { return a + (b - a) * Next(); }

private:
    uint32_t state;
};

// Light rays turning round a point, fading out well before the picture's edges.
void Sunburst(Canvas& canvas, Vec centre, double reach, int rays, const Colour& colour) {
    const Paint fade = Radial(centre, reach, {{0.0, colour}, {1.0, WithAlpha(colour, 0.0f)}});
    for (int i = 0; i < rays; ++i) {
        const double a0 = 2 * kPi * i / rays;
        const double a1 = a0 + kPi / rays;
        const Shape ray =
            Polygon({centre,
                     {centre.x + reach * std::cos(a0), centre.y + reach * std::sin(a0)},
                     {centre.x + reach * std::cos(a1), centre.y + reach * std::sin(a1)}});
        Fill(canvas, ray, fade);
    }
}

void Confetti(Canvas& canvas, int count, uint32_t seed) {
    Scatter s(seed);
    const auto& types = BlockTypes();
    for (int i = 0; i < count; ++i) {
        const Vec at{s.Between(20, kWidth - 20), s.Between(20, kHeight - 20)};
        // Leave the middle, where Quibbo and the words are, mostly clear.
        const double dx = (at.x - kWidth / 2.0) / 230.0;
        const double dy = (at.y - kHeight / 2.0) / 200.0;
        const bool onWords = (at.y < 112 && std::abs(at.x - kWidth / 2.0) < 190) ||
                             (at.y > 414 && std::abs(at.x - kWidth / 2.0) < 160);
        if (dx * dx + dy * dy < 1.0 || onWords) {
            continue;
        }
        const Colour colour =
            types[static_cast<size_t>(s.Next() * types.size()) % types.size()].colour;
        const double turn = s.Between(0, kPi);
        const Shape piece =
            s.Next() < 0.3
                ? Star(at, 7, 3, 5)
                : Turned(RoundedRect(at.x - 6, at.y - 2.5, at.x + 6, at.y + 2.5, 1.5), at, turn);
        Fill(canvas, Grow(piece, 1), Solid(Darker(colour, 0.4f)));
        Fill(canvas, piece, Solid(Lighter(colour, 0.1f)));
    }
}

LetterStyle Subtitle(int size) {
    LetterStyle style;
    style.size = size;
    style.top = pal::kWhite;
    style.bottom = Rgb(230, 240, 255);
    style.outline = pal::kBlueOutline;
    style.outlineWidth = 2.5;
    style.shadow = WithAlpha(pal::kBlueOutline, 0.5f);
    style.shadowOffset = Vec{2, 2};
    return style;
}

} // namespace

Image AllComplete(const Fonts& fonts) {
    Canvas canvas(kWidth, kHeight);
    const Vec middle{kWidth / 2.0, kHeight / 2.0};
    canvas.Clear(pal::kSky);
    Fill(canvas, Rect(0, 0, kWidth, kHeight),
         Radial(middle, 235, {{0.0, Rgb(170, 232, 255)}, {1.0, pal::kSky}}));
    Sunburst(canvas, middle, 238, 14, WithAlpha(pal::kWhite, 0.35f));
    DrawCloud(canvas, Vec{12, 372}, 208, 90, 1, WhiteCloud());
    DrawCloud(canvas, Vec{428, 384}, 200, 80, 2, WhiteCloud());
    DrawCloud(canvas, Vec{456, 112}, 178, 84, 3, WhiteCloud());
    Confetti(canvas, 90, 0xC0FFEEu);

    DrawQuibbo(canvas, Vec{320, 268}, 0.56, Mood::Cheering);
    DrawLabel(canvas, fonts, "Well Done!", Vec{320, 62}, Headline(76));
    DrawLabel(canvas, fonts, "All levels complete", Vec{320, 440}, Subtitle(26));
    return FlattenOpaque(canvas, pal::kSky, kKeyPink);
}

Image GameOver(const Fonts& fonts) {
    Canvas canvas(kWidth, kHeight);
    // An evening sky with rain falling from a grey cloud over a glum Quibbo.
    Fill(canvas, Rect(0, 0, kWidth, kHeight),
         Linear(Vec{0, 0}, Vec{0, kHeight},
                {{0.0, Rgb(46, 62, 130)}, {0.6, Rgb(86, 116, 190)}, {1.0, Rgb(120, 160, 214)}}));
    Scatter s(0xDA1Cu);
    for (int i = 0; i < 70; ++i) {
        const Vec top{s.Between(190, 450), s.Between(200, 450)};
        Fill(canvas, Segment(top, Vec{top.x - 4, top.y + 14}, 1.3),
             Solid(WithAlpha(Rgb(200, 226, 255), 0.7f)));
    }
    DrawCloud(canvas, Vec{170, 104}, 300, 124, 1,
              CloudColours{Rgb(196, 204, 222), Rgb(120, 132, 164), Rgb(96, 116, 170)});

    DrawQuibbo(canvas, Vec{320, 330}, 0.5, Mood::Sad);
    DrawLabel(canvas, fonts, "Game Over", Vec{320, 66}, Headline(84));
    return FlattenOpaque(canvas, Rgb(86, 116, 190), kKeyPink);
}

} // namespace art
