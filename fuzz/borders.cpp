// The border list: CGame::LoadBorders as every get-ready reads "border.txt", with our pictures
// present. A list the game takes puts each piece on its starting side.
#include "FuzzSupport.h"

#include "CGameProbe.h"
#include "app/CGame.h"
#include "gfx/CGraphics.h"

namespace {

constexpr char kInput[] = "border.txt";

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzsupport::StartHarness(argc, argv, true, kInput);
    g_graphics = fuzzsupport::StartDisplay();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::InScratchFolder inside;
    fuzzsupport::WriteInput(kInput, data, size);
    CGame game;
    if (CGameProbe::LoadBorders(game)) {
        const CGameProbe probe{game};
        for (int piece = 0; piece < 4; ++piece)
            FUZZ_CHECK(probe.BorderSide(piece) == piece);
    }
    return 0;
}
