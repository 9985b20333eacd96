#include "raster/Shape.h"

#include <algorithm>
#include <cmath>

namespace raster {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Length(Vec v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

Box Around(Vec centre, double rx, double ry) {
    return Box{centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry};
}

Box BoxUnion(const Box& a, const Box& b) {
    return Box{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1),
               std::max(a.y1, b.y1)};
}

Box BoxIntersect(const Box& a, const Box& b) {
    return Box{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
               std::min(a.y1, b.y1)};
}

Box BoxGrow(const Box& a, double d) {
    return Box{a.x0 - d, a.y0 - d, a.x1 + d, a.y1 + d};
}

} // namespace

Shape Circle(Vec c, double r) {
    return Shape([c, r](Vec p) { return Length(Vec{p.x - c.x, p.y - c.y}) - r; }, Around(c, r, r));
}

Shape Ellipse(Vec c, double rx, double ry) {
    // A first-order distance: exact on the edge, close to it nearby, which is where it counts.
    return Shape(
        [c, rx, ry](Vec p) {
            const double x = (p.x - c.x) / rx;
            const double y = (p.y - c.y) / ry;
            const double k0 = std::sqrt(x * x + y * y);
            const double k1 = std::sqrt(x * x / (rx * rx) + y * y / (ry * ry));
            if (k1 < 1e-12) {
                return -std::min(rx, ry);
            }
            return k0 * (k0 - 1.0) / k1;
        },
        Around(c, rx, ry));
}

Shape Rect(double x0, double y0, double x1, double y1) {
    return RoundedRect(x0, y0, x1, y1, 0.0);
}

Shape RoundedRect(double x0, double y0, double x1, double y1, double radius) {
    const Vec c{(x0 + x1) / 2, (y0 + y1) / 2};
    const double hx = (x1 - x0) / 2 - radius;
    const double hy = (y1 - y0) / 2 - radius;
    return Shape(
        [c, hx, hy, radius](Vec p) {
            const double qx = std::abs(p.x - c.x) - hx;
            const double qy = std::abs(p.y - c.y) - hy;
            const double outside = Length(Vec{std::max(qx, 0.0), std::max(qy, 0.0)});
            return outside + std::min(std::max(qx, qy), 0.0) - radius;
        },
        Box{x0, y0, x1, y1});
}

Shape Polygon(std::vector<Vec> v) {
    Box box{v[0].x, v[0].y, v[0].x, v[0].y};
    for (const Vec& p : v) {
        box = BoxUnion(box, Box{p.x, p.y, p.x, p.y});
    }
    return Shape(
        [v](Vec p) {
            // Distance to the nearest edge; the sign from the crossing count.
            double d = (p.x - v[0].x) * (p.x - v[0].x) + (p.y - v[0].y) * (p.y - v[0].y);
            bool inside = false;
            for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
                const Vec e{v[j].x - v[i].x, v[j].y - v[i].y};
                const Vec w{p.x - v[i].x, p.y - v[i].y};
                const double t =
                    std::clamp((w.x * e.x + w.y * e.y) / (e.x * e.x + e.y * e.y), 0.0, 1.0);
                const Vec b{w.x - e.x * t, w.y - e.y * t};
                d = std::min(d, b.x * b.x + b.y * b.y);
                if ((v[i].y > p.y) != (v[j].y > p.y) &&
                    p.x < (v[j].x - v[i].x) * (p.y - v[i].y) / (v[j].y - v[i].y) + v[i].x) {
                    inside = !inside;
                }
            }
            return inside ? -std::sqrt(d) : std::sqrt(d);
        },
        box);
}

Shape Segment(Vec a, Vec b, double radius) {
    const Box box = BoxGrow(BoxUnion(Box{a.x, a.y, a.x, a.y}, Box{b.x, b.y, b.x, b.y}), radius);
    return Shape(
        [a, b, radius](Vec p) {
            const Vec pa{p.x - a.x, p.y - a.y};
            const Vec ba{b.x - a.x, b.y - a.y};
            const double len2 = ba.x * ba.x + ba.y * ba.y;
            const double t =
                len2 > 0 ? std::clamp((pa.x * ba.x + pa.y * ba.y) / len2, 0.0, 1.0) : 0.0;
            return Length(Vec{pa.x - ba.x * t, pa.y - ba.y * t}) - radius;
        },
        box);
}

