#include "Screen.h"

#include "Blitter.h"
#include "DisplayChoice.h"
#include "GpuProbe.h"
#include "Ticks.h"
#include "sdl/SdlWindow.h"

#include <SDL.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace compat {

namespace {

PixelSurface lastFrame;
uint64_t frameCount = 0;
int64_t presentingNanoseconds = 0; // of the presenting thread's processor time, pacing left out

// The calling thread's processor time: what a present costs, whatever else the machine runs.
int64_t ThreadNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

void Complain(const char* what) {
    std::fprintf(stderr, "compat: %s: %s\n", what, SDL_GetError());
}

bool HeadlessVideo() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

// The screen whose frame `lastFrame` is: the frame another screen showed says nothing about
// what this one's window shows.
const Screen* lastScreen = nullptr;

} // namespace

namespace {

// Once the player has switched, QUIBBO_WINDOWED no longer decides.
bool switchedByPlayer = false;
// The window's size changed since the choice was last written.
bool choiceUnsaved = false;

} // namespace

bool WindowedWanted() {
    const char* value = std::getenv("QUIBBO_WINDOWED");
    if (!switchedByPlayer && value && std::strcmp(value, "1") == 0)
        return true;
    if (!switchedByPlayer && value && std::strcmp(value, "0") == 0)
        return false;
    return CurrentDisplayChoice().windowed;
}

bool StartVideo() {
    static const bool started = [] {
        // Without any display SDL would fall back to drawing offscreen: a game nobody can see.
        // A driver named in SDL_VIDEODRIVER is taken as it is (tests, the replay driver).
        const auto given = [](const char* name) {
            const char* value = std::getenv(name);
            return value && *value;
        };
        const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
        const bool chosen = named && *named;
        if (!chosen && !given("DISPLAY") && !given("WAYLAND_DISPLAY")) {
            SDL_SetError("no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY "
                         "is set)");
            Complain("no video");
            return false;
        }
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            Complain("no video");
            return false;
        }
        if (!chosen && HeadlessVideo()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            SDL_SetError("no display answers at DISPLAY or WAYLAND_DISPLAY");
            Complain("no video");
            return false;
        }
        return true;
    }();
    return started;
}

void DesktopSize(int* width, int* height) {
    SDL_DisplayMode mode{};
    if (StartVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        *width = mode.w;
        *height = mode.h;
        return;
    }
    *width = 1024;
    *height = 768;
}

namespace {

// True for an OpenGL renderer drawn by the CPU (Mesa's llvmpipe under Xvfb or without a
// graphics card): it costs several times the CPU of drawing into the window ourselves.
bool RasterisedByCpu(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0)
        return false;
    using GetString = const unsigned char*(APIENTRY*)(unsigned int);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(0x1F01 /* GL_RENDERER */) : nullptr;
    if (!name)
        return false;
    const char* text = reinterpret_cast<const char*>(name);
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(text, software))
            return true;
    return false;
}

// The depth of a window format we draw into ourselves (0 for others), and the alpha bits
// that make its pixels opaque.
int ScreenBits(Uint32 format, uint32_t* alpha) {
    *alpha = 0;
    switch (format) {
    case SDL_PIXELFORMAT_RGB565:
        return 16;
    case SDL_PIXELFORMAT_RGB888:
        return 32;
    case SDL_PIXELFORMAT_ARGB8888:
        *alpha = 0xFF000000;
        return 32;
    default:
        return 0;
    }
}

} // namespace

