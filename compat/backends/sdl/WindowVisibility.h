// Inside the platform layer: whether an X window can be seen at all. SDL tells when a window
// is minimised or hidden, but not when other windows cover it whole; the X server tells that
// to a client that asks for the window's visibility changes.
#pragma once

struct SDL_Window;
struct _XDisplay;

namespace compat {

class WindowVisibility {
public:
    WindowVisibility() = default;
    WindowVisibility(const WindowVisibility&) = delete;
    WindowVisibility& operator=(const WindowVisibility&) = delete;
    ~WindowVisibility() { Release(); }

    // Starts watching the window where it is an X window (nothing elsewhere: another video
    // driver, or no second connection to the X server to be had).
    void Watch(SDL_Window* window);
    void Release();
    // True while other windows cover the window whole, as far as the X server last said.
    // Reads what the server has sent without waiting for it.
    bool FullyCovered();

private:
    _XDisplay* display_ = nullptr; // a connection of our own, for the visibility events only
    unsigned long window_ = 0;
    bool covered_ = false;
};

} // namespace compat
