// Screens composed from the finished pictures the way the game draws them (keyed blits at the
// game's positions, texts in the interface and title fonts), to judge how the pictures work
// together. For people only: they never go into the game's folder.
#pragma once

#include "content/ContentSet.h"

namespace content {

// The title screen at 640 by 480: sky, clouds, mascot, title and the main menu with its
// second button under the mouse.
raster::Image MockTitleScreen(const ContentSet& set, const raster::Fonts& fonts);
// A moment of play at 640 by 480: a field of blocks, the falling block, the border, the
// next-block frame, the score, countdown, lives and level.
raster::Image MockPlayScreen(const ContentSet& set, const raster::Fonts& fonts);

} // namespace content