bool Screen::Show(Window* window, int width, int height, int bitsPerPixel) {
    if (!window || !StartVideo())
        return false;
    if (window_ && window_ != window)
        Hide();

    const bool windowed = WindowedWanted();
    if (!SdlWindowOf(window)) {
        Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
        int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = 0, h = 0;
        if (windowed) {
            FirstWindowSize(width, height, &w, &h);
        } else {
            // Borderless at the desktop's size: full screen even without a window manager.
            flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP;
            x = y = 0;
            DesktopSize(&w, &h);
        }
        if (!MakeSdlWindow(window, x, y, w, h, flags)) {
            Complain("cannot make the window");
            return false;
        }
    } else if (windowed) {
        int w = 0, h = 0;
        if (width_ > 0 && height_ > 0 &&
            !(SDL_GetWindowFlags(SdlWindowOf(window)) & SDL_WINDOW_FULLSCREEN_DESKTOP)) {
            // Another mode keeps the window's multiple of the mode, as far as the desktop allows.
            int desktopWidth = 0, desktopHeight = 0;
            DesktopSize(&desktopWidth, &desktopHeight);
            int nowWidth = 0, nowHeight = 0;
            SDL_GetWindowSize(SdlWindowOf(window), &nowWidth, &nowHeight);
            WindowSizeFor(width, height, desktopWidth, desktopHeight,
                          static_cast<double>(nowHeight) / height_, &w, &h);
        } else {
            FirstWindowSize(width, height, &w, &h);
        }
        ShowAsWindow(SdlWindowOf(window), w, h);
    } else {
        ShowFullScreen(SdlWindowOf(window));
    }
    if (window_ != window)
        SDL_AddEventWatch(&Screen::WatchWindowEvents, this);
    window_ = window;
    visibility_.Watch(SdlWindowOf(window));
    window->presenter = this;

    const bool modeChanged = width != width_ || height != height_ || bitsPerPixel != bitsPerPixel_;
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    if ((!renderer_ && !windowSurface_ && !MakePresenter()) ||
        (renderer_ && (!texture_ || modeChanged) && !MakeTexture())) {
        Hide();
        return false;
    }

    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(SdlWindowOf(window));
    pacer_.SetRate(
        SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 ? mode.refresh_rate : 0);
    pacer_.Restart();

    // Black until the first frame arrives.
    if (renderer_) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderPresent(renderer_);
    } else if (SDL_Surface* surface = SDL_GetWindowSurface(SdlWindowOf(window))) {
        SDL_FillRect(surface, nullptr, 0);
        SDL_UpdateWindowSurface(SdlWindowOf(window));
    }
    RedrawWhole();
    return true;
}

void Screen::FirstWindowSize(int modeWidth, int modeHeight, int* width, int* height) {
    int desktopWidth = 0, desktopHeight = 0;
    DesktopSize(&desktopWidth, &desktopHeight);
    const DisplayChoice& choice = CurrentDisplayChoice();
    WindowSizeFor(modeWidth, modeHeight, desktopWidth, desktopHeight, 0, width, height);
    if (choice.width > 0 && choice.height > 0) {
        // The size the player left the window at, as far as this desktop holds it.
        int roomWidth = 0, roomHeight = 0;
        WindowRoom(desktopWidth, desktopHeight, &roomWidth, &roomHeight);
        *width = std::min(choice.width, roomWidth);
        *height = std::min(choice.height, roomHeight);
    }
}

void Screen::ShowAsWindow(SDL_Window* window, int width, int height) {
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowResizable(window, SDL_TRUE);
    SDL_SetWindowSize(window, width, height);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    SDL_ShowWindow(window);
}

void Screen::ShowFullScreen(SDL_Window* window) {
    // Placed over the whole desktop first: without a window manager nothing else does that.
    int width = 0, height = 0;
    DesktopSize(&width, &height);
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, 0, 0);
    SDL_SetWindowSize(window, width, height);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_ShowWindow(window);
}

void Screen::SwitchFullScreen() {
    if (!window_ || !SdlWindowOf(window_))
        return;
    DisplayChoice& choice = CurrentDisplayChoice();
    const bool toWindow = !WindowedWanted();
    if (!toWindow)
        SDL_GetWindowSize(SdlWindowOf(window_), &choice.width, &choice.height);
    switchedByPlayer = true;
    choice.windowed = toWindow;
    if (toWindow) {
        int w = 0, h = 0;
        FirstWindowSize(width_, height_, &w, &h);
        ShowAsWindow(SdlWindowOf(window_), w, h);
    } else {
        ShowFullScreen(SdlWindowOf(window_));
    }
    SaveDisplayChoice();
    choiceUnsaved = false;
    RedrawWhole();
}

bool Screen::MakeTexture() {
    if (texture_)
        SDL_DestroyTexture(texture_);
    const Uint32 format = bitsPerPixel_ == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    texture_ = SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING, width_, height_);
    if (!texture_) {
        Complain("cannot make the screen texture");
        return false;
    }
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    RedrawWhole(); // a new texture holds no frame yet
    return true;
}

