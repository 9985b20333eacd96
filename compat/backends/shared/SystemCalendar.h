// Shared by the backends whose C library has a calendar (the SDL and the web backends): the time
// of day in UTC from the C++ library's system clock.
#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace compat {

inline platform::UtcTime SystemTimeOfDay() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    platform::UtcTime time;
    time.year = utc.tm_year + 1900;
    time.month = utc.tm_mon + 1;
    time.dayOfWeek = utc.tm_wday;
    time.day = utc.tm_mday;
    time.hour = utc.tm_hour;
    time.minute = utc.tm_min;
    time.second = utc.tm_sec;
    time.milliseconds =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return time;
}

} // namespace compat
