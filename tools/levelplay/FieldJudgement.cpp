// What the computer player makes of a playfield.
#include "FieldJudgement.h"

#include <array>

namespace levelplay {

int CountBlocks(const CLevel& level) {
    int blocks = 0;
    for (int x = 0; x <= kLast; ++x)
        for (int y = 0; y <= kLast; ++y)
            blocks += level.Cell(x, y) != 0 ? 1 : 0;
    return blocks;
}

bool Occupied(const CLevel& level, int x, int y) {
    return level.Cell(x, y) != 0;
}

namespace {

// Whether a falling block could come to rest in the empty cell (x, y) with the field turned
// some way: it needs something under it (or the wall) on that side, and must lie no higher
// than the entry row counted from that side, since blocks only ever fall from there.
bool Fillable(const CLevel& level, int x, int y) {
    const bool down = y >= kEntryY && (y == kLast || Occupied(level, x, y + 1));
    const bool right = x >= kEntryY && (x == kLast || Occupied(level, x + 1, y));
    const bool left = kLast - x >= kEntryY && (x == 0 || Occupied(level, x - 1, y));
    const bool up = kLast - y >= kEntryY && (y == 0 || Occupied(level, x, y - 1));
    return down || right || left || up;
}

} // namespace

// What the lines of a playfield promise: every four cells in a line that hold two or three
// blocks of one type and nothing else count for it, three with a cell a block can fill most.
double Shape(const CLevel& level) {
    double score = 0;
    ForEachFour(level, [&](const Four& four) {
        if (!four.clean || four.count < 2)
            return;
        if (four.count == 2)
            score += 1.0;
        else
            score += Fillable(level, four.gapX, four.gapY) ? 6.0 : 2.0;
    });
    return score;
}

// What the blocks near the middle cost: there the falling block comes in, and a turn brings
// blocks into its way.
double Danger(const CLevel& level) {
    double cost = 0;
    if (Occupied(level, kEntryX, kEntryY + 1))
        cost += 1e7; // the next block would come to rest in the entry cell
    // A turn brings these to the entry cell and the cell below it.
    static constexpr std::array<std::array<int, 2>, 6> kTurnedIntoEntry{
        {{7, 6}, {5, 6}, {6, 5}, {8, 6}, {4, 6}, {6, 4}}};
    for (const auto& cell : kTurnedIntoEntry)
        cost += Occupied(level, cell[0], cell[1]) ? 3000.0 : 0.0;
    // Blocks beside the entry keep the falling block from steering.
    cost += Occupied(level, kEntryX - 1, kEntryY) ? 1000.0 : 0.0;
    cost += Occupied(level, kEntryX + 1, kEntryY) ? 1000.0 : 0.0;
    cost += Occupied(level, kEntryX, kEntryY + 2) ? 3000.0 : 0.0;
    cost += Occupied(level, kEntryX, kEntryY + 3) ? 300.0 : 0.0;
    for (int x = 3; x <= 9; ++x)
        for (int y = 3; y <= 9; ++y)
            cost += Occupied(level, x, y) ? 100.0 : 0.0;
    return cost;
}

} // namespace levelplay