bool Screen::MakePresenter() {
    // Vsync where a display offers it; the pacer covers the drivers that do not wait. The
    // headless drivers have no display to wait for: pacing stays with the pacer (and so with
    // a test's set clock).
    const Uint32 vsync = HeadlessVideo() ? 0 : SDL_RENDERER_PRESENTVSYNC;
    SDL_Window* window = SdlWindowOf(window_);
    if (SDL_GetHint(SDL_HINT_RENDER_DRIVER)) {
        renderer_ = SDL_CreateRenderer(window, -1, vsync); // the user's choice
    } else {
        // Where no graphics card could draw, OpenGL is not even loaded: it would only find
        // the processor to draw with, at tens of megabytes.
        if (!NoGpuToAccelerate())
            renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | vsync);
        if (renderer_ && RasterisedByCpu(renderer_)) {
            SDL_DestroyRenderer(renderer_);
            renderer_ = nullptr;
        }
        if (!renderer_) {
            // Straight into the window's own pixels, not through another OpenGL texture.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            SDL_Surface* surface = SDL_GetWindowSurface(window);
            uint32_t alpha = 0;
            if (surface && ScreenBits(surface->format->format, &alpha) != 0) {
                windowSurface_ = true;
                return true;
            }
            // No vsync asked for: SDL would only imitate it, and the pacer does that already.
            renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        }
    }
    if (!renderer_)
        Complain("cannot make a renderer");
    return renderer_ != nullptr;
}

void Screen::Hide() {
    if (choiceUnsaved)
        SaveDisplayChoice();
    choiceUnsaved = false;
    if (texture_)
        SDL_DestroyTexture(texture_);
    if (renderer_)
        SDL_DestroyRenderer(renderer_);
    texture_ = nullptr;
    renderer_ = nullptr;
    windowSurface_ = false;
    picture_ = WindowPicture{};
    visibility_.Release();
    if (window_)
        SDL_DelEventWatch(&Screen::WatchWindowEvents, this);
    if (window_ && window_->presenter == this)
        window_->presenter = nullptr;
    window_ = nullptr;
}

void Screen::WindowGone() {
    // The SDL window is about to go: the renderer goes with it.
    Hide();
}

void Screen::Present(const PixelSurface& frame, bool pace) {
    const DWORD started = RunningTicks();
    const int64_t presentStart = ThreadNanoseconds();
    // Nobody sees a minimised, hidden or wholly covered window: no drawing, only the pacing.
    const bool seen =
        window_ &&
        !(SDL_GetWindowFlags(SdlWindowOf(window_)) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) &&
        !visibility_.FullyCovered();
    NoteFrameTime(seen);
    if (window_ && frame.width == width_ && frame.height == height_ &&
        frame.bitsPerPixel == bitsPerPixel_ && !frame.pixels.empty()) {
        bool shown = false;
        if (seen && renderer_ && texture_)
            shown = PresentThroughRenderer(frame);
        else if (seen && windowSurface_)
            shown = PresentIntoWindowSurface(frame);
        if (!shown) {
            // The seams still see the frame; the window gets all of the next one.
            TakeFrameChanges(frame);
            RedrawWhole();
        }
        ++frameCount;
    }
    presentingNanoseconds += ThreadNanoseconds() - presentStart;
    if (pace)
        pacer_.AfterPresent(started, RunningTicks());
}

bool Screen::TakeRedrawWhole() {
    const bool whole = redrawWhole_ || lastScreen != this;
    lastScreen = this;
    redrawWhole_ = false;
    return whole;
}

void Screen::TakeFrameChanges(const PixelSurface& frame) {
    TakeChanges(frame, lastFrame, TakeRedrawWhole(), &changes_);
}

bool Screen::PresentThroughRenderer(const PixelSurface& frame) {
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    if (outputWidth != rendererOutputWidth_ || outputHeight != rendererOutputHeight_)
        RedrawWhole();
    rendererOutputWidth_ = outputWidth;
    rendererOutputHeight_ = outputHeight;
    TakeFrameChanges(frame);
    if (!changes_.Any())
        return true; // the window still shows this picture
    const int bytes = frame.BytesPerPixel();
    if (changes_.whole)
        changes_.areas.assign(1, Bounds(frame));
    for (const BlitRect& area : changes_.areas) {
        const SDL_Rect rect{static_cast<int>(area.left), static_cast<int>(area.top),
                            static_cast<int>(area.Width()), static_cast<int>(area.Height())};
        SDL_UpdateTexture(texture_, &rect, frame.Row(rect.y) + rect.x * bytes, frame.pitch);
    }
    const Letterbox box = FitMode(outputWidth, outputHeight, width_, height_);
    const SDL_Rect target{box.x, box.y, box.width, box.height};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
    return true;
}

