// One picture of all the game's pictures on the sky, labelled, with the block set as seen
// with deuteranopia and protanopia and the two mock-up screens: for the README and for
// judging the look as a whole.
#pragma once

#include "content/ContentSet.h"

namespace content {

raster::Image ContactSheet(const ContentSet& set, const raster::Fonts& fonts);

} // namespace content
