// The level list "levels.txt", read again at every get-ready, and the choice of the level that
// the get-ready screen loads: the list's entry at levelIndex, or the custom level.
#include "app/CGame.h"

#include "gfx/CGraphics.h"
#include "play/CLevel.h"
#include "play/FileCloser.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr char kLevelList[] = "levels.txt";
// A level name is one token of at most 254 characters, kept in a 255-byte string.
constexpr int kLevelNameSize = 255;
constexpr char kNoLevel[] = "No level to play: see logs/GameLog.txt";

// The level count at the head of the list: a whole decimal number, alone in its token.
bool ReadCount(FILE* list, int32_t& count) {
    char token[32] = {};
    if (fscanf(list, "%31s", token) != 1)
        return false;
    char* end = nullptr;
    errno = 0;
    const long value = strtol(token, &end, 10);
    if (end == token || *end != '\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        return false;
    count = static_cast<int32_t>(value);
    return true;
}

} // namespace

// The names are read before anything is allocated for them, so a count that promises more
// names than the file holds costs nothing; the list then keeps the names it has.
bool CGame::LoadLevelList() {
    FreeLevelNames();
    levelCount = 0;
    FileCloser list{fopen(kLevelList, "r")};
    if (!list.file) {
        Log("ERROR --- Could not open level list: %s", kLevelList);
        return false;
    }
    int32_t count = 0;
    if (!ReadCount(list.file, count)) {
        Log("ERROR --- Level list %s does not begin with a level count", kLevelList);
        return false;
    }
    if (count < 1) {
        Log("ERROR --- Level list %s holds no levels: count %d", kLevelList, count);
        return false;
    }

    std::vector<std::string> names;
    char token[kLevelNameSize + 1] = {};
    while (static_cast<int32_t>(names.size()) < count && fscanf(list.file, "%255s", token) == 1) {
        if (strlen(token) >= static_cast<size_t>(kLevelNameSize)) {
            Log("ERROR --- Level name too long in %s: level %d", kLevelList,
                static_cast<int32_t>(names.size()));
            break;
        }
        names.emplace_back(token);
    }
    const auto found = static_cast<int32_t>(names.size());
    if (found < count)
        Log("ERROR --- Level list %s names %d of its %d levels", kLevelList, found, count);
    if (found == 0)
        return false;

    levelNames = new (std::nothrow) char*[found];
    if (!levelNames) {
        Log("ERROR --- Could not allocate memory for level file names");
        return false;
    }
    Log("NOTICE --- Allocated memory for %d levels", found);
    for (int32_t i = 0; i < found; ++i) {
        levelNames[i] = new (std::nothrow) char[kLevelNameSize];
        if (!levelNames[i]) {
            levelCount = i;
            Log("ERROR --- Could not allocate memory for level file names");
            return false;
        }
        snprintf(levelNames[i], kLevelNameSize, "%s", names[i].c_str());
        levelCount = i + 1;
        Log("NOTICE --- Level %d: %s", i, levelNames[i]);
    }
    return true;
}

// The level of this get-ready, loaded and scaled to the difficulty. When there is none, or it
// cannot be loaded, the reason goes to the game log and playProblem says it on the screen.
bool CGame::LoadCurrentLevel() {
    const char* path = nullptr;
    if (customLevel)
        path = fileName;
    else if (levelNames && levelIndex >= 0 && levelIndex < levelCount)
        path = levelNames[levelIndex];
    if (!path) {
        Log("ERROR --- No level %d in the level list", levelIndex + 1);
        snprintf(playProblem, sizeof(playProblem), "%s", kNoLevel);
        return false;
    }
    if (!level || !level->Load(path, *g_graphics)) {
        Log("ERROR --- Could not load level: %s", path);
        snprintf(playProblem, sizeof(playProblem), "Could not load level: %s", path);
        return false;
    }
    level->ScaleSpeed(difficulty);
    return true;
}
