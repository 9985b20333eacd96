#include "raster/Paint.h"

#include <cmath>

namespace raster {

Paint Solid(const Colour& colour) {
    return [colour](Vec) { return colour; };
}

Colour Along(const std::vector<Stop>& stops, double t) {
    if (t <= stops.front().at) {
        return stops.front().colour;
    }
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const double span = stops[i].at - stops[i - 1].at;
            const double f = span > 0 ? (t - stops[i - 1].at) / span : 1.0;
            return Mix(stops[i - 1].colour, stops[i].colour, static_cast<float>(f));
        }
    }
    return stops.back().colour;
}

Paint Linear(Vec from, Vec to, std::vector<Stop> stops) {
    const Vec d{to.x - from.x, to.y - from.y};
    const double len2 = d.x * d.x + d.y * d.y;
    return [from, d, len2, stops = std::move(stops)](Vec p) {
        const double t = ((p.x - from.x) * d.x + (p.y - from.y) * d.y) / len2;
        return Along(stops, t);
    };
}

Paint Radial(Vec centre, double radius, std::vector<Stop> stops) {
    return [centre, radius, stops = std::move(stops)](Vec p) {
        const double dx = p.x - centre.x;
        const double dy = p.y - centre.y;
        return Along(stops, std::sqrt(dx * dx + dy * dy) / radius);
    };
}

} // namespace raster
