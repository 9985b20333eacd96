// Test access to the playfield's inside: sets up grids and blocks without a level file.
#pragma once

#include "play/CLevel.h"

#include <string>

struct CLevelProbe {
    CLevel& level;

    // A level as a load leaves it, without pictures: entry at (6, 6), empty grid.
    void Start(int blockTypes, int speed, int timer, int8_t nextType = 1) {
        level.blockTypeCount = blockTypes;
        level.levelSpeed = speed;
        level.timer = timer;
        level.grid.fill(0);
        level.entryColumn = 6;
        level.entryRow = 6;
        level.nextType = nextType;
        level.SpawnBlock();
    }
    void Place(int column, int row, int type) {
        level.fallingColumn = column;
        level.fallingRow = row;
        level.fallingType = type;
    }
    void Set(int x, int y, int value) {
        level.grid[CLevel::Index(x, y)] = static_cast<int8_t>(value);
    }
    // Rows top to bottom, one character per cell: '.' empty, '1'-'9' a type, '#' the value -1.
    void Fill(const char* const rows[CLevel::kSize]) {
        for (int y = 0; y < CLevel::kSize; ++y)
            for (int x = 0; x < CLevel::kSize; ++x) {
                char c = rows[y][x];
                Set(x, y, c == '.' ? 0 : c == '#' ? -1 : c - '0');
            }
    }
    std::string Row(int y) const {
        std::string text;
        for (int x = 0; x < CLevel::kSize; ++x) {
            int v = level.Cell(x, y);
            text += v == 0 ? '.' : v < 0 ? '#' : static_cast<char>('0' + v);
        }
        return text;
    }
    int Column() const { return level.fallingColumn; }
    int Row() const { return level.fallingRow; }
    int Type() const { return level.fallingType; }
    int Next() const { return level.nextType; }
    DWORD Interval() const { return level.fallInterval; }
    void SetInterval(DWORD ms) { level.fallInterval = ms; }
    int Speed() const { return level.levelSpeed; }
    void SetLastFall(DWORD ms) { level.lastFallTime = ms; }
    int BlockTypes() const { return level.blockTypeCount; }
    DWORD LastFall() const { return level.lastFallTime; }

    // Everything of `other`'s play (grid, blocks, timing, countdown) but its log and pictures.
    void CopyPlay(const CLevel& other) {
        level.blockTypeCount = other.blockTypeCount;
        level.entryColumn = other.entryColumn;
        level.entryRow = other.entryRow;
        level.fallingColumn = other.fallingColumn;
        level.fallingRow = other.fallingRow;
        level.fallingType = other.fallingType;
        level.nextType = other.nextType;
        level.pendingPoints = other.pendingPoints;
        level.timer = other.timer;
        level.timerStamp = other.timerStamp;
        level.levelSpeed = other.levelSpeed;
        level.fallInterval = other.fallInterval;
        level.lastFallTime = other.lastFallTime;
        level.grid = other.grid;
    }
};
