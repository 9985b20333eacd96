// The millisecond clock, the UTC time of day and Sleep, each with its test seam.
#include "time/Ticks.h"
#include "compat/Seams.h"

#include <mmsystem.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

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
    using namespace std::chrono;
    // The count wraps at 2^32 like the real one: only differences are meaningful.
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
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
    if (ticksSet) {
        setTicks += milliseconds;
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
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
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    systemTime->wYear = static_cast<WORD>(utc.tm_year + 1900);
    systemTime->wMonth = static_cast<WORD>(utc.tm_mon + 1);
    systemTime->wDayOfWeek = static_cast<WORD>(utc.tm_wday);
    systemTime->wDay = static_cast<WORD>(utc.tm_mday);
    systemTime->wHour = static_cast<WORD>(utc.tm_hour);
    systemTime->wMinute = static_cast<WORD>(utc.tm_min);
    systemTime->wSecond = static_cast<WORD>(utc.tm_sec);
    systemTime->wMilliseconds = static_cast<WORD>(ms);
}
