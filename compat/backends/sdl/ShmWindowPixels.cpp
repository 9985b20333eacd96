#include "sdl/ShmWindowPixels.h"

#include "compat/GfxSeams.h"
#include "sdl/X11Watch.h"

#include <SDL.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>
#include <memory>

// libX11's send of what it holds, without the read that XFlush does after it; the libraries of
// X extensions use it. Declared in Xlibint.h, whose types clash with ours.
extern "C" void _XSend(Display* display, const char* data, long size);

namespace compat {

namespace {

// The windows that draw into pixels shared with the X server (for the seams).
std::vector<const ShmWindowPixels*>& SharedWindows() {
    static std::vector<const ShmWindowPixels*> windows;
    return windows;
}

// A server that has not read what it was sent after this long is not waited for any more.
constexpr int kLongestWaitMs = 250;

// Only every so many sends ask the server to answer once it has read them. Each answer costs
// the server a write and us a read, every frame; without one, the pixels of the next frame
// may be drawn while the server still reads the last, which shows for a moment at most: the
// server then reads them again with their own send, and pixels the next frame does not change
// are read as they were. So the server is never more than this many frames behind.
constexpr unsigned kSendsPerAnswer = 4;

// Errors of a request, caught while it is tried: of the attach (a server on another machine
// cannot attach our memory), of a read of the window (one not on the screen cannot be read).
bool requestFailed = false;
int NoteRequestError(Display*, XErrorEvent*) {
    requestFailed = true;
    return 0;
}

// Makes the request and waits for the server to handle it; false when it answered with an
// error. Earlier requests' errors come first, to whoever handled them before.
template <typename Request> bool WithoutError(Display* display, Request request) {
    XSync(display, False);
    requestFailed = false;
    const auto earlier = XSetErrorHandler(NoteRequestError);
    const bool made = request();
    XSync(display, False);
    XSetErrorHandler(earlier);
    return made && !requestFailed;
}

// The depth we draw for an image's format; 0 for a format we do not draw.
int BitsOf(const XImage& image) {
    if (image.bits_per_pixel == 32 && image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 &&
        image.blue_mask == 0xFF)
        return 32;
    if (image.bits_per_pixel == 16 && image.red_mask == 0xF800 && image.green_mask == 0x07E0 &&
        image.blue_mask == 0x1F)
        return 16;
    return 0;
}

} // namespace

struct ShmWindowPixels::Segment {
    XShmSegmentInfo info{}; // the image points at it while it lives
    bool attached = false;
};

ShmWindowPixels::ShmWindowPixels() = default;

ShmWindowPixels::~ShmWindowPixels() {
    Release();
}

bool ShmWindowPixels::Start(SDL_Window* window) {
    Release();
    Display* sdlDisplay = nullptr;
    XID xWindow = 0;
    if (!X11WindowOf(window, &sdlDisplay, &xWindow))
        return false;
    Display* display = XOpenDisplay(DisplayString(sdlDisplay));
    if (!display)
        return false;
    XWindowAttributes attributes{};
    if (!XShmQueryExtension(display) || !XGetWindowAttributes(display, xWindow, &attributes)) {
        XCloseDisplay(display);
        return false;
    }
    display_ = display;
    window_ = window;
    xWindow_ = xWindow;
    visual_ = attributes.visual;
    depth_ = attributes.depth;
    completionEvent_ = XShmGetEventBase(display) + ShmCompletion;
    gc_ = XCreateGC(display, xWindow_, 0, nullptr);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (!gc_ || !MakeImage(width, height)) {
        Release();
        return false;
    }
    SharedWindows().push_back(this);
    counted_ = true;
    return true;
}

bool ShmWindowPixels::MakeImage(int width, int height) {
    FreeImage();
    if (width <= 0 || height <= 0)
        return false;
    segment_ = std::make_unique<Segment>();
    XShmSegmentInfo& segment = segment_->info;
    segment.shmid = -1;
    image_ = XShmCreateImage(display_, static_cast<Visual*>(visual_), static_cast<unsigned>(depth_),
                             ZPixmap, nullptr, &segment, static_cast<unsigned>(width),
                             static_cast<unsigned>(height));
    bits_ = image_ ? BitsOf(*image_) : 0;
    if (!bits_)
        return false;
    const size_t bytes = static_cast<size_t>(image_->bytes_per_line) * image_->height;
    segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment.shmid < 0)
        return false;
    void* memory = shmat(segment.shmid, nullptr, 0);
    // Gone with the last attachment, however the program ends.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1))
        return false;
    std::memset(memory, 0, bytes);
    segment.shmaddr = image_->data = static_cast<char*>(memory);
    segment.readOnly = False;
    // Whether the server could attach the memory.
    segment_->attached = WithoutError(display_, [&] { return XShmAttach(display_, &segment); });
    return segment_->attached;
}

