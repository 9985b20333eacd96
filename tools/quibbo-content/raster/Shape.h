// Shapes as signed distance functions: negative inside, positive outside, in pixels. Distances
// make anti-aliasing, outlines, insets and rounded unions one-liners; Fill (Draw.h) samples
// them. Every shape also knows a box that holds it, so filling touches only those pixels.
#pragma once

#include <functional>
#include <vector>

namespace raster {

struct Vec {
    double x = 0, y = 0;
};

struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class Shape {
public:
    using Distance = std::function<double(Vec)>;
    Shape(Distance distance, Box bounds) : distance(std::move(distance)), bounds(bounds) {}

    double operator()(Vec p) const { return distance(p); }
    const Box& Bounds() const { return bounds; }

private:
    Distance distance;
    Box bounds;
};

// Primitives.
Shape Circle(Vec centre, double radius);
Shape Ellipse(Vec centre, double rx, double ry);
Shape Rect(double x0, double y0, double x1, double y1);
Shape RoundedRect(double x0, double y0, double x1, double y1, double radius);
// Any simple polygon, corners in order (either direction).
Shape Polygon(std::vector<Vec> corners);
// A thick line with round ends.
Shape Segment(Vec a, Vec b, double radius);
// A thick arc with round ends, from angle `from` to `to` (radians, counter-clockwise from the
// x axis with y pointing down, so increasing angles turn clockwise on screen).
Shape Arc(Vec centre, double radius, double from, double to, double thickness);
// A star with `points` tips, the first pointing up.
Shape Star(Vec centre, double outer, double inner, int points);

// Combinations.
Shape Union(const Shape& a, const Shape& b);
Shape Intersect(const Shape& a, const Shape& b);
Shape Subtract(const Shape& a, const Shape& b);
// A union whose seam is rounded over about `k` pixels, for soft, organic outlines.
Shape SmoothUnion(const Shape& a, const Shape& b, double k);
// Grown outwards by `d` pixels (negative: shrunk inwards).
Shape Grow(const Shape& s, double d);
// A band `width` pixels wide centred on the shape's edge.
Shape Outline(const Shape& s, double width);
// Moved by `offset`.
Shape Moved(const Shape& s, Vec offset);
// Turned about `centre` by `radians` (clockwise on screen).
Shape Turned(const Shape& s, Vec centre, double radians);
// Scaled about the origin by `factor`, then moved by `offset`: drawings made in their own
// units placed anywhere at any size.
Shape Placed(const Shape& s, Vec offset, double factor);

} // namespace raster
