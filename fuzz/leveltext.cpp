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

std::vector<uint8_t> ReadAll(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzsupport::StartHarness(argc, argv, true);
    fuzzsupport::InScratchFolder inside;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::InScratchFolder inside;
    fuzzsupport::WriteInput(kInput, data, size);
    std::remove(kOutput);

    std::ostringstream out, err;
    const int status = LevelTool::Run({"build", "--data", ".", kInput, kOutput}, out, err);
    std::FILE* written = std::fopen(kOutput, "rb");
    const bool wroteLevel = written != nullptr;
    if (written)
        std::fclose(written);
    // Written exactly when the build succeeded, and said so; otherwise the errors were given.
    FUZZ_CHECK(wroteLevel == (status == LevelTool::kClean));
    FUZZ_CHECK(wroteLevel ? !out.str().empty() : !err.str().empty());
    if (!wroteLevel)
        return 0;

    const std::vector<uint8_t> bytes = ReadAll(kOutput);
    LevelFile level;
    std::vector<std::string> faults;
    FUZZ_CHECK(level.Parse(bytes.data(), bytes.size(), faults));
    LevelFile again;
    std::vector<std::string> errors;
    FUZZ_CHECK(LevelText::Parse(LevelText::Format(level), "shown", again, errors));
    FUZZ_CHECK(again.Bytes() == bytes);
    return 0;
}
