// Drawing and keying: anti-aliased coverage, and the rules that keep the transparent colour
// exactly where it belongs.
#include "raster/Draw.h"
#include "raster/Keying.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace raster;

TEST(ContentDrawTest, CoverageFollowsTheShapeAtSubpixelPrecision) {
    // An edge through the middle of a pixel covers half of it.
    EXPECT_FLOAT_EQ(Coverage(Rect(0, 0, 2.5, 1), 2, 0), 0.5f);
    EXPECT_FLOAT_EQ(Coverage(Rect(0, 0, 2.5, 1), 1, 0), 1.0f);
    EXPECT_FLOAT_EQ(Coverage(Rect(0, 0, 2.5, 1), 3, 0), 0.0f);
    // The covered area of a circle adds up to its true area, edges included.
    const Shape disc = Circle(Vec{20.3, 19.7}, 11.4);
    double area = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            area += Coverage(disc, x, y);
        }
    }
    EXPECT_NEAR(area, 3.14159265 * 11.4 * 11.4, 3.0);
}

TEST(ContentKeyingTest, ColoursNearTheKeyAreMovedClearAndOthersKept) {
    EXPECT_EQ(ClearOfKey(Pixel{10, 200, 30}, kKeyPink, 24), (Pixel{10, 200, 30}));
    EXPECT_EQ(ClearOfKey(Pixel{228, 127, 101}, kKeyPink, 24), (Pixel{228, 127, 101}));
    for (const Pixel near : {kKeyPink, Pixel{230, 110, 96}, Pixel{220, 100, 110}}) {
        const Pixel moved = ClearOfKey(near, kKeyPink, 24);
        EXPECT_EQ(ChannelDistance(moved, kKeyPink), 24)
            << int(near.r) << "," << int(near.g) << "," << int(near.b);
    }
    // Black key: a near-black pixel is lifted, as no channel can go below 0.
    const Pixel lifted = ClearOfKey(Pixel{3, 5, 2}, kKeyBlack, 24);
    EXPECT_EQ(ChannelDistance(lifted, kKeyBlack), 24);
    // A key channel near the top cannot move up by the margin: it moves down instead.
    const Pixel high = ClearOfKey(Pixel{250, 250, 250}, Pixel{250, 250, 250}, 24);
    EXPECT_EQ(ChannelDistance(high, Pixel{250, 250, 250}), 24);
}

TEST(ContentKeyingTest, SoftEdgesBlendWithTheMatteNeverWithTheKey) {
    Canvas canvas(40, 40);
    Fill(canvas, Circle(Vec{20, 20}, 13.3), Solid(Rgb(255, 255, 255)));
    const Colour matte = Rgb(30, 60, 120);
    const Image image = Flatten(canvas, kKeyPink, matte);
    int edge = 0;
    for (const Pixel& p : image.Pixels()) {
        if (p == kKeyPink) {
            continue;
        }
        EXPECT_GE(ChannelDistance(p, kKeyPink), kKeyMargin);
        // Between the matte and white in every channel: no trace of the key's red.
        EXPECT_GE(p.r, 30);
        EXPECT_GE(p.g, 60);
        EXPECT_GE(p.b, 120);
        EXPECT_LE(p.r, p.b);
        edge += p != Pixel{255, 255, 255} ? 1 : 0;
    }
    EXPECT_GT(edge, 20); // the edge really is anti-aliased
    EXPECT_EQ(image.At(0, 0), kKeyPink);
    EXPECT_EQ(image.At(20, 20), (Pixel{255, 255, 255}));
}

TEST(ContentKeyingTest, SpecksAndPinholesAreCleanedRealHolesKept) {
    Canvas canvas(40, 40);
    const Colour red = Rgb(200, 0, 0);
    // A square with a 2 by 2 pinhole, a 6 by 6 window and a one-pixel notch open to the
    // picture's edge, and a lone opaque pixel in the background.
    const Shape holes = Union(Union(Rect(5, 5, 7, 7), Rect(15, 15, 21, 21)), Rect(0, 10, 1, 11));
    Fill(canvas, Subtract(Rect(0, 2, 30, 30), holes), Solid(red));
    Fill(canvas, Rect(35, 35, 36, 36), Solid(red));
    const Image image = Flatten(canvas, kKeyPink, red);
    EXPECT_EQ(image.At(35, 35), kKeyPink); // speck dropped
    EXPECT_NE(image.At(5, 5), kKeyPink);   // pinhole filled
    EXPECT_NE(image.At(6, 6), kKeyPink);
    EXPECT_EQ(image.At(17, 17), kKeyPink);           // window kept
    EXPECT_EQ(image.At(0, 10), kKeyPink);            // notch at the edge kept
    EXPECT_EQ(image.At(10, 10), (Pixel{200, 0, 0})); // the square itself untouched
}

} // namespace
