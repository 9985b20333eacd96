// Inside the platform layer: frame pacing for the screen.
#pragma once

#include <cstdint>

namespace compat {

// Keeps presented frames one refresh period apart. The game's loop has no pacing of its own
// and vsync does not wait under Xvfb or the dummy drivers, so after each present the pacer
// sleeps (SleepOnClock, which advances a test's set clock instead of waiting) until the frame's
// time is up. Deadlines are kept to the microsecond and advance by exactly 1000000/rate on
// average, so there is no drift, and the frames are as even as the system's timers let them
// be (a millisecond clock would make them 16, 17, 17 ms apart, and a frame woken a little late
// after 17 ms then misses 20). A present that ends late after taking half a period or more was
// held back by the display's vsync: the schedule then follows the display. A loop that falls
// more than one period behind starts afresh instead of rushing to catch up.
class FramePacer {
public:
    // Rates of 0 or below (unknown) pace at 60 Hz.
    void SetRate(int framesPerSecond);
    int Rate() const { return rate_; }
    // Call after each present with the pacing clock (PacingMicroseconds) before and after it.
    void AfterPresent(int64_t presentStarted, int64_t presentEnded);
    // Instead of AfterPresent when the present itself waited for the display's refresh: no
    // sleep, and the schedule starts from that refresh.
    void FollowDisplay(int64_t presentEnded) { StartAt(presentEnded); }
    // The next frame starts a new schedule.
    void Restart() { started_ = false; }

private:
    // The schedule starts afresh: the next deadline is a period after `time`.
    void StartAt(int64_t time);

    int rate_ = 60;
    bool started_ = false;
    int64_t deadline_ = 0; // microseconds
    int remainder_ = 0;    // in 1/rate_ microseconds
};

// With QUIBBO_FRAME_TIMES naming a file, each present's time (microseconds of a steady clock,
// one a line) is appended to it, for measuring the pacing of a running game from outside
// (bench/desktop-cost); a frame nobody could see (the window minimised or covered) is marked
// "unseen" after its time. Costs nothing otherwise.
void NoteFrameTime(bool seen);

} // namespace compat
