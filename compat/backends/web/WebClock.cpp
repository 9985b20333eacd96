// The clock contract on the browser's clock (performance.now), and sleeping as handing the time
// to the page (the game's loop runs on the page's one thread: -sASYNCIFY unwinds it).
#include "platform/Clock.h"

#include "shared/SystemCalendar.h"

#include <emscripten.h>

namespace platform {

int64_t SteadyMicroseconds() {
    return static_cast<int64_t>(emscripten_get_now() * 1000.0);
}

// A page has no clock of its thread's processor time; the time that passed stands for it.
int64_t ThreadNanoseconds() {
    return static_cast<int64_t>(emscripten_get_now() * 1e6);
}

void SleepMicroseconds(int64_t microseconds) {
    emscripten_sleep(static_cast<unsigned>((microseconds + 500) / 1000));
}

UtcTime TimeOfDay() {
    return compat::SystemTimeOfDay();
}

} // namespace platform
