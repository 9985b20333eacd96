// Inside the computer player: what it makes of a playfield, apart from playing it.
#pragma once

#include "play/CLevel.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace levelplay {

constexpr int kLast = CLevel::kSize - 1;
// The cell a falling block comes in at.
constexpr int kEntryX = 6;
constexpr int kEntryY = 7;

// Four cells in a line, across or down, and what they hold.
struct Four {
    int type = 0;      // the one block type in them, 0 if none
    int count = 0;     // how many blocks of it
    bool clean = true; // no other block in them (nor a hidden cell)
    int gapX = -1;     // an empty one of them, if any
    int gapY = -1;
};

// Calls `f` with every four cells in a line on the playfield.
template <typename F> void ForEachFour(const CLevel& level, F f) {
    for (int direction = 0; direction < 2; ++direction)
        for (int a = 0; a <= kLast; ++a)
            for (int b = 0; b + 3 <= kLast; ++b) {
                Four four;
                for (int i = 0; i < 4; ++i) {
                    const int x = direction == 0 ? b + i : a;
                    const int y = direction == 0 ? a : b + i;
                    const int v = level.Cell(x, y);
                    if (v == 0) {
                        four.gapX = x;
                        four.gapY = y;
                    } else if (v < 0 || (four.type != 0 && v != four.type)) {
                        four.clean = false;
                    } else {
                        four.type = v;
                        ++four.count;
                    }
                }
                f(four);
            }
}

int CountBlocks(const CLevel& level);
bool Occupied(const CLevel& level, int x, int y);
// What the lines of a playfield promise: every four cells in a line that hold two or three
// blocks of one type and nothing else count for it, three with a cell a block can fill most.
double Shape(const CLevel& level);
// What the blocks near the middle cost: there the falling block comes in, and a turn brings
// blocks into its way.
double Danger(const CLevel& level);

// How far a playfield is from empty, type by type, in the terms of a simple strategy: keep the
// blocks of each type in one line, grow it while other types are still short, finish it with
// the block that fills its gap. Per type: 0 none left (or they vanish along with another type's
// run), 1 or 2 a line still that many blocks short of three, 3 a line that one block finishes.
// For every such state, the expected number of blocks still needed is worked out once (value
// iteration over all states; a block of a type whose line is ready may finish it or grow it).
class Outlook {
public:
    explicit Outlook(int types) : place(types), expected(Power(types), 0.0) {
        for (int t = 0; t < types; ++t)
            place[t] = t == 0 ? 1 : place[t - 1] * 4;
        for (int round = 0; round < 100000; ++round) {
            double change = 0;
            for (size_t state = 1; state < expected.size(); ++state) {
                double total = 0;
                for (int t = 0; t < types; ++t)
                    total += 1 + After(static_cast<int>(state), t);
                const double value = total / types;
                change = std::max(change, std::abs(value - expected[state]));
                expected[state] = value;
            }
            if (change < 1e-6)
                break;
        }
    }

    int Digit(int state, int type) const { return state / place[type] % 4; }
    int With(int state, int type, int digit) const {
        return state + (digit - Digit(state, type)) * place[type];
    }
    // Blocks still needed once a block of `type` has been played well from `state`.
    double After(int state, int type) const {
        const int d = Digit(state, type);
        if (d < 3)
            return expected[With(state, type, d + 1)];
        return std::min(expected[state], expected[With(state, type, 0)]);
    }

private:
    static size_t Power(int types) {
        size_t n = 1;
        for (int t = 0; t < types; ++t)
            n *= 4;
        return n;
    }

    std::vector<int> place;
    std::vector<double> expected;
};

} // namespace levelplay
