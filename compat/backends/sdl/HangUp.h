// Inside the platform layer: the end of the terminal that started the game.
#pragma once

namespace compat {

// Closing the terminal that started the game sends it SIGHUP, which would end it at once, with
// code 129 and its logs unclosed. From this call on, SIGHUP ends it as SIGTERM does: SDL takes
// that as a request to quit, and the game's window gets the system's close command. Left alone
// where SIGHUP is ignored already (nohup) or handled by someone else. Call it after video has
// started, once SDL has its own handlers.
void EndOnHangUp();

} // namespace compat
