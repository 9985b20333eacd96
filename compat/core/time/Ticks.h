// Inside the platform layer: the clock as the platform itself reads it, and the game's clock
// held still for a pass while a run is recorded or played back.
#pragma once

#include <windows.h>

#include <cstdint>

namespace compat {

// The clock as timeGetTime reads it when nothing holds it: the set clock of the seams, else
// the real one. The platform's own timing reads this (the recorder's clock steps).
DWORD RunningTicks();
// The frames' pacing clock in microseconds: the real clock to the microsecond, or the seams'
// set clock (which never wraps here).
int64_t PacingMicroseconds();
// Sleeps on the running clock (Sleep, the pacing): the real clock to the microsecond, or the
// seams' set clock, which moves on by whole milliseconds (the part of one left over is not
// slept).
void SleepOnClock(int64_t microseconds);
// timeGetTime returns `ms` until the next hold or the release: a recorded run's game sees one
// reading a pass, the one a replay gives it back.
void HoldGameTicks(DWORD ms);
void ReleaseGameTicks();

} // namespace compat
