// Level files into the playfield, and the level log.
#include "play/CLevel.h"

#include "gfx/CGraphics.h"
#include "log/CLog.h"
#include "play/FileCloser.h"
#include "play/LevelFile.h"

#include <mmsystem.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

constexpr char kLevelLogName[256] = "logs/LevelLog.txt";
constexpr char kNextFramePicture[] = "scenery/next.bmp";

} // namespace

bool CLevel::Init() {
    levelLog = new (std::nothrow) CLog;
    if (!levelLog)
        return false;
    // Without its file the playfield works on; its messages are dropped.
    levelLog->Open(kLevelLogName);
    return true;
}

void CLevel::LogLine(const char* format, ...) {
    if (!levelLog)
        return;
    va_list args;
    va_start(args, format);
    levelLog->WriteArgs(format, args);
    va_end(args);
}

void CLevel::ReleasePictures() {
    delete[] blockPictures;
    blockPictures = nullptr;
}

void CLevel::Release() {
    nextFrame.Release();
    ReleasePictures();
    if (levelLog) {
        levelLog->Close();
        delete levelLog;
        levelLog = nullptr;
    }
}

bool CLevel::LoadPictures(const LevelFile& file, CGraphics& graphics) {
    ReleasePictures();
    blockTypeCount = file.BlockTypeCount();
    blockPictures = new CSprite[blockTypeCount];
    for (int32_t type = 1; type <= blockTypeCount; ++type) {
        const std::string name = file.Name(type);
        CSprite& picture = blockPictures[type - 1];
        if (!picture.Load(graphics, name.c_str())) {
            LogLine("ERROR --- Failed to load block: %s", name.c_str());
            return false;
        }
        LogLine("NOTICE --- Loaded block: %s", name.c_str());
        picture.SetColorKey(graphics, kPictureKey);
    }
    return true;
}

bool CLevel::Load(const char* fileName, CGraphics& graphics) {
    FileCloser level{std::fopen(fileName, "rb")};
    if (!level.file) {
        LogLine("ERROR --- Could not open level file: %s", fileName);
        return false;
    }
    // The whole file is read and checked before anything of the playfield changes, so a file
    // that cannot be played leaves the level before it intact.
    LevelFile file;
    std::vector<std::string> faults;
    if (!file.Read(level.file, faults)) {
        LogLine("ERROR --- %s: %s", fileName, faults.front().c_str());
        return false;
    }

    if (!LoadPictures(file, graphics))
        return false;
    levelSpeed = file.speed;
    LogLine("Level speed: %d", levelSpeed);
    timer = file.timer;
    LogLine("Timer: %d", timer);
    timerStamp = timeGetTime();
    // The file holds the grid row by row; the playfield keeps it column by column.
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            grid[Index(x, y)] = file.Cell(x, y);
    entryColumn = 6;
    entryRow = 6;
    nextType = static_cast<int8_t>(std::rand() % blockTypeCount + 1);
    SpawnBlock();
    nextFrame.Load(graphics, kNextFramePicture);
    nextFrame.SetColorKey(graphics, 0);
    return true;
}
