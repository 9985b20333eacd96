// The SDL backend: SDL's video, as the screen and the windows use it.
#pragma once

namespace compat {

// One line on stderr: what failed, and SDL's error.
void Complain(const char* what);
// Whether SDL's video runs on a driver without a display (dummy, offscreen).
bool HeadlessVideo();

} // namespace compat
