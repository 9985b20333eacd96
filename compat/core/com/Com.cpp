// COM: there is none on this platform, so closing it only counts the calls, for the tests.
#include <objbase.h>

#include "compat/Seams.h"
#include "compat/SoundSeams.h"

#include <atomic>

namespace {

std::atomic<int> uninitializeCalls{0};

const bool resetRegistered = [] {
    compat::seams::AddResetHook([] { uninitializeCalls = 0; });
    return true;
}();

} // namespace

void WINAPI CoUninitialize(void) {
    (void)resetRegistered;
    ++uninitializeCalls;
}

namespace compat::seams {

int CoUninitializeCalls() {
    return uninitializeCalls;
}

} // namespace compat::seams
