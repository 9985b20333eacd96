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

#include <cstring>
#include <memory>

namespace compat {

namespace {

// How many windows draw into pixels shared with the X server (for the seams).
int sharedWindows = 0;

// A server that has not read what it was sent after this long is not waited for any more.
constexpr int kLongestWaitMs = 250;

// Errors of the attach, caught while it is tried (a server on another machine cannot attach
// our memory).
bool attachFailed = false;
int NoteAttachError(Display*, XErrorEvent*) {
    attachFailed = true;
    return 0;
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
    ++sharedWindows;
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
    // Whether the server could attach the memory: earlier requests' errors come first, to
    // whoever handled them before.
    XSync(display_, False);
    attachFailed = false;
    const auto earlier = XSetErrorHandler(NoteAttachError);
    segment_->attached = XShmAttach(display_, &segment) && (XSync(display_, False), !attachFailed);
    XSetErrorHandler(earlier);
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
        --sharedWindows;
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
    for (size_t i = 0; i < rectangles.size(); ++i) {
        const BlitRect& area = rectangles[i];
        const int x = static_cast<int>(area.left), y = static_cast<int>(area.top);
        // The server answers the last: it reads the requests in order.
        const bool last = i + 1 == rectangles.size();
        XShmPutImage(display_, xWindow_, gc_, image_, x, y, x, y,
                     static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()),
                     last ? True : False);
    }
    beingRead_ = true;
    XFlush(display_);
}

} // namespace compat

namespace compat::seams {

bool WindowPixelsShared() {
    return sharedWindows > 0;
}

} // namespace compat::seams
