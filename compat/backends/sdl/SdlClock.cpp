// The clock contract on the C++ library's clocks and the C library's calendar.
#include "platform/Clock.h"

#include "shared/SystemCalendar.h"

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

void SleepMicroseconds(int64_t microseconds) {
    std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

UtcTime TimeOfDay() {
    return compat::SystemTimeOfDay();
}

} // namespace platform