bool Screen::PresentIntoWindowSurface(const PixelSurface& frame) {
    SDL_Surface* surface = SDL_GetWindowSurface(SdlWindowOf(window_));
    uint32_t alpha = 0;
    const int bits = surface ? ScreenBits(surface->format->format, &alpha) : 0;
    if (!bits || (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0))
        return false;
    const WindowPixels pixels{static_cast<uint8_t*>(surface->pixels),
                              surface->w,
                              surface->h,
                              surface->pitch,
                              bits,
                              alpha};
    if (TakeRedrawWhole())
        picture_.RedrawWhole();
    const std::vector<BlitRect>& drawn = picture_.Draw(frame, lastFrame, pixels);
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    if (drawn.empty())
        return true;
    thread_local std::vector<SDL_Rect> rects;
    rects.clear();
    for (const BlitRect& area : drawn)
        rects.push_back(SDL_Rect{static_cast<int>(area.left), static_cast<int>(area.top),
                                 static_cast<int>(area.Width()), static_cast<int>(area.Height())});
    SDL_UpdateWindowSurfaceRects(SdlWindowOf(window_), rects.data(),
                                 static_cast<int>(rects.size()));
    return true;
}

int Screen::WatchWindowEvents(void* screen, SDL_Event* event) {
    auto* self = static_cast<Screen*>(screen);
    if (event->type != SDL_WINDOWEVENT || !self->window_ || !SdlWindowOf(self->window_) ||
        event->window.windowID != SDL_GetWindowID(SdlWindowOf(self->window_)))
        return 0;
    switch (event->window.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        // The window system may have lost what the window showed.
        self->RedrawWhole();
        if (event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED && WindowedWanted() &&
            !(SDL_GetWindowFlags(SdlWindowOf(self->window_)) & SDL_WINDOW_FULLSCREEN_DESKTOP)) {
            // The size the player gives the window is kept for the next start.
            DisplayChoice& choice = CurrentDisplayChoice();
            SDL_GetWindowSize(SdlWindowOf(self->window_), &choice.width, &choice.height);
            choiceUnsaved = switchedByPlayer || choice.windowed;
        }
        break;
    default:
        break;
    }
    return 0;
}

POINT Screen::ModePixelFromWindow(int x, int y) const {
    if (!window_ || !SdlWindowOf(window_))
        return POINT{x, y};
    // Mouse positions come in window coordinates, which may differ from the renderer's
    // output pixels on high-density displays; the bars scale alike in both.
    int windowWidth = 0, windowHeight = 0;
    SDL_GetWindowSize(SdlWindowOf(window_), &windowWidth, &windowHeight);
    return ModePixelAt(FitMode(windowWidth, windowHeight, width_, height_), width_, height_, x, y);
}

bool Screen::WindowColor(int x, int y, COLORREF* color) const {
    SDL_Surface* surface = windowSurface_ ? SDL_GetWindowSurface(SdlWindowOf(window_)) : nullptr;
    uint32_t alpha = 0;
    const int bits = surface ? ScreenBits(surface->format->format, &alpha) : 0;
    if (!bits || x < 0 || y < 0 || x >= surface->w || y >= surface->h)
        return false;
    const uint8_t* p = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    uint32_t raw = 0;
    std::memcpy(&raw, p + x * (bits / 8), bits / 8);
    *color = ColorFromRaw(bits == 32 ? raw & 0xFFFFFF : raw, bits);
    return true;
}

bool Screen::ShowsLastFrameWhole() const {
    SDL_Surface* surface = windowSurface_ ? SDL_GetWindowSurface(SdlWindowOf(window_)) : nullptr;
    uint32_t alpha = 0;
    const int bits = surface ? ScreenBits(surface->format->format, &alpha) : 0;
    if (!bits || lastFrame.pixels.empty())
        return false;
    std::vector<uint8_t> fresh(static_cast<size_t>(surface->pitch) * surface->h);
    const Letterbox box = FitMode(surface->w, surface->h, width_, height_);
    ShowOnScreen(lastFrame, fresh.data(), surface->pitch, surface->w, surface->h, bits, alpha,
                 BlitRect{box.x, box.y, box.x + box.width, box.y + box.height});
    const size_t rowBytes = static_cast<size_t>(surface->w) * (bits / 8);
    for (int y = 0; y < surface->h; ++y) {
        const size_t at = static_cast<size_t>(y) * surface->pitch;
        if (std::memcmp(fresh.data() + at, static_cast<const uint8_t*>(surface->pixels) + at,
                        rowBytes) != 0)
            return false;
    }
    return true;
}

const PixelSurface& LastPresentedFrame() {
    return lastFrame;
}

uint64_t PresentedFrameCount() {
    return frameCount;
}

double PresentingSeconds() {
    return static_cast<double>(presentingNanoseconds) / 1e9;
}

void ForgetPresentedFrames() {
    lastFrame = PixelSurface{};
    frameCount = 0;
    presentingNanoseconds = 0;
}

} // namespace compat
