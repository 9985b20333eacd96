// Replay scripts: the script reader of quibbo-replay, on whatever text it is handed. A script it
// takes names only what the driver knows, in the order the text gives it, and holds no more
// than its text justifies; a script it refuses says where and why.
#include "FuzzSupport.h"

#include "ReplayScript.h"

#include <algorithm>
#include <string_view>

namespace {

// The most key strokes one typed character makes: Shift down, the key down and up, Shift up.
constexpr size_t kStrokesPerCharacter = 4;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;

    replay::Script script;
    replay::ParseError error;
    if (!replay::ParseScript(text, &script, &error)) {
        FUZZ_CHECK(error.line >= 1 && error.line <= lines);
        FUZZ_CHECK(!error.message.empty());
        return 0;
    }

    size_t bytes = 0;
    int previous = 0;
    for (const replay::SetupFile& file : script.files) {
        FUZZ_CHECK(file.line > previous && file.line <= lines);
        previous = file.line;
        FUZZ_CHECK(!file.path.empty());
        FUZZ_CHECK(!file.remove || file.bytes.empty());
        bytes += file.bytes.size() + file.path.size();
    }
    for (const replay::ForcedFailure& failure : script.failures) {
        FUZZ_CHECK(!failure.operation.empty());
        FUZZ_CHECK(failure.times >= 1);
    }
    previous = 0;
    size_t strokes = 0;
    for (const replay::Command& command : script.commands) {
        FUZZ_CHECK(command.line > previous && command.line <= lines);
        previous = command.line;
        bytes += command.bytes.size() + command.path.size() + command.text.size();
        strokes += command.strokes.size();
        if (command.op == replay::Op::ExpectField)
            FUZZ_CHECK(!replay::FieldName(command.field, command.slot).empty());
        if (command.op == replay::Op::ExpectState || command.op == replay::Op::Until)
            FUZZ_CHECK(!replay::DescribeState(static_cast<int32_t>(command.number)).empty());
    }
    // Everything a script holds was written out in its text.
    FUZZ_CHECK(bytes <= size);
    FUZZ_CHECK(strokes <= kStrokesPerCharacter * size);
    return 0;
}