Shape Arc(Vec c, double radius, double from, double to, double thickness) {
    const double half = thickness / 2;
    const Vec endA{c.x + radius * std::cos(from), c.y + radius * std::sin(from)};
    const Vec endB{c.x + radius * std::cos(to), c.y + radius * std::sin(to)};
    return Shape(
        [c, radius, from, to, half, endA, endB](Vec p) {
            double angle = std::atan2(p.y - c.y, p.x - c.x);
            while (angle < from) {
                angle += 2 * kPi;
            }
            if (angle <= to) {
                return std::abs(Length(Vec{p.x - c.x, p.y - c.y}) - radius) - half;
            }
            const double da = Length(Vec{p.x - endA.x, p.y - endA.y});
            const double db = Length(Vec{p.x - endB.x, p.y - endB.y});
            return std::min(da, db) - half;
        },
        Around(c, radius + half, radius + half));
}

Shape Star(Vec c, double outer, double inner, int points) {
    std::vector<Vec> corners;
    for (int i = 0; i < points * 2; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double angle = -kPi / 2 + i * kPi / points;
        corners.push_back(Vec{c.x + r * std::cos(angle), c.y + r * std::sin(angle)});
    }
    return Polygon(std::move(corners));
}

Shape Union(const Shape& a, const Shape& b) {
    return Shape([a, b](Vec p) { return std::min(a(p), b(p)); }, BoxUnion(a.Bounds(), b.Bounds()));
}

Shape Intersect(const Shape& a, const Shape& b) {
    return Shape([a, b](Vec p) { return std::max(a(p), b(p)); },
                 BoxIntersect(a.Bounds(), b.Bounds()));
}

Shape Subtract(const Shape& a, const Shape& b) {
    return Shape([a, b](Vec p) { return std::max(a(p), -b(p)); }, a.Bounds());
}

Shape SmoothUnion(const Shape& a, const Shape& b, double k) {
    return Shape(
        [a, b, k](Vec p) {
            const double da = a(p);
            const double db = b(p);
            const double h = std::clamp(0.5 + 0.5 * (db - da) / k, 0.0, 1.0);
            return db + (da - db) * h - k * h * (1.0 - h);
        },
        BoxGrow(BoxUnion(a.Bounds(), b.Bounds()), k / 4));
}

Shape Grow(const Shape& s, double d) {
    return Shape([s, d](Vec p) { return s(p) - d; }, BoxGrow(s.Bounds(), std::max(d, 0.0)));
}

Shape Outline(const Shape& s, double width) {
    return Shape([s, width](Vec p) { return std::abs(s(p)) - width / 2; },
                 BoxGrow(s.Bounds(), width / 2));
}

Shape Moved(const Shape& s, Vec o) {
    const Box& b = s.Bounds();
    return Shape(
        [s, o](Vec p) {
            return s(Vec{p.x - o.x, p.y - o.y});
        },
        Box{b.x0 + o.x, b.y0 + o.y, b.x1 + o.x, b.y1 + o.y});
}

Shape Turned(const Shape& s, Vec c, double radians) {
    const double cs = std::cos(radians);
    const double sn = std::sin(radians);
    // The turned box: the box around the turned corners of the old one.
    const Box& b = s.Bounds();
    Box box{1e300, 1e300, -1e300, -1e300};
    for (const Vec& q : {Vec{b.x0, b.y0}, Vec{b.x1, b.y0}, Vec{b.x0, b.y1}, Vec{b.x1, b.y1}}) {
        const double x = c.x + (q.x - c.x) * cs - (q.y - c.y) * sn;
        const double y = c.y + (q.x - c.x) * sn + (q.y - c.y) * cs;
        box = BoxUnion(box, Box{x, y, x, y});
    }
    return Shape(
        [s, c, cs, sn](Vec p) {
            const double dx = p.x - c.x;
            const double dy = p.y - c.y;
            return s(Vec{c.x + dx * cs + dy * sn, c.y - dx * sn + dy * cs});
        },
        box);
}

Shape Placed(const Shape& s, Vec o, double f) {
    const Box& b = s.Bounds();
    return Shape(
        [s, o, f](Vec p) {
            return s(Vec{(p.x - o.x) / f, (p.y - o.y) / f}) * f;
        },
        Box{o.x + b.x0 * f, o.y + b.y0 * f, o.x + b.x1 * f, o.y + b.y1 * f});
}

} // namespace raster
