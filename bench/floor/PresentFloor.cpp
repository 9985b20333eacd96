// The least a 60 Hz game can cost here that sends the window what the game sends it.
//
//   bench_PresentFloor AREAS-FILE
//
// AREAS-FILE holds a frame a line, each area as x,y,w,h in the window's pixels (what the game
// writes where QUIBBO_WINDOW_AREAS names a file). A window the size of the screen is opened,
// and the lines are sent again one a frame, over and over, the way the game sends its frames:
// each area's pixels written into memory shared with the X server, one XShmPutImage an area,
// an answer asked for every fourth frame and waited for before that memory is written again,
// the requests sent without a read, the server's events read, then a sleep to the next
// frame. Nothing of the game is done: not its play, drawing, comparing or scaling. This
// program and the X server together cost the floor under the game's own present on this
// machine (bench/desktop-cost measures it beside the game). It runs until it is killed.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// libX11's send of what it holds, without XFlush's read after it (the game sends so).
extern "C" void _XSend(Display* display, const char* data, long size);

namespace {

struct Area {
    int x, y, width, height;
};
using Frame = std::vector<Area>;

constexpr unsigned kSendsPerAnswer = 4;
constexpr long kPeriodNs = 1000000000L / 60;

// The frames of the file, each area cut to the window; false when it has none.
bool ReadFrames(const char* path, int width, int height, std::vector<Frame>* frames) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        Frame frame;
        std::istringstream items(line);
        std::string item;
        while (items >> item) {
            Area a{};
            if (std::sscanf(item.c_str(), "%d,%d,%d,%d", &a.x, &a.y, &a.width, &a.height) != 4 ||
                a.x < 0 || a.y < 0 || a.width <= 0 || a.height <= 0 || a.x >= width ||
                a.y >= height)
                continue;
            a.width = std::min(a.width, width - a.x);
            a.height = std::min(a.height, height - a.y);
            frame.push_back(a);
        }
        frames->push_back(frame);
    }
    return !frames->empty();
}

void AddNs(timespec* t, long ns) {
    t->tv_nsec += ns;
    while (t->tv_nsec >= 1000000000L) {
        t->tv_nsec -= 1000000000L;
        ++t->tv_sec;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s AREAS-FILE\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display || !XShmQueryExtension(display)) {
        std::fprintf(stderr, "bench_PresentFloor: no X server with shared memory\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
    std::vector<Frame> frames;
    if (!ReadFrames(argv[1], width, height, &frames)) {
        std::fprintf(stderr, "bench_PresentFloor: no frames in %s\n", argv[1]);
        return 1;
    }
    const Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                            static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0, 0);
    XStoreName(display, window, "Present floor");
    XSelectInput(display, window, ExposureMask | KeyPressMask | PointerMotionMask);
    XMapWindow(display, window);

    XShmSegmentInfo segment{};
    XImage* image =
        XShmCreateImage(display, DefaultVisual(display, screen),
                        static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, nullptr,
                        &segment, static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!image)
        return 1;
    segment.shmid =
        shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (segment.shmid < 0)
        return 1;
    segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    segment.readOnly = False;
    XShmAttach(display, &segment);
    XSync(display, False);
    shmctl(segment.shmid, IPC_RMID, nullptr); // gone once both sides detach
    const GC gc = XCreateGC(display, window, 0, nullptr);
    const int completion = XShmGetEventBase(display) + ShmCompletion;
    const int bytes = image->bits_per_pixel / 8;

    bool beingRead = false;
    // Takes the server's next event (waiting for one): the answer says it has read the memory.
    const auto takeEvent = [&] {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == completion)
            beingRead = false;
    };
    unsigned sends = 0;
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (size_t f = 0;; f = (f + 1) % frames.size()) {
        while (XPending(display) > 0)
            takeEvent();
        const Frame& frame = frames[f];
        if (!frame.empty()) {
            while (beingRead) // the memory is written only once the server has read it
                takeEvent();
            const bool answer = ++sends % kSendsPerAnswer == 0;
            for (size_t i = 0; i < frame.size(); ++i) {
                const Area& a = frame[i];
                for (int y = a.y; y < a.y + a.height; ++y)
                    std::memset(image->data + static_cast<long>(y) * image->bytes_per_line +
                                    a.x * bytes,
                                static_cast<int>(f), static_cast<size_t>(a.width) * bytes);
                XShmPutImage(display, window, gc, image, a.x, a.y, a.x, a.y,
                             static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                             answer && i + 1 == frame.size() ? True : False);
            }
            beingRead = beingRead || answer;
            _XSend(display, nullptr, 0);
        }
        AddNs(&next, kPeriodNs);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr) == EINTR) {
        }
    }
}
