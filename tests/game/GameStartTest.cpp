// The game brought up headless on the platform's display: what start-up keeps of the modes.
#include "CGameProbe.h"
#include "TestFiles.h"
#include "app/ScreenColours.h"
#include "gfx/CGraphics.h"

#include "compat/GdiSeams.h"
#include "compat/GfxSeams.h"
#include "compat/Seams.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The game started on the test display, as WinMain starts it; gone again, display last.
class GameStart : public testing::Test {
protected:
    void SetUp() override {
        g_graphics = &graphics;
        game = std::make_unique<CGame>();
        ASSERT_TRUE(game->Init(compat::seams::MakeTestWindow()));
    }

    void TearDown() override {
        game.reset();
        graphics.Release();
        g_graphics = nullptr;
    }

    testfiles::ScratchDir scratch{true};
    CGraphics graphics;
    std::unique_ptr<CGame> game;
};

TEST_F(GameStart, OffersOnlyTheModesTheScreensAreLaidOutFor) {
    // The test display's 16-bit modes from 640x480 to 1600x1200, in its order: not its 8- and
    // 32-bit ones, nor those beyond 1600x1200.
    const int expected[][2] = {{640, 480},   {800, 600},  {1024, 768}, {1152, 864},
                               {1280, 720},  {1280, 800}, {1280, 960}, {1280, 1024},
                               {1400, 1050}, {1440, 900}, {1600, 900}, {1600, 1200}};
    const DisplayModeList& kept = CGameProbe{*game}.Modes();
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

// Every mode change makes the interface font for the new width; the old one must go with it,
// whether the new mode comes up or a failed change falls back to the standard mode.
TEST_F(GameStart, ModeChangesKeepOneInterfaceFont) {
    game->SetState(Resolution);
    game->Frame();
    const int gdiObjects = compat::seams::LiveGdiObjects();
    const CGameProbe probe{*game};
    // A click in the middle of the list's row `row`, in the mode of the moment.
    auto pick = [&](int row) {
        game->OnLeftClick(probe.Width() / 2, screen::RowsFor(probe.Width()).Top(row) + 10);
        game->Frame();
    };
    pick(1);
    ASSERT_EQ(probe.Width(), 800);
    // 1024x768 and then 800x600 again refused: the standard mode it is.
    compat::seams::FailNext("IDirectDraw7::SetDisplayMode", DDERR_GENERIC, 2);
    pick(2);
    ASSERT_EQ(probe.Width(), 640);
    EXPECT_EQ(compat::seams::LiveGdiObjects(), gdiObjects);
}

} // namespace
