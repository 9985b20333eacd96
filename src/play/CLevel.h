#pragma once

#include "gfx/CSprite.h"
#include "play/LevelResult.h"

#include <windows.h>

#include <array>
#include <cstdint>

class CGraphics;
class CLog;
struct LevelFile;

// The playfield: 13 by 13 cells of resting blocks, stored column by column, one falling block,
// the type of the block that comes next, the fall timing and the level countdown.
class CLevel {
public:
    static constexpr int kSize = 13;
    static constexpr int kCells = kSize * kSize;

    CLevel();
    ~CLevel();
    CLevel(const CLevel&) = delete;
    CLevel& operator=(const CLevel&) = delete;

    // Opens the level log. False only when the log object cannot be made.
    bool Init();
    // Loads a level file: block pictures, speed, countdown and starting grid, then the first
    // falling block and the next one. A file that cannot be played is refused before anything
    // changes, with the reason in the level log.
    bool Load(const char* fileName, CGraphics& graphics);
    // Gives up the pictures and closes the level log.
    void Release();
    // Draws the resting blocks, the falling block and the preview of the next block, with the
    // playfield's top-left corner at (originX, originY).
    void Draw(CGraphics& graphics, int originX, int originY, int screenHeight);

    // The next block becomes the falling block at the cell below the entry point, and a new next
    // type is drawn. Before any level is loaded there are no block types and nothing is spawned.
    void SpawnBlock();
    // Moves the falling block down at most one row, or lets it come to rest.
    LevelResult Step();
    void MoveLeft();
    void MoveRight();
    // Turn the resting blocks a quarter turn; the falling block stays where it is.
    void RotateClockwise();
    void RotateCounterClockwise();
    // The falling block hurries (50 ms a row) until EndFastDrop or the next block.
    void FastDrop();
    void EndFastDrop();
    // Removes the first run of four or more equal blocks in scan order, if any.
    LevelResult RemoveRun();
    // The points of the last run removed, once.
    int32_t TakePoints();

    int32_t GetTimer() const { return timer; }
    void StartClock();
    // Takes the time since the last update off the countdown; true once it has run out.
    bool UpdateTimer();
    // Scales the level speed by the difficulty percentage (125 easy, 100 medium, 75 hard).
    void ScaleSpeed(int32_t percent);

    // Cell (x, y), x the column from the left, y the row from the top; 0 is empty.
    int8_t Cell(int x, int y) const { return grid[Index(x, y)]; }

private:
    friend struct CLevelProbe; // tests set up grids and blocks directly

    static constexpr int Index(int x, int y) { return kSize * x + y; }
    bool Occupied(int x, int y) const { return grid[Index(x, y)] != 0; }
    void DropStackInto(int x, int y);
    void LogLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool LoadPictures(const LevelFile& file, CGraphics& graphics);
    void ReleasePictures();
    void DrawBlock(CGraphics& graphics, int type, int x, int y);

    int32_t blockTypeCount = 0;
    int32_t entryColumn = 0;
    int32_t entryRow = 0;
    int32_t fallingColumn = 0;
    int32_t fallingRow = 0;
    int32_t fallingType = 0;
    int8_t nextType = 0;
    int32_t pendingPoints = 0;
    int32_t timer = 0;
    DWORD timerStamp = 0;
    int32_t levelSpeed = 0;
    DWORD fallInterval = 0;
    DWORD lastFallTime = 0;
    // blockTypeCount pictures: picture i - 1 draws block type i.
    CSprite* blockPictures = nullptr;
    CSprite nextFrame;
    std::array<int8_t, kCells> grid{};
    CLog* levelLog = nullptr;
};
