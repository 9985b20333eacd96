#pragma once

#include "play/LevelFile.h"

#include <string>
#include <vector>

// The readable text form of a level file, for people who make levels:
//
//   # comments start with '#' where a word or a cell could start
//   speed 500                  the fall interval in milliseconds
//   timer 60000                the countdown in milliseconds
//   block 1 blocks/red.bmp     the picture of block type 1 ("quoted" when it holds blanks)
//   grid                       then 13 rows of 13 cells, top row first:
//   . . . 1 2 * [-5] ...       '.' empty, 1-9 and A-Z block types 1 to 35, '*' a hidden cell
//                              (-1), [n] any value from -128 to 127
//
// Two more lines keep bytes of a file that the game never reads, so that a file rebuilt from
// its text is the same to the byte: "padding 1 00ff..." (after block 1's name and its zero)
// and "trailer 0a0b..." (after the grid).
namespace LevelText {

// The text of a level, as `show` prints it. Parse gives the same level back.
std::string Format(const LevelFile& level);

// Builds a level from its text. `source` names the text in messages, which read
// "source:line: message" (or "source: message" for something missing altogether). True with
// the level filled in; false with one message per fault in `errors` and the level unchanged.
// After 50 faults reading stops, and one more message says where.
bool Parse(const std::string& text, const std::string& source, LevelFile& level,
           std::vector<std::string>& errors);

} // namespace LevelText
