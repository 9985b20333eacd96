// The clock contract on the browser's clock (performance.now), and sleeping as handing the time
// to the page (the game's loop runs on the page's one thread: -sASYNCIFY unwinds it).
#include "platform/Clock.h"

#include <emscripten.h>

#include <chrono>
#include <ctime>

namespace platform {

int64_t SteadyMicroseconds() {
    return static_cast<int64_t>(emscripten_get_now() * 1000.0);
}

// A page has no clock of its thread's processor time; the time that passed stands for it.
int64_t ThreadNanoseconds() {
    return static_cast<int64_t>(emscripten_get_now() * 1e6);
}

void SleepMilliseconds(uint32_t milliseconds) {
    emscripten_sleep(milliseconds);
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
