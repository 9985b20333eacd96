// Inside the platform layer: the clock as the platform itself reads it, and the game's clock
// held still for a pass while a run is recorded or played back.
#pragma once

#include <windows.h>

namespace compat {

// The clock as timeGetTime reads it when nothing holds it: the set clock of the seams, else
// the real one. The platform's own timing (the frames' pacing) reads this.
DWORD RunningTicks();
// timeGetTime returns `ms` until the next hold or the release: a recorded run's game sees one
// reading a pass, the one a replay gives it back.
void HoldGameTicks(DWORD ms);
void ReleaseGameTicks();

} // namespace compat
