// Test seams of the platform layer: what tests and tools may set that the game itself never can.
// Only tests and tools include this header; game code sees the platform through the Win32 headers.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

namespace compat::seams {

// --- The millisecond clock (timeGetTime) ---

// From now on timeGetTime returns exactly `ms`, until the clock is set, advanced or released.
// While the clock is set, Sleep advances it instead of sleeping.
void SetTicks(DWORD ms);
// Moves the set clock on by `ms`, wrapping at 2^32 like the real one. Sets the clock first if it
// was running free, starting from its current reading.
void AdvanceTicks(DWORD ms);
// Back to the real clock: timeGetTime counts real milliseconds and Sleep really sleeps.
void UseRealTicks();
// True while the clock is set.
bool TicksAreSet();

// --- The UTC time of day (GetSystemTime) ---

// GetSystemTime returns `utc` (day of week and milliseconds included) until released.
void SetSystemTime(const SYSTEMTIME& utc);
void UseRealSystemTime();

// --- Forced failures ---

// The next `times` calls of the named platform operation fail with `result`, in the way that
// operation reports failure (an HRESULT, a null handle, FALSE). Names are the SDK's:
// "DirectDrawCreateEx", "IDirectDraw7::SetDisplayMode", "CreateRectRgn", ... DirectSoundCreate
// forced with a success code other than DS_OK (S_FALSE) hands back its object with that code.
void FailNext(std::string_view operation, HRESULT result, int times = 1);
// How many forced failures of the operation are still waiting.
int PendingFailures(std::string_view operation);
void ClearFailures();

// --- Everything at once ---

// Puts every seam back to its start: real clock and time, no failures, plus whatever the
// subsystems registered with AddResetHook (key states, lost surfaces, ...).
void ResetAll();
// For the platform layer's own subsystems: run `hook` on every ResetAll.
void AddResetHook(std::function<void()> hook);

} // namespace compat::seams
