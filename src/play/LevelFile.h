#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A level file in memory, as the game and the level tool read and write it.
//
// On disk, all numbers little-endian, with N the block-type count:
//   offset 0            4 bytes    N, 1 to 127
//   offset 4 + 255*i    255 bytes  the picture name of block type i + 1, ending in a zero
//   offset 4 + 255*N    4 bytes    speed: the fall interval in milliseconds
//   offset 8 + 255*N    4 bytes    timer: the countdown in milliseconds
//   offset 12 + 255*N   169 bytes  the grid, row by row from the top: byte 13*y + x is cell (x, y)
// Bytes after the grid are not part of the level; they are kept only so that a file can be
// written back unchanged.
//
// Parse refuses a file the game cannot play safely, and says why in words that read well after
// the file name ("levels/3.lev: grid cell (4, 7): value 9 is above the block-type count 5").
struct LevelFile {
    static constexpr int32_t kFewestBlockTypes = 1;
    // Cell values are signed bytes, so no block type above 127 can ever be placed.
    static constexpr int32_t kMostBlockTypes = 127;
    static constexpr int kNameFieldSize = 255;
    static constexpr int kGridSize = 13;
    static constexpr int kGridCells = kGridSize * kGridSize;
    // The count, speed, timer and grid: everything but the picture names.
    static constexpr size_t kFixedBytes = 4 + 4 + 4 + kGridCells;
    static constexpr size_t kLongestLevel = kFixedBytes + kNameFieldSize * kMostBlockTypes;

    using NameField = std::array<char, kNameFieldSize>;

    // One field per block type: nameFields[i] names the picture of block type i + 1. Bytes after
    // the name's terminating zero are padding, which the game never reads.
    std::vector<NameField> nameFields;
    int32_t speed = 0;
    int32_t timer = 0;
    // In file order: element 13 * y + x is cell (x, y). 0 empty, 1 to N a block of that type,
    // below 0 an occupied cell that is never drawn.
    std::array<int8_t, kGridCells> grid{};
    // Whatever followed the grid in the file.
    std::vector<uint8_t> trailer;

    // The length of a level file with `blockTypes` block types (1 to 127), trailer not counted.
    static constexpr size_t LevelBytes(int32_t blockTypes) {
        return kFixedBytes + static_cast<size_t>(kNameFieldSize) * static_cast<size_t>(blockTypes);
    }

    int32_t BlockTypeCount() const { return static_cast<int32_t>(nameFields.size()); }
    // The picture name of block type `type` (1 to N); it ends at the field's first zero.
    std::string Name(int32_t type) const;
    // Makes the field of block type `type` (1 to N) hold `name` and zeros after it. False, with
    // the field unchanged, when the name does not fit with its zero or holds a zero itself.
    bool SetName(int32_t type, const std::string& name);

    int8_t Cell(int x, int y) const { return grid[kGridSize * y + x]; }
    void SetCell(int x, int y, int8_t value) { grid[kGridSize * y + x] = value; }

    // Reads a level from the bytes of a file. On success the level holds them and the result is
    // true. Otherwise the level is unchanged, the result is false and `faults` holds one line per
    // fault found, in file order, each naming the field ("timer: ..."); reading stops at a
    // block-type count out of range and at the end of the bytes.
    bool Parse(const uint8_t* bytes, size_t size, std::vector<std::string>& faults);
    // Reads the rest of an open file, at most as far as the longest level reaches (bytes after a
    // level's grid are not needed, so the trailer keeps only what lies within that reach), and
    // parses it. A read error is a fault of its own.
    bool Read(std::FILE* file, std::vector<std::string>& faults);
    // The bytes of the level file, trailer included: Parse of these gives this level back.
    std::vector<uint8_t> Bytes() const;
};
