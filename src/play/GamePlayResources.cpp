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
constexpr size_t kClosingPathSize = 64;
constexpr const char* kSoundFiles[CGame::kPlaySounds] = {
    "sound/pop.wav",      // a block comes to rest
    "sound/bonkpopb.wav", // a run vanishes
    "sound/beep.wav",     // the field turns
};

} // namespace

// Stops at the first of the borders, the mascot and the lives icon that fails; the get-ready
// screen goes on with what there is.
bool CGame::LoadPlayResources() {
    if (!LoadBorders()) {
        Log("ERROR --- Could not load borders");
        return false;
    }
    if (!LoadMascot()) {
        Log("ERROR --- Could not load quibbo");
        return false;
    }
    LoadClouds();
    if (!livesIcon.Load(*g_graphics, "common/lives.bmp")) {
        Log("ERROR --- Could not load lives.bmp");
        return false;
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
