#pragma once

#include <cstdint>

// What a step of the falling block or a search for runs came to.
enum class LevelResult : int32_t {
    Nothing = 0,          // still falling; or no run and blocks are left
    EntryBlocked = 1,     // the block came to rest with the entry cell occupied: no new block
    FieldCleared = 2,     // no run, and not a single block left in the grid
    BlockLanded = 3,      // the block came to rest and the next one came in
    RowRunRemoved = 4,    // a run across a row vanished
    ColumnRunRemoved = 5, // a run down a column vanished
};
