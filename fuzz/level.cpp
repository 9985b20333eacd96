// Level files: CLevel::Load as the game loads a level, with our pictures present, then a little
// play and a draw of the level that was loaded; and the level tool's reading of the same bytes
// (`show` and `check`), which must agree with the game's.
#include "FuzzSupport.h"

#include "LevelCheck.h"
#include "LevelText.h"
#include "gfx/CGraphics.h"
#include "play/CLevel.h"
#include "play/LevelFile.h"

#include "compat/Seams.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr char kInput[] = "input.lev";
constexpr int kPlaySteps = 40;

CGraphics* graphics = nullptr;

// What the tool says of the bytes, and that its text form gives the same file back.
bool ToolReads(const uint8_t* data, size_t size) {
    LevelFile file;
    std::vector<std::string> faults;
    const std::vector<uint8_t> bytes(data, data + size);
    const bool parsed = file.Parse(data, size, faults);
    FUZZ_CHECK(parsed == faults.empty());
    const LevelCheck check = LevelCheck::Bytes(bytes, ".");
    FUZZ_CHECK(parsed == check.errors.empty());
    if (!parsed)
        return false;
    FUZZ_CHECK(file.Bytes() == bytes);
    LevelFile shown;
    std::vector<std::string> errors;
    FUZZ_CHECK(LevelText::Parse(LevelText::Format(file), "shown", shown, errors));
    FUZZ_CHECK(shown.Bytes() == file.Bytes());
    return true;
}

void Play(CLevel& level) {
    for (int step = 0; step < kPlaySteps; ++step) {
        compat::seams::AdvanceTicks(step % 7 == 0 ? 100000 : 60);
        switch (step % 9) {
        case 1:
            level.MoveLeft();
            break;
        case 3:
            level.RotateClockwise();
            break;
        case 4:
            level.FastDrop();
            break;
        case 5:
            level.MoveRight();
            break;
        case 7:
            level.RotateCounterClockwise();
            level.EndFastDrop();
            break;
        default:
            break;
        }
        level.Step();
        level.RemoveRun();
        FUZZ_CHECK(level.TakePoints() >= 0);
    }
    level.ScaleSpeed(125);
    level.UpdateTimer();
    level.Draw(*graphics, 16, 16, 480);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzsupport::StartHarness(argc, argv, true);
    graphics = fuzzsupport::StartDisplay();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::InScratchFolder inside;
    fuzzsupport::WriteInput(kInput, data, size);
    // The game reads no further than the longest level reaches.
    const bool readable = ToolReads(data, std::min(size, LevelFile::kLongestLevel));
    ToolReads(data, size);

    CLevel level;
    FUZZ_CHECK(level.Init());
    const bool loaded = level.Load(kInput, *graphics);
    // The game takes only what the tool reads as a level.
    FUZZ_CHECK(!loaded || readable);
    if (loaded)
        Play(level);
    level.Release();
    return 0;
}
