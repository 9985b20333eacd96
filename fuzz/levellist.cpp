// The level list: CGame::LoadLevelList as every get-ready reads "levels.txt". Whatever the list
// holds, the game keeps a count it can walk and names it can print.
#include "FuzzSupport.h"

#include "CGameProbe.h"
#include "app/CGame.h"

#include <cstring>

namespace {

constexpr char kInput[] = "levels.txt";
// The size of the string the game keeps each level name in.
constexpr size_t kLevelNameSize = 255;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzsupport::StartHarness(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::InScratchFolder inside;
    fuzzsupport::WriteInput(kInput, data, size);
    CGame game;
    const bool loaded = CGameProbe::LoadLevelList(game);
    const CGameProbe probe{game};
    FUZZ_CHECK(probe.LevelCount() >= 0);
    FUZZ_CHECK(!loaded || probe.LevelCount() > 0);
    FUZZ_CHECK(probe.LevelCount() == 0 || probe.LevelNames() != nullptr);
    for (int32_t i = 0; i < probe.LevelCount(); ++i)
        FUZZ_CHECK(memchr(probe.LevelNames()[i], '\0', kLevelNameSize) != nullptr);
    // A second read, as the next get-ready does, replaces the first.
    FUZZ_CHECK(CGameProbe::LoadLevelList(game) == loaded);
    return 0;
}
