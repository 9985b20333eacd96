// The level tool's text form: `quibbo-level build --data GAME TEXT LEV` as level makers run it.
// What it writes must be a level the game takes, and its text form must build the same file.
#include "FuzzSupport.h"

#include "LevelText.h"
#include "LevelTool.h"
#include "play/LevelFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char kInput[] = "input.txt";
constexpr char kOutput[] = "output.lev";

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzsupport::StartHarness(argc, argv, true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::InScratchFolder inside;
    fuzzsupport::WriteInput(kInput, data, size);
    std::remove(kOutput);

    std::ostringstream out, err;
    const int status = LevelTool::Run({"build", "--data", ".", kInput, kOutput}, out, err);
    std::ifstream written(kOutput, std::ios::binary);
    const bool wroteLevel = written.is_open();
    // Written exactly when the build succeeded, and said so; otherwise the errors were given.
    FUZZ_CHECK(wroteLevel == (status == LevelTool::kClean));
    FUZZ_CHECK(wroteLevel ? !out.str().empty() : !err.str().empty());
    if (!wroteLevel)
        return 0;

    const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(written), {});
    LevelFile level;
    std::vector<std::string> faults;
    FUZZ_CHECK(level.Parse(bytes.data(), bytes.size(), faults));
    LevelFile again;
    std::vector<std::string> errors;
    FUZZ_CHECK(LevelText::Parse(LevelText::Format(level), "shown", again, errors));
    FUZZ_CHECK(again.Bytes() == bytes);
    return 0;
}
