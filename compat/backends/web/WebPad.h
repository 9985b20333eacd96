// The web backend: game controllers, read once per pass of the page's events.
#pragma once

namespace compat {

// After the page's events of a pass: the controllers' buttons and sticks as keys and the
// pointer.
void WebPadPass();

} // namespace compat
