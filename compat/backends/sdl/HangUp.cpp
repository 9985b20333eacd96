#include "sdl/HangUp.h"

#include <csignal>

namespace compat {

namespace {

// Only raise() here: it is safe in a signal handler, and SIGTERM's handler, SDL's, does no more
// than note the quit for the next pump of events.
void OnHangUp(int) {
    std::raise(SIGTERM);
}

} // namespace

void EndOnHangUp() {
    struct sigaction current = {};
    if (sigaction(SIGHUP, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
        return;
    struct sigaction hangUp = {};
    hangUp.sa_handler = OnHangUp;
    sigemptyset(&hangUp.sa_mask);
    hangUp.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &hangUp, nullptr);
}

} // namespace compat
