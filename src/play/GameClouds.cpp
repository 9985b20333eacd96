// The three clouds drifting from right to left behind the title, get-ready and play screens.
#include "app/CGame.h"

#include "gfx/CGraphics.h"

#include <mmsystem.h>

#include <cstdlib>

namespace {

struct CloudStart {
    const char* picture;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// The same places at every screen size; only the wrap point follows the screen width.
constexpr CloudStart kCloudStarts[CGame::kClouds] = {
    {"scenery/cloud1.bmp", 493, 67, 208, 90},
    {"scenery/cloud2.bmp", 25, 190, 200, 80},
    {"scenery/cloud3.bmp", 266, 342, 178, 84},
};

} // namespace

bool CGame::LoadClouds() {
    for (int i = 0; i < kClouds; ++i) {
        if (!cloudSprites[i].Load(*g_graphics, kCloudStarts[i].picture)) {
            Log("ERROR --- Could not load backdrop: quibbobdrop.bmp");
            return false;
        }
    }
    for (CSprite& sprite : cloudSprites)
        sprite.SetColorKey(*g_graphics, kPictureKey);
    for (int i = 0; i < kClouds; ++i) {
        const CloudStart& start = kCloudStarts[i];
        clouds.position[i][0] = start.x;
        clouds.position[i][1] = start.y;
        clouds.width[i] = start.width;
        cloudSprites[i].SetSize(start.width, start.height);
        clouds.stepTime[i] = 0;
    }
    // The step intervals are drawn in cloud order, after everything else is set.
    for (DWORD& interval : clouds.stepInterval)
        interval = static_cast<DWORD>(std::rand() % 10);
    return true;
}

// A cloud moves one pixel whenever more than its interval has passed since its last step, and
// comes back in just beyond the right edge once it has left the screen on the left.
void CGame::DrawClouds() {
    for (int i = 0; i < kClouds; ++i) {
        int32_t& x = clouds.position[i][0];
        const DWORD now = timeGetTime();
        if (now - clouds.stepTime[i] > clouds.stepInterval[i]) {
            clouds.stepTime[i] = now;
            --x;
        }
        if (x + clouds.width[i] < 0)
            x = width;
        cloudSprites[i].SetPosition(x, clouds.position[i][1]);
        cloudSprites[i].Draw(*g_graphics);
    }
}
