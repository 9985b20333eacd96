#include "ddraw/ScreenPacing.h"

#include "platform/Clock.h"
#include "time/Ticks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace compat {

void FramePacer::SetRate(int framesPerSecond) {
    const int rate = framesPerSecond > 0 ? framesPerSecond : 60;
    if (rate != rate_)
        started_ = false;
    rate_ = rate;
}

void FramePacer::AfterPresent(int64_t presentStarted, int64_t presentEnded) {
    const int64_t now = presentEnded;
    if (!started_)
        StartAt(now);
    const int64_t period = 1000000 / rate_;
    deadline_ += period;
    remainder_ += 1000000 % rate_;
    if (remainder_ >= rate_) {
        remainder_ -= rate_;
        ++deadline_;
    }
    const int64_t wait = deadline_ - now;
    if (wait > 2 * period) {
        StartAt(now); // the clock went back (the seams set it): a new schedule from here
        return;
    }
    if (wait > 0) {
        SleepOnClock(wait);
        return;
    }
    const int64_t presentTook = now - presentStarted;
    if (presentTook * 2 >= period || wait < -period) {
        // Late: either the display's vsync held the present back (follow the display from
        // here) or the loop fell behind (start afresh rather than rush to catch up).
        StartAt(now);
    }
}

void FramePacer::StartAt(int64_t time) {
    started_ = true;
    deadline_ = time;
    remainder_ = 0;
}

void NoteFrameTime(bool seen) {
    static FILE* const file = [] {
        const char* path = std::getenv("QUIBBO_FRAME_TIMES");
        FILE* opened = path && *path ? std::fopen(path, "a") : nullptr;
        if (opened)
            std::setvbuf(opened, nullptr, _IOLBF, 0); // each line as it comes
        return opened;
    }();
    if (!file)
        return;
    std::fprintf(file, "%lld%s\n", static_cast<long long>(platform::SteadyMicroseconds()),
                 seen ? "" : " unseen");
}

} // namespace compat
