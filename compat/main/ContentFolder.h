#pragma once

namespace compat {

// The game finds its pictures, sounds and levels by paths relative to the working folder. When
// the working folder lacks them but the program's own folder has them (the program started from
// the top of a source tree, say), the program moves into its own folder. When neither has them
// it writes one line on stderr and returns false, having written nothing anywhere.
bool EnterContentFolder();

} // namespace compat
