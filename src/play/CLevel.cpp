#include "play/CLevel.h"

#include "log/CLog.h"

#include <mmsystem.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr int kLastCell = CLevel::kSize - 1;
constexpr DWORD kFastDropInterval = 50;
constexpr int kShortestRun = 4;

} // namespace

CLevel::CLevel() = default;

CLevel::~CLevel() {
    Release();
}

void CLevel::SpawnBlock() {
    // Without a loaded level there is no block type to draw from, and no block.
    if (blockTypeCount < 1)
        return;
    fallingColumn = entryColumn;
    fallingRow = entryRow + 1;
    fallingType = nextType;
    nextType = static_cast<int8_t>(std::rand() % blockTypeCount + 1);
    fallInterval = static_cast<DWORD>(levelSpeed);
}

LevelResult CLevel::Step() {
    if (blockTypeCount < 1)
        return LevelResult::Nothing;
    if (fallingRow != kLastCell && !Occupied(fallingColumn, fallingRow + 1)) {
        DWORD now = timeGetTime();
        if (now - lastFallTime <= fallInterval)
            return LevelResult::Nothing;
        lastFallTime = now;
        ++fallingRow;
        return LevelResult::Nothing;
    }
    // Supported from below: the block comes to rest at once, over whatever a turn put here.
    grid[Index(fallingColumn, fallingRow)] = static_cast<int8_t>(fallingType);
    if (Occupied(entryColumn, entryRow + 1))
        return LevelResult::EntryBlocked;
    SpawnBlock();
    return LevelResult::BlockLanded;
}

// A move is made, held at the walls, then undone if it ended on an occupied cell. At a wall the
// block's own cell is tested: if a turn put a resting block there, the "undo" moves it inwards.
void CLevel::MoveLeft() {
    fallingColumn = std::max(fallingColumn - 1, 0);
    if (Occupied(fallingColumn, fallingRow))
        ++fallingColumn;
}

void CLevel::MoveRight() {
    fallingColumn = std::min(fallingColumn + 1, kLastCell);
    if (Occupied(fallingColumn, fallingRow))
        --fallingColumn;
}

void CLevel::RotateClockwise() {
    const auto old = grid;
    for (int x = 0; x < kSize; ++x)
        for (int y = 0; y < kSize; ++y)
            grid[Index(x, y)] = old[Index(y, kLastCell - x)];
}

void CLevel::RotateCounterClockwise() {
    const auto old = grid;
    for (int x = 0; x < kSize; ++x)
        for (int y = 0; y < kSize; ++y)
            grid[Index(x, y)] = old[Index(kLastCell - y, x)];
}

void CLevel::FastDrop() {
    // An interval of 1 becomes 0 (a row every millisecond); every other one becomes 50.
    --fallInterval;
    if (fallInterval != 0)
        fallInterval = kFastDropInterval;
}

void CLevel::EndFastDrop() {
    fallInterval = static_cast<DWORD>(levelSpeed);
}

void CLevel::DropStackInto(int x, int y) {
    // The unbroken stack above (x, y) drops one row; blocks above its first gap stay put.
    for (int row = y; row >= 1; --row) {
        grid[Index(x, row)] = grid[Index(x, row - 1)];
        if (grid[Index(x, row)] == 0)
            return;
    }
    grid[Index(x, 0)] = 0;
}

LevelResult CLevel::RemoveRun() {
    bool anyBlock = false;
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            const int8_t value = grid[Index(x, y)];
            if (value == 0)
                continue;
            anyBlock = true;

            int across = 1;
            while (x + across < kSize && grid[Index(x + across, y)] == value)
                ++across;
            if (across >= kShortestRun) {
                for (int column = x; column < x + across; ++column)
                    DropStackInto(column, y);
                pendingPoints = (across - 3) * across;
                return LevelResult::RowRunRemoved;
            }

            if (kSize - y > 3) {
                int down = 1;
                while (y + down < kSize && grid[Index(x, y + down)] == value)
                    ++down;
                if (down >= kShortestRun) {
                    // Blocks above a run down are left hanging.
                    for (int row = y; row < y + down; ++row)
                        grid[Index(x, row)] = 0;
                    pendingPoints = (down - 3) * down;
                    return LevelResult::ColumnRunRemoved;
                }
            }
        }
    }
    return anyBlock ? LevelResult::Nothing : LevelResult::FieldCleared;
}

int32_t CLevel::TakePoints() {
    int32_t points = pendingPoints;
    pendingPoints = 0;
    return points;
}

void CLevel::StartClock() {
    timerStamp = timeGetTime();
}

bool CLevel::UpdateTimer() {
    // A countdown near the lowest number (a level file may start it there) stops at it instead
    // of overflowing.
    const int64_t left = int64_t{timer} - static_cast<int32_t>(timeGetTime() - timerStamp);
    timer = static_cast<int32_t>(std::clamp(left, int64_t{INT32_MIN}, int64_t{INT32_MAX}));
    timerStamp = timeGetTime();
    return timer <= 0;
}

void CLevel::ScaleSpeed(int32_t percent) {
    // The percentage goes through the single-precision 0.01 on purpose: 500 at 100 gives 499.
    const double scale = static_cast<double>(0.01f);
    const double scaled = percent * scale * levelSpeed;
    // A speed too large for the scale saturates instead of overflowing.
    levelSpeed = static_cast<int32_t>(std::clamp(scaled, double{INT32_MIN}, double{INT32_MAX}));
}
