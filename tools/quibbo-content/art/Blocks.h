// The block pictures: 32 by 32 glossy tiles, each type with its own colour and its own white
// symbol, so that the types stay apart for colour-blind players too.
#pragma once

#include "raster/Colour.h"
#include "raster/Image.h"

#include <vector>

namespace art {

enum class Symbol { Heart, Triangle, Star, Clover, Drop, Diamond, Moon, Ring };

struct BlockType {
    const char* name; // scenery/block_<name>.bmp
    raster::Colour colour;
    Symbol symbol;
};

// In type order: type 1 is the first.
const std::vector<BlockType>& BlockTypes();
raster::Image Block(const BlockType& type);

} // namespace art
