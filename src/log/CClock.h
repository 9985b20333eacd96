#pragma once

#include <windows.h>

#include <array>

// The time-of-day texts of the log files, always in UTC.
class CClock {
public:
    CClock();
    CClock(const CClock&) = delete;
    CClock& operator=(const CClock&) = delete;

    // "h:m.s" without leading zeros (14:5.9 at 14:05:09). Valid until the next GetTime.
    const char* GetTime();
    // "d\m\yyyy" without leading zeros (8\12\2000). Valid until the next GetDate.
    const char* GetDate();

private:
    SYSTEMTIME systemTime;
    // Large enough for every value a SYSTEMTIME can hold, so no text is ever cut.
    std::array<char, 24> timeText;
    std::array<char, 24> dateText;
};
