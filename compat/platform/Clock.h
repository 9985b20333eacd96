// The backend contract: the clock, and waiting on it.
#pragma once

#include <cstdint>

namespace platform {

// A steady clock in microseconds, from an arbitrary start; it never goes back.
int64_t SteadyMicroseconds();
// The processor time the calling thread has used, in nanoseconds (what a present costs).
int64_t ThreadNanoseconds();
// Blocks the game's thread for about this long, to the microsecond where the system's timers
// are that fine (in a browser: hands the time to the page, in whole milliseconds).
void SleepMicroseconds(int64_t microseconds);

// The time of day in UTC, as the system's calendar gives it.
struct UtcTime {
    int year = 0;
    int month = 0;     // 1-12
    int dayOfWeek = 0; // 0 Sunday
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};
UtcTime TimeOfDay();

} // namespace platform
