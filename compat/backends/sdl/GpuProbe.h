// Inside the platform layer: whether a graphics card could draw the game's frames, found out
// without loading an OpenGL driver (which costs tens of megabytes even where it only finds
// the processor to draw with).
#pragma once

namespace compat {

// True where no renderer SDL could make would be drawn by a graphics card: the headless
// drivers, LIBGL_ALWAYS_SOFTWARE, an X server without direct rendering (Xvfb, remote
// displays), Wayland without a render node. False where a card may be there, or where we
// cannot tell: the renderer is then tried as before.
bool NoGpuToAccelerate();

} // namespace compat
