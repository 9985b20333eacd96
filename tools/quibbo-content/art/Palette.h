// The game's one palette: every picture takes its colours from here, so they belong together.
#pragma once

#include "raster/Colour.h"

namespace art::palette {

using raster::Colour;
using raster::Rgb;

// The sky behind everything (the closing screens' fill; play is one step darker).
constexpr Colour kSky = Rgb(63, 189, 240);
constexpr Colour kSkyDeep = Rgb(40, 140, 215);
constexpr Colour kWhite = Rgb(255, 255, 255);
// Deep navy for outlines and dark text.
constexpr Colour kInk = Rgb(32, 44, 98);

// Clouds: white with a pale sky-tinted rim.
constexpr Colour kCloudTop = Rgb(255, 255, 255);
constexpr Colour kCloudBottom = Rgb(226, 241, 251);
constexpr Colour kCloudRim = Rgb(190, 226, 248);

// Buttons and panels at rest: royal blue.
constexpr Colour kBlueLight = Rgb(112, 150, 250);
constexpr Colour kBlue = Rgb(66, 100, 222);
constexpr Colour kBlueDark = Rgb(40, 60, 170);
constexpr Colour kBlueOutline = Rgb(26, 36, 110);

// Highlights and frames: warm gold.
constexpr Colour kGoldLight = Rgb(255, 236, 130);
constexpr Colour kGold = Rgb(255, 200, 60);
constexpr Colour kGoldDark = Rgb(226, 140, 26);
constexpr Colour kGoldOutline = Rgb(128, 72, 16);

// Quibbo: butter yellow with a cream belly, warm brown outline, rosy cheeks.
constexpr Colour kFurLight = Rgb(255, 244, 176);
constexpr Colour kFur = Rgb(255, 218, 104);
constexpr Colour kFurShade = Rgb(240, 178, 70);
constexpr Colour kFurOutline = Rgb(168, 104, 44);
constexpr Colour kCream = Rgb(255, 250, 230);
constexpr Colour kCheek = Rgb(255, 152, 160);
constexpr Colour kMouth = Rgb(140, 46, 70);
constexpr Colour kTongue = Rgb(255, 134, 160);
constexpr Colour kFeet = Rgb(250, 160, 60);
constexpr Colour kLeaf = Rgb(120, 204, 84);
constexpr Colour kLeafDark = Rgb(58, 140, 58);
constexpr Colour kTear = Rgb(150, 220, 255);

} // namespace art::palette
