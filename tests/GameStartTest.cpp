// The game brought up headless on the platform's display: what start-up keeps of the modes.
#include "CGameProbe.h"
#include "TestFiles.h"
#include "gfx/CGraphics.h"

#include "compat/GfxSeams.h"

#include <gtest/gtest.h>

namespace {

TEST(GameStart, OffersOnlyTheModesTheScreensAreLaidOutFor) {
    testfiles::ScratchDir scratch(true);
    CGraphics graphics;
    g_graphics = &graphics;
    {
        CGame game;
        ASSERT_TRUE(game.Init(compat::seams::MakeTestWindow()));

        // The test display's 16-bit modes from 640x480 to 1600x1200, in its order: not its 8- and
        // 32-bit ones, nor those beyond 1600x1200.
        const int expected[][2] = {{640, 480},   {800, 600},  {1024, 768}, {1152, 864},
                                   {1280, 720},  {1280, 800}, {1280, 960}, {1280, 1024},
                                   {1400, 1050}, {1440, 900}, {1600, 900}, {1600, 1200}};
        const DisplayModeList& kept = CGameProbe{game}.Modes();
        ASSERT_EQ(kept.Count(), 12);
        const DisplayMode* mode = kept.First();
        for (const auto& want : expected) {
            ASSERT_NE(mode, nullptr);
            EXPECT_EQ(mode->Width(), want[0]);
            EXPECT_EQ(mode->Height(), want[1]);
            EXPECT_EQ(mode->BitsPerPixel(), 16);
            mode = kept.Next(mode);
        }
    }
    graphics.Release();
    g_graphics = nullptr;
}

} // namespace
