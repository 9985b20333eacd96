// The millisecond clock, the UTC time of day and Sleep, each with its test seam.
#include "time/Ticks.h"
#include "compat/Seams.h"

#include "platform/Clock.h"

#include <mmsystem.h>

#include <atomic>
#include <mutex>

namespace {

std::atomic<bool> ticksSet{false};
std::atomic<DWORD> setTicks{0};
// While a run is recorded or played back, the game reads one clock reading a pass.
std::atomic<bool> gameTicksHeld{false};
std::atomic<DWORD> heldGameTicks{0};

std::mutex systemTimeLock;
bool systemTimeSet = false;
SYSTEMTIME setSystemTime{};

DWORD RealTicks() {
    // The count wraps at 2^32 like the real one: only differences are meaningful.
    const int64_t ms = platform::SteadyMicroseconds() / 1000;
    return static_cast<DWORD>(static_cast<uint64_t>(ms));
}

} // namespace

namespace compat::seams {

void SetTicks(DWORD ms) {
    setTicks = ms;
    ticksSet = true;
}

void AdvanceTicks(DWORD ms) {
    if (!ticksSet)
        SetTicks(RealTicks());
    setTicks += ms; // unsigned: wraps at 2^32
}

void UseRealTicks() {
    ticksSet = false;
}

bool TicksAreSet() {
    return ticksSet;
}

void SetSystemTime(const SYSTEMTIME& utc) {
    std::lock_guard<std::mutex> guard(systemTimeLock);
    setSystemTime = utc;
    systemTimeSet = true;
}

void UseRealSystemTime() {
    std::lock_guard<std::mutex> guard(systemTimeLock);
    systemTimeSet = false;
}

} // namespace compat::seams

namespace compat {

DWORD RunningTicks() {
    return ticksSet ? setTicks.load() : RealTicks();
}

int64_t PacingMicroseconds() {
    if (!ticksSet)
        return platform::SteadyMicroseconds();
    // The set clock counted on past its wraps: each reading adds what it moved since the last.
    static int64_t counted = 0;
    static DWORD last = 0;
    const DWORD now = setTicks;
    counted += int64_t{static_cast<DWORD>(now - last)} * 1000;
    last = now;
    return counted;
}

void SleepOnClock(int64_t microseconds) {
    if (ticksSet)
        setTicks += static_cast<DWORD>(microseconds / 1000);
    else
        platform::SleepMicroseconds(microseconds);
}

void HoldGameTicks(DWORD ms) {
    heldGameTicks = ms;
    gameTicksHeld = true;
}

void ReleaseGameTicks() {
    gameTicksHeld = false;
}

} // namespace compat

DWORD WINAPI timeGetTime(void) {
    return gameTicksHeld ? heldGameTicks.load() : compat::RunningTicks();
}

void WINAPI Sleep(DWORD milliseconds) {
    compat::SleepOnClock(int64_t{milliseconds} * 1000);
}

void WINAPI GetSystemTime(LPSYSTEMTIME systemTime) {
    if (!systemTime)
        return;
    {
        std::lock_guard<std::mutex> guard(systemTimeLock);
        if (systemTimeSet) {
            *systemTime = setSystemTime;
            return;
        }
    }
    const platform::UtcTime utc = platform::TimeOfDay();
    systemTime->wYear = static_cast<WORD>(utc.year);
    systemTime->wMonth = static_cast<WORD>(utc.month);
    systemTime->wDayOfWeek = static_cast<WORD>(utc.dayOfWeek);
    systemTime->wDay = static_cast<WORD>(utc.day);
    systemTime->wHour = static_cast<WORD>(utc.hour);
    systemTime->wMinute = static_cast<WORD>(utc.minute);
    systemTime->wSecond = static_cast<WORD>(utc.second);
    systemTime->wMilliseconds = static_cast<WORD>(utc.milliseconds);
}
