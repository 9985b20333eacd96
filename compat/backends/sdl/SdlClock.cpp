// The clock contract on the C++ library's clocks and the C library's calendar.
#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {

int64_t SteadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t ThreadNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

void SleepMilliseconds(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

UtcTime TimeOfDay() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    UtcTime time;
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

} // namespace platform
