// The custom-level prompt: typing a level's file name, and starting a game on it.
#include "app/CGame.h"
#include "app/ScreenColours.h"
#include "gfx/CGraphics.h"

#include <cstdio>
#include <cstring>

namespace {

// The most characters a name may have.
constexpr int32_t kMaxTypedName = 20;
constexpr char kLevelFolder[] = "levels/";
constexpr char kLevelExtension[] = ".lev";
// From this length on, folder + name + extension no longer fits in the file name.
constexpr size_t kNameTooLong =
    CGame::kFileNameSize - (sizeof(kLevelFolder) - 1) - (sizeof(kLevelExtension) - 1);

bool TooLong(const char* name) {
    return strlen(name) >= kNameTooLong;
}

} // namespace

void CGame::DrawCustomLevel() {
    if (!entered) {
        // A key waiting on the controls screen is given up.
        ForgetRedefinition();
        entered = true;
    }
    g_graphics->Fill(screen::kBackground);
    g_graphics->PrintText(font, screen::kWhite, width / 3, 0, "Load Custom Level");
    g_graphics->PrintText(font, screen::kWhite, width / 5, height / 2, "Filename: %s", fileName);
    if (TooLong(fileName))
        g_graphics->PrintText(font, screen::kWhite, width / 5, height / 2 + 64,
                              "Filename too long");
    if (customLevel && BuildLevelPath())
        SetState(GetReady);
}

// False, with the name left as it is, for a path that would not fit; Enter never lets such a
// name through.
bool CGame::BuildLevelPath() {
    char path[kFileNameSize];
    const int length =
        snprintf(path, sizeof(path), "%s%s%s", kLevelFolder, fileName, kLevelExtension);
    if (length < 0 || length >= kFileNameSize)
        return false;
    memcpy(fileName, path, sizeof(fileName));
    return true;
}

// Keys are stored as their codes: letters come out as capitals, and any other key (the keypad,
// Escape, Pause) as the byte of its code.
void CGame::OnCustomLevelKey(int32_t key) {
    if (key == VK_RETURN) {
        // A name too long for its path is refused while the warning shows.
        if (TooLong(fileName))
            return;
        customLevel = true;
        fileNameLength = 0;
        return;
    }
    if (key == VK_BACK) {
        if (fileNameLength > 0)
            --fileNameLength;
        fileName[fileNameLength] = 0;
        return;
    }
    if (fileNameLength < kMaxTypedName) {
        fileName[fileNameLength] = static_cast<char>(key);
        ++fileNameLength;
    }
}
