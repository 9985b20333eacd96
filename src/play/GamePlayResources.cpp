// What play needs from disk: the play set-up of every get-ready, and the pictures of the two
// closing screens.
#include "app/CGame.h"

#include "gfx/CGraphics.h"
#include "sound/CSound.h"

#include <cstdio>
#include <new>

namespace {

constexpr DWORD kMoveDelay = 125;
constexpr char kBackdropFolder[] = "backdrops/";
constexpr char kLivesPicture[] = "common/lives.bmp";
// A border picture's name: at most 255 characters.
constexpr size_t kFailedFileSize = 256;
constexpr size_t kClosingPathSize = 64;
constexpr const char* kSoundFiles[CGame::kPlaySounds] = {
    "sound/pop.wav",      // a block comes to rest
    "sound/bonkpopb.wav", // a run vanishes
    "sound/beep.wav",     // the field turns
};

} // namespace

// Stops at the first of the borders, the mascot and the lives icon that fails; the get-ready
// screen goes on with what there is and says which file stopped it.
bool CGame::LoadPlayResources() {
    playProblem[0] = '\0';
    char failedPicture[kFailedFileSize];
    if (!LoadBorders(failedPicture, sizeof(failedPicture))) {
        Log("ERROR --- Could not load borders");
        return failedPicture[0] ? StopPlaySetup("picture", failedPicture)
                                : StopPlaySetup("border list", kBorderList);
    }
    if (!LoadMascot()) {
        Log("ERROR --- Could not load quibbo");
        return StopPlaySetup("picture", kMascotPicture);
    }
    LoadClouds();
    if (!livesIcon.Load(*g_graphics, kLivesPicture)) {
        Log("ERROR --- Could not load lives.bmp");
        return StopPlaySetup("picture", kLivesPicture);
    }
    livesIcon.SetSize(64, 64);
    livesIcon.SetColorKey(*g_graphics, kPictureKey);
    LoadLevelList();

    ReplacePicture(width / 2 - 128, height / 2 - 64);
    if (picture) {
        picture->Load(*g_graphics, "scenery/getrdy.bmp");
        picture->SetColorKey(*g_graphics, kPictureKey);
    }
    moveDelay = kMoveDelay;
    // The play sounds are loaded once and kept for the run; only one that failed is tried again.
    for (int i = 0; i < kPlaySounds; ++i) {
        if (sound && soundIds[i] == 0)
            soundIds[i] = sound->LoadWav(kSoundFiles[i]);
    }
    return true;
}

// The set-up's own lines name the step that failed; the get-ready screen and the last line
// name the file, as they do for a level that cannot be loaded, so that neither sends the player
// looking for a fault in the level list.
bool CGame::StopPlaySetup(const char* what, const char* file) {
    snprintf(playProblem, sizeof(playProblem), "Could not load %s: %s", what, file);
    Log("ERROR --- %s", playProblem);
    return false;
}

// The full-screen picture of get-ready and the closing screens: the one before is given up.
void CGame::ReplacePicture(int32_t x, int32_t y) {
    delete picture;
    picture = new (std::nothrow) CSprite;
    if (picture)
        picture->SetPosition(x, y);
}

bool CGame::LoadCompletePicture() {
    return LoadClosingPicture("complete.bmp", (width - 640) / 2, (height - 480) / 2);
}

// The loser picture is stretched over the whole screen.
bool CGame::LoadLoserPicture() {
    if (!LoadClosingPicture("loser.bmp", 0, 0))
        return false;
    picture->SetSize(width, height);
    return true;
}

// A closing screen's picture from the backdrops folder, placed at (x, y).
bool CGame::LoadClosingPicture(const char* name, int32_t x, int32_t y) {
    ReplacePicture(x, y);
    char path[kClosingPathSize];
    snprintf(path, sizeof(path), "%s%s", kBackdropFolder, name);
    if (!picture || !picture->Load(*g_graphics, path)) {
        Log("ERROR --- Could not load %s", name);
        return false;
    }
    Log("NOTICE --- %s loaded", name);
    picture->SetColorKey(*g_graphics, kPictureKey);
    return true;
}

void CGame::PlaySound(int slot) {
    if (sound)
        sound->Play(soundIds[slot], 0, 0, 0, 0);
}
