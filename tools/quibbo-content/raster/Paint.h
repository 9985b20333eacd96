// What a shape is filled with: a colour for every point.
#pragma once

#include "raster/Colour.h"
#include "raster/Shape.h"

#include <functional>
#include <vector>

namespace raster {

using Paint = std::function<Colour(Vec)>;

struct Stop {
    double at;
    Colour colour;
};

Paint Solid(const Colour& colour);
// Colours along the line from `from` to `to`; before and after it the end colours hold.
Paint Linear(Vec from, Vec to, std::vector<Stop> stops);
// Colours by distance from `centre`, 0 at the centre and 1 at `radius`.
Paint Radial(Vec centre, double radius, std::vector<Stop> stops);
// The colour at position t (0..1) of a list of stops in increasing order.
Colour Along(const std::vector<Stop>& stops, double t);

} // namespace raster