void ShmWindowPixels::FreeImage() {
    if (segment_ && segment_->attached) {
        WaitUntilRead();
        XShmDetach(display_, &segment_->info);
        XSync(display_, False);
    }
    if (image_) {
        image_->data = nullptr; // the shared memory is not the image's to free
        XDestroyImage(image_);
    }
    image_ = nullptr;
    if (segment_ && segment_->info.shmaddr)
        shmdt(segment_->info.shmaddr);
    segment_.reset();
    bits_ = 0;
    beingRead_ = false;
}

void ShmWindowPixels::Release() {
    FreeImage();
    if (display_) {
        if (gc_)
            XFreeGC(display_, gc_);
        XCloseDisplay(display_);
    }
    if (counted_)
        SharedWindows().erase(std::find(SharedWindows().begin(), SharedWindows().end(), this));
    counted_ = false;
    gc_ = nullptr;
    display_ = nullptr;
    window_ = nullptr;
    xWindow_ = 0;
}

void ShmWindowPixels::WaitUntilRead() {
    const Uint32 started = SDL_GetTicks();
    while (beingRead_) {
        while (beingRead_ && XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == completionEvent_)
                beingRead_ = false;
        }
        const int waited = static_cast<int>(SDL_GetTicks() - started);
        if (!beingRead_ || waited >= kLongestWaitMs)
            break;
        pollfd connection{ConnectionNumber(display_), POLLIN, 0};
        poll(&connection, 1, kLongestWaitMs - waited);
    }
    beingRead_ = false;
}

bool ShmWindowPixels::Pixels(WindowPixels* pixels) {
    if (!display_)
        return false;
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    if (!image_ || width != image_->width || height != image_->height) {
        if (!MakeImage(width, height)) {
            FreeImage();
            return false;
        }
    }
    WaitUntilRead();
    return DrawnPixels(pixels);
}

bool ShmWindowPixels::DrawnPixels(WindowPixels* pixels) const {
    if (!image_ || !bits_ || !segment_ || !segment_->attached)
        return false;
    *pixels = WindowPixels{reinterpret_cast<uint8_t*>(segment_->info.shmaddr),
                           image_->width,
                           image_->height,
                           image_->bytes_per_line,
                           bits_,
                           0};
    return true;
}

void ShmWindowPixels::Send(const std::vector<BlitRect>& rectangles) {
    if (!image_ || rectangles.empty())
        return;
    const bool answer = ++sends_ % kSendsPerAnswer == 0;
    for (size_t i = 0; i < rectangles.size(); ++i) {
        const BlitRect& area = rectangles[i];
        const int x = static_cast<int>(area.left), y = static_cast<int>(area.top);
        // The server answers the last: it reads the requests in order.
        const bool last = i + 1 == rectangles.size();
        XShmPutImage(display_, xWindow_, gc_, image_, x, y, x, y,
                     static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()),
                     last && answer ? True : False);
    }
    beingRead_ = beingRead_ || answer;
    // Sent at once, without XFlush's read of what the server sent: answers are read when
    // they are waited for.
    _XSend(display_, nullptr, 0);
}

bool ShmWindowPixels::ServerHoldsDrawnPixels() const {
    WindowPixels drawn;
    if (!DrawnPixels(&drawn))
        return false;
    XImage* got = nullptr;
    const bool read = WithoutError(display_, [&] {
        got = XGetImage(display_, xWindow_, 0, 0, static_cast<unsigned>(drawn.width),
                        static_cast<unsigned>(drawn.height), AllPlanes, ZPixmap);
        return got != nullptr;
    });
    if (!got)
        return false;
    // The bits above a 24-bit depth's colour are the server's own.
    const uint32_t colour = drawn.bits == 32 ? 0xFFFFFF : 0xFFFF;
    bool same = read && got->bits_per_pixel == drawn.bits;
    for (int y = 0; same && y < drawn.height; ++y) {
        for (int x = 0; same && x < drawn.width; ++x) {
            uint32_t ours = 0;
            std::memcpy(&ours, drawn.pixels + y * drawn.pitch + x * (drawn.bits / 8),
                        static_cast<size_t>(drawn.bits / 8));
            same = ((ours ^ static_cast<uint32_t>(XGetPixel(got, x, y))) & colour) == 0;
        }
    }
    XDestroyImage(got);
    return same;
}

} // namespace compat

namespace compat::seams {

bool WindowPixelsShared() {
    return !SharedWindows().empty();
}

bool SharedWindowsShownByServer() {
    for (const ShmWindowPixels* window : SharedWindows())
        if (!window->ServerHoldsDrawnPixels())
            return false;
    return !SharedWindows().empty();
}

} // namespace compat::seams
