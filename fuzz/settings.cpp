// The settings file: CGame::Init on a window as the game starts, reading "quibbo.ini". Whatever
// the file holds, the game comes up on a display it can show or fails cleanly, and the game
// object goes as the program ends.
#include "FuzzSupport.h"

#include "CGameProbe.h"
#include "app/CGame.h"
#include "gfx/CGraphics.h"

#include "compat/GfxSeams.h"

namespace {

constexpr char kInput[] = "quibbo.ini";

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzsupport::StartHarness(argc, argv, true, kInput);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::InScratchFolder inside;
    fuzzsupport::WriteInput(kInput, data, size);
    HWND window = compat::seams::MakeTestWindow();
    g_game = new CGame;
    g_graphics = new CGraphics;
    if (g_game->Init(window)) {
        const CGameProbe probe{*g_game};
        FUZZ_CHECK(probe.State() == MainMenu);
        FUZZ_CHECK(probe.Width() > 0 && probe.Height() > 0);
        FUZZ_CHECK(probe.BitDepth() == 16 || probe.BitDepth() == 32);
    }
    // As the program ends: the display first, then the game.
    g_graphics->Release();
    delete g_graphics;
    g_graphics = nullptr;
    delete g_game;
    g_game = nullptr;
    compat::seams::DestroyTestWindow(window);
    return 0;
}
