// The generator's raster library: shapes, compositing, masks, copying and the colour-blindness
// view, where a slip would quietly spoil every picture.
#include "raster/Canvas.h"
#include "raster/ColourVision.h"
#include "raster/Draw.h"
#include "raster/Image.h"
#include "raster/Mask.h"
#include "raster/Text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace raster;

constexpr double kPi = 3.14159265358979323846;

TEST(ContentShapeTest, DistancesHaveTheRightSignAndSize) {
    const Shape box = RoundedRect(0, 0, 10, 20, 3);
    EXPECT_NEAR(box(Vec{5, 10}), -5.0, 1e-9); // 5 from the nearest side
    EXPECT_NEAR(box(Vec{15, 10}), 5.0, 1e-9);
    EXPECT_NEAR(box(Vec{-3, -3}), 3 * std::sqrt(2.0) + 3 * (std::sqrt(2.0) - 1), 1e-9);

    // A polygon is inside-negative whichever way its corners run.
    const Shape clockwise = Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    const Shape anticlockwise = Polygon({{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    for (const Shape& s : {clockwise, anticlockwise}) {
        EXPECT_NEAR(s(Vec{5, 5}), -5.0, 1e-9);
        EXPECT_NEAR(s(Vec{13, 5}), 3.0, 1e-9);
    }
    // An ellipse's edge is exact on its axes.
    const Shape e = Ellipse(Vec{0, 0}, 20, 5);
    EXPECT_NEAR(e(Vec{20, 0}), 0.0, 1e-9);
    EXPECT_NEAR(e(Vec{0, -5}), 0.0, 1e-9);
    EXPECT_LT(e(Vec{19, 0}), 0.0);
    EXPECT_GT(e(Vec{0, 6}), 0.0);

    const Shape a = Circle(Vec{0, 0}, 10);
    const Shape b = Circle(Vec{12, 0}, 10);
    EXPECT_LT(Union(a, b)(Vec{-5, 0}), 0);
    EXPECT_LT(Intersect(a, b)(Vec{6, 0}), 0);
    EXPECT_GT(Intersect(a, b)(Vec{-5, 0}), 0);
    EXPECT_GT(Subtract(a, b)(Vec{6, 0}), 0);
    EXPECT_LT(Subtract(a, b)(Vec{-5, 0}), 0);
    // A smooth union fills the notch between two circles that a plain union leaves.
    EXPECT_GT(Union(a, b)(Vec{6, 8.5}), 0);
    EXPECT_LT(SmoothUnion(a, b, 8)(Vec{6, 8.5}), 0);
    EXPECT_NEAR(Outline(a, 2)(Vec{10, 0}), -1.0, 1e-9);
    EXPECT_NEAR(Grow(a, 2)(Vec{12, 0}), 0.0, 1e-9);
}

TEST(ContentShapeTest, MovedTurnedAndPlacedShapesLandWhereAsked) {
    const Shape bar = Rect(0, -1, 10, 1); // along the x axis
    // A quarter turn clockwise on screen (y down) points it down the y axis.
    const Shape turned = Turned(bar, Vec{0, 0}, kPi / 2);
    EXPECT_LT(turned(Vec{0, 8}), 0);
    EXPECT_GT(turned(Vec{8, 0}), 0);
    EXPECT_NEAR(turned.Bounds().y1, 10.0, 1e-9);
    EXPECT_LT(Moved(bar, Vec{100, 50})(Vec{105, 50}), 0);
    EXPECT_NEAR(Moved(bar, Vec{100, 50}).Bounds().x0, 100.0, 1e-9);
    // Placed scales distances with the shape, so outlines and anti-aliasing stay in pixels.
    const Shape big = Placed(Circle(Vec{0, 0}, 10), Vec{50, 50}, 3);
    EXPECT_NEAR(big(Vec{50, 50}), -30.0, 1e-9);
    EXPECT_NEAR(big(Vec{50 + 36, 50}), 6.0, 1e-9);
    EXPECT_NEAR(big.Bounds().x1, 80.0, 1e-9);
    // An arc covers its span and nothing of the rest of its circle.
    const Shape topHalf = Arc(Vec{0, 0}, 10, kPi, 2 * kPi, 2); // y < 0 on screen
    EXPECT_LT(topHalf(Vec{0, -10}), 0);
    EXPECT_GT(topHalf(Vec{0, 10}), 0);
    EXPECT_NEAR(topHalf(Vec{12, 0}), 1.0, 1e-9); // past the round end at (10, 0)
}

TEST(ContentCanvasTest, LayersCompositeWithTheirCoverage) {
    Canvas canvas(2, 1);
    canvas.Clear(Rgb(0, 0, 0));
    canvas.Blend(0, 0, Rgb(255, 255, 255), 0.5f);
    canvas.Blend(1, 0, Rgb(255, 255, 255, 0.5f), 1.0f);
    for (int x = 0; x < 2; ++x) {
        EXPECT_FLOAT_EQ(canvas.At(x, 0).r, 0.5f);
        EXPECT_FLOAT_EQ(canvas.At(x, 0).a, 1.0f);
    }
    // A half-transparent layer keeps what is under its clear parts.
    Canvas layer(2, 1);
    layer.Blend(0, 0, Rgb(255, 0, 0), 1.0f);
    canvas.Draw(layer, 0, 0, 0.5f);
    EXPECT_FLOAT_EQ(canvas.At(0, 0).r, 0.75f);
    EXPECT_FLOAT_EQ(canvas.At(0, 0).g, 0.25f);
    EXPECT_FLOAT_EQ(canvas.At(1, 0).g, 0.5f);
    // Drawing off the edge is cut off, not wrapped.
    canvas.Draw(layer, 1, 0);
    EXPECT_FLOAT_EQ(canvas.At(1, 0).r, 1.0f);
    EXPECT_FLOAT_EQ(canvas.At(0, 0).r, 0.75f);
}

TEST(ContentImageTest, BlitScalesByNearestPixelSkipsTheKeyAndClips) {
    const Pixel key{1, 2, 3};
    Image source(2, 2);
    source.At(0, 0) = Pixel{10, 0, 0};
    source.At(1, 0) = key;
    source.At(0, 1) = Pixel{30, 0, 0};
    source.At(1, 1) = Pixel{40, 0, 0};
    Image target(5, 5, Pixel{99, 99, 99});
    Blit(target, source, -1, 1, 4, 4, key);          // doubled, one column off the left edge
    EXPECT_EQ(target.At(0, 1), (Pixel{10, 0, 0}));   // the second column of source (0, 0)
    EXPECT_EQ(target.At(1, 1), (Pixel{99, 99, 99})); // key left out
    EXPECT_EQ(target.At(2, 2), (Pixel{99, 99, 99}));
    EXPECT_EQ(target.At(0, 3), (Pixel{30, 0, 0}));
    EXPECT_EQ(target.At(2, 4), (Pixel{40, 0, 0}));
    EXPECT_EQ(target.At(3, 4), (Pixel{99, 99, 99})); // past the scaled picture
    EXPECT_EQ(target.At(0, 0), (Pixel{99, 99, 99}));

    const Image reduced = Reduce(source, 2);
    ASSERT_EQ(reduced.Width(), 1);
    EXPECT_EQ(reduced.At(0, 0).r, (10 + 1 + 30 + 40 + 2) / 4);
    EXPECT_EQ(Enlarge(source, 3).At(5, 5), (Pixel{40, 0, 0}));
}

TEST(ContentMaskTest, BlurKeepsTheInkAndSpreadGrowsItEvenly) {
    Mask dot = Padded(Mask(1, 1), 10);
    dot.At(10, 10) = 1.0f;
    const Mask soft = Blur(dot, 2);
    double total = 0;
    for (int y = 0; y < soft.Height(); ++y) {
        for (int x = 0; x < soft.Width(); ++x) {
            total += soft.At(x, y);
        }
    }
    EXPECT_NEAR(total, 1.0, 1e-4);
    EXPECT_GT(soft.At(10, 10), soft.At(12, 10));
    EXPECT_FLOAT_EQ(soft.At(12, 10), soft.At(10, 12));

    const Mask grown = Spread(dot, 3);
    EXPECT_FLOAT_EQ(grown.At(13, 10), 1.0f);
    EXPECT_FLOAT_EQ(grown.At(10, 7), 1.0f);
    EXPECT_FLOAT_EQ(grown.At(15, 10), 0.0f);
    EXPECT_LT(grown.At(13, 13), 0.01f); // a disc, not a square
    const Box ink = InkBounds(grown);
    EXPECT_EQ(ink.x0, 7);
    EXPECT_EQ(ink.x1, 14);
}

TEST(ContentColourVisionTest, GreysStayAndRedMeetsGreen) {
    for (const Pixel grey : {Pixel{0, 0, 0}, Pixel{128, 128, 128}, Pixel{255, 255, 255}}) {
        for (const Deficiency d : {Deficiency::Deuteranopia, Deficiency::Protanopia}) {
            EXPECT_LE(ChannelDistance(SeenWith(d, grey), grey), 1);
        }
    }
    // A red and a green of equal lightness, far apart for most players, nearly alike here.
    const Pixel red{200, 90, 70};
    const Pixel green{120, 140, 60};
    EXPECT_GT(ChannelDistance(red, green), 70);
    EXPECT_LT(ChannelDistance(SeenWith(Deficiency::Deuteranopia, red),
                              SeenWith(Deficiency::Deuteranopia, green)),
              25);
}

TEST(ContentFontsTest, BothFacesAreFoundAndRenderLikeGdiText) {
    Fonts fonts;
    ASSERT_TRUE(fonts.Ready()) << fonts.Problem();
    EXPECT_FALSE(fonts.FileOf(Face::Interface).empty());
    EXPECT_NE(fonts.FileOf(Face::Title), fonts.FileOf(Face::Interface));
    EXPECT_NE(fonts.FileOf(Face::InterfaceBold), fonts.FileOf(Face::Interface));

    const Mask score = fonts.Render(Face::Interface, 23, "Score: 0");
    // A line as tall as the font's ascent and descent, wider than it is tall, with ink from
    // near the top-left corner on.
    EXPECT_GE(score.Height(), 23);
    EXPECT_LE(score.Height(), 32);
    EXPECT_GT(score.Width(), 3 * score.Height());
    const Box ink = InkBounds(score);
    EXPECT_LE(ink.x0, 3);
    EXPECT_GT(ink.y1 - ink.y0, 12);
    EXPECT_EQ(fonts.Render(Face::Title, 64, "").Width(), 0);
}

} // namespace
