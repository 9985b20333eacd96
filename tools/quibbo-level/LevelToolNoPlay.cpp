// The level tool built only to make a cross build's levels: it has no computer player.
#include "LevelTool.h"

#include <ostream>

namespace LevelTool {

int PlayLevel(const std::string&, const LevelFile&, unsigned, unsigned, std::ostream& out) {
    out << "quibbo-level: this build of the tool makes levels only; play needs the full build\n";
    return kErrors;
}

} // namespace LevelTool
