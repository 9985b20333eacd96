// Inside the script reader: the lines of a recorded run, a pass (`p`) and a checkpoint (`c`).
#pragma once

#include "ReplayScript.h"

#include <string>
#include <string_view>

namespace replay {

// The items of a pass line after its "p": its clock step, its message, its key answers.
bool ParsePass(std::string_view rest, RecordedPass* pass, std::string* error);
// A checkpoint after its "c": the pass, frames, state, the frame's hash, the pass's texts.
bool ParseCheck(std::string_view rest, Command* command, std::string* error);

} // namespace replay
