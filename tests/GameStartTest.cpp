// The game brought up headless on the platform's display: what start-up keeps of the modes.
#include "CGameProbe.h"
#include "TestFiles.h"
#include "gfx/CGraphics.h"

#include "compat/GfxSeams.h"

#include <gtest/gtest.h>

namespace {

bool Offered(const DisplayMode& mode) {
    return mode.BitsPerPixel() == 16 && mode.Width() >= 640 && mode.Width() <= 1600 &&
           mode.Height() >= 480 && mode.Height() <= 1200;
}

TEST(GameStart, OffersOnlyTheModesTheScreensAreLaidOutFor) {
    testfiles::ScratchDir scratch(true);
    CGraphics graphics;
    g_graphics = &graphics;
    {
        CGame game;
        ASSERT_TRUE(game.Init(compat::seams::MakeTestWindow()));

        // Everything the driver lists that fits stays, in the driver's order; nothing else.
        DisplayModeList all;
        graphics.EnumModes(all);
        std::vector<const DisplayMode*> expected;
        for (const DisplayMode* mode = all.First(); mode; mode = all.Next(mode))
            if (Offered(*mode))
                expected.push_back(mode);
        ASSERT_LT(static_cast<int>(expected.size()), all.Count()); // the filter has work to do

        const DisplayModeList& kept = CGameProbe{game}.Modes();
        ASSERT_EQ(kept.Count(), static_cast<int>(expected.size()));
        const DisplayMode* mode = kept.First();
        for (const DisplayMode* want : expected) {
            ASSERT_NE(mode, nullptr);
            EXPECT_EQ(mode->Width(), want->Width());
            EXPECT_EQ(mode->Height(), want->Height());
            EXPECT_EQ(mode->BitsPerPixel(), 16);
            mode = kept.Next(mode);
        }
    }
    graphics.Release();
    g_graphics = nullptr;
}

} // namespace
