// Inside the platform layer: a window's own pixels in memory shared with the X server, drawn
// into by us and sent without a round trip. SDL's window surface on X11 is such memory too,
// but SDL waits for the server to answer after every update; here only every few sends ask
// for an answer, and the frame after such a send waits, only while the server has not yet read
// it (it has, a frame later).
#pragma once

#include "ddraw/FrameChanges.h"

#include <memory>
#include <vector>

struct SDL_Window;
struct _XDisplay;
struct _XGC;
struct _XImage;

namespace compat {

class ShmWindowPixels {
public:
    ShmWindowPixels();
    ShmWindowPixels(const ShmWindowPixels&) = delete;
    ShmWindowPixels& operator=(const ShmWindowPixels&) = delete;
    ~ShmWindowPixels();

    // Starts on the window where it is an X window on a server with shared memory images, in
    // a format we draw (RGB565 or XRGB8888); false elsewhere, with nothing held.
    bool Start(SDL_Window* window);
    void Release();
    bool Started() const { return display_ != nullptr; }
    // The pixels to draw into, as large as the window now: new (and black) when its size
    // changed. Waits until the server has read the pixels sent last. False when the window's
    // pixels cannot be had.
    bool Pixels(WindowPixels* pixels);
    // The pixels as last drawn, without waiting; false before there are any.
    bool DrawnPixels(WindowPixels* pixels) const;
    // Sends the rectangles of the pixels to the window.
    void Send(const std::vector<BlitRect>& rectangles);
    // Whether the window on the server holds the pixels as last drawn, once the server has
    // handled all that was sent (a round trip: for the seams).
    bool ServerHoldsDrawnPixels() const;

private:
    bool MakeImage(int width, int height);
    void FreeImage();
    void WaitUntilRead();

    SDL_Window* window_ = nullptr;
    _XDisplay* display_ = nullptr; // a connection of our own: its completion events are ours
    unsigned long xWindow_ = 0;
    void* visual_ = nullptr;
    int depth_ = 0;
    int completionEvent_ = 0;
    _XGC* gc_ = nullptr;
    _XImage* image_ = nullptr;
    struct Segment; // the image's shared memory, as the server knows it
    std::unique_ptr<Segment> segment_;
    int bits_ = 0;
    bool beingRead_ = false; // a send has not been answered yet
    unsigned sends_ = 0;     // every few of them ask for an answer
    bool counted_ = false;   // in the seams' list of shared windows
};

} // namespace compat
