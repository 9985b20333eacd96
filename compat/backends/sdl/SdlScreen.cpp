#include "sdl/SdlScreen.h"

#include "ddraw/Letterbox.h"
#include "ddraw/DisplayChoice.h"
#include "pixels/Blitter.h"
#include "sdl/GpuProbe.h"
#include "sdl/SdlVideo.h"
#include "sdl/SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace compat {

namespace {

// The window's size changed since the choice was last written.
bool choiceUnsaved = false;

// With QUIBBO_WINDOW_AREAS naming a file, the areas of the window each present of the window's
// pixels sends (x,y,w,h, one frame a line, empty for a frame that changed nothing) are appended
// to it, for bench/desktop-cost's bare presenter, which sends the same areas. Costs nothing
// otherwise.
void NoteWindowAreas(const std::vector<BlitRect>& areas) {
    static FILE* const file = [] {
        const char* path = std::getenv("QUIBBO_WINDOW_AREAS");
        return path && *path ? std::fopen(path, "a") : nullptr;
    }();
    if (!file)
        return;
    for (size_t i = 0; i < areas.size(); ++i)
        std::fprintf(file, "%s%lld,%lld,%lld,%lld", i ? " " : "",
                     static_cast<long long>(areas[i].left), static_cast<long long>(areas[i].top),
                     static_cast<long long>(areas[i].Width()),
                     static_cast<long long>(areas[i].Height()));
    std::fputc('\n', file);
}

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

bool SurfacePixels(SDL_Surface* surface, WindowPixels* pixels) {
    uint32_t alpha = 0;
    const int bits = surface ? ScreenBits(surface->format->format, &alpha) : 0;
    if (!bits)
        return false;
    *pixels = WindowPixels{static_cast<uint8_t*>(surface->pixels),
                           surface->w,
                           surface->h,
                           surface->pitch,
                           bits,
                           alpha};
    return true;
}

} // namespace

bool SdlScreen::Show(platform::NativeWindow** native, const platform::WindowLook& look, int width,
                     int height, int bitsPerPixel) {
    SDL_Window* window = SdlWindowOf(*native);
    if (window_ && window_ != window)
        Hide();

    const bool windowed = WindowedWanted();
    if (!window) {
        Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
        int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = 0, h = 0;
        if (windowed) {
            FirstWindowSize(width, height, &w, &h);
        } else {
            // Borderless at the desktop's size: full screen even without a window manager.
            flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP;
            x = y = 0;
            platform::DesktopSize(&w, &h);
        }
        if (!MakeSdlWindow(native, look, x, y, w, h, flags)) {
            Complain("cannot make the window");
            return false;
        }
        window = SdlWindowOf(*native);
    } else if (windowed) {
        int w = 0, h = 0;
        if (width_ > 0 && height_ > 0 &&
            !(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP)) {
            // Another mode keeps the window's multiple of the mode, as far as the desktop allows.
            int desktopWidth = 0, desktopHeight = 0;
            platform::DesktopSize(&desktopWidth, &desktopHeight);
            int nowWidth = 0, nowHeight = 0;
            SDL_GetWindowSize(window, &nowWidth, &nowHeight);
            WindowSizeFor(width, height, desktopWidth, desktopHeight,
                          static_cast<double>(nowHeight) / height_, &w, &h);
        } else {
            FirstWindowSize(width, height, &w, &h);
        }
        ShowAsWindow(window, w, h);
    } else {
        ShowFullScreen(window);
    }
    if (window_ != window)
        SDL_AddEventWatch(&SdlScreen::WatchWindowEvents, this);
    window_ = window;
    visibility_.Watch(window);

    const bool modeChanged = width != width_ || height != height_ || bitsPerPixel != bitsPerPixel_;
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    if ((!renderer_ && !windowSurface_ && !MakePresenter()) ||
        (renderer_ && (!texture_ || modeChanged) && !MakeTexture())) {
        Hide();
        return false;
    }

    // Black until the first frame arrives.
    if (renderer_) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderPresent(renderer_);
    } else if (WindowPixels pixels; shared_.Started() && shared_.Pixels(&pixels)) {
        for (int y = 0; y < pixels.height; ++y)
            std::memset(pixels.pixels + static_cast<int64_t>(y) * pixels.pitch, 0,
                        static_cast<size_t>(pixels.width) * (pixels.bits / 8));
        shared_.Send({BlitRect{0, 0, pixels.width, pixels.height}});
    } else if (SDL_Surface* surface = SDL_GetWindowSurface(window)) {
        SDL_FillRect(surface, nullptr, 0);
        SDL_UpdateWindowSurface(window);
    }
    RedrawWhole();
    return true;
}

int SdlScreen::RefreshRate() {
    SDL_DisplayMode mode{};
    const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    return SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 ? mode.refresh_rate : 0;
}

void SdlScreen::FirstWindowSize(int modeWidth, int modeHeight, int* width, int* height) {
    int desktopWidth = 0, desktopHeight = 0;
    platform::DesktopSize(&desktopWidth, &desktopHeight);
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

void SdlScreen::ShowAsWindow(SDL_Window* window, int width, int height) {
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowResizable(window, SDL_TRUE);
    SDL_SetWindowSize(window, width, height);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    SDL_ShowWindow(window);
}

void SdlScreen::ShowFullScreen(SDL_Window* window) {
    // Placed over the whole desktop first: without a window manager nothing else does that.
    int width = 0, height = 0;
    platform::DesktopSize(&width, &height);
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, 0, 0);
    SDL_SetWindowSize(window, width, height);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_ShowWindow(window);
}

void SdlScreen::SwitchFullScreen() {
    if (!window_)
        return;
    DisplayChoice& choice = CurrentDisplayChoice();
    const bool toWindow = !WindowedWanted();
    if (!toWindow)
        SDL_GetWindowSize(window_, &choice.width, &choice.height);
    NoteSwitchByPlayer();
    choice.windowed = toWindow;
    if (toWindow) {
        int w = 0, h = 0;
        FirstWindowSize(width_, height_, &w, &h);
        ShowAsWindow(window_, w, h);
    } else {
        ShowFullScreen(window_);
    }
    SaveDisplayChoice();
    choiceUnsaved = false;
    RedrawWhole();
}

bool SdlScreen::MakeTexture() {
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

bool SdlScreen::MakePresenter() {
    // Vsync where a display offers it; the pacer covers the drivers that do not wait. The
    // headless drivers have no display to wait for: pacing stays with the pacer (and so with
    // a test's set clock).
    const Uint32 vsync = HeadlessVideo() ? 0 : SDL_RENDERER_PRESENTVSYNC;
    SDL_Window* window = window_;
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
            // Straight into the window's own pixels, not through another OpenGL texture:
            // shared with the X server where it offers that, else SDL's window surface.
            if (shared_.Start(window)) {
                windowSurface_ = true;
                return true;
            }
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

void SdlScreen::Hide() {
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
    shared_.Release();
    picture_ = WindowPicture{};
    visibility_.Release();
    if (window_)
        SDL_DelEventWatch(&SdlScreen::WatchWindowEvents, this);
    window_ = nullptr;
}

bool SdlScreen::Seen() {
    return !(SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) &&
           !visibility_.FullyCovered();
}

bool SdlScreen::Present(const PixelSurface& frame, PixelSurface& shown, bool whole,
                        const platform::FrameDamage& damage) {
    if (renderer_ && texture_)
        return PresentThroughRenderer(frame, shown, whole, damage);
    if (windowSurface_)
        return PresentIntoWindowSurface(frame, shown, whole, damage);
    return false;
}

bool SdlScreen::PresentThroughRenderer(const PixelSurface& frame, PixelSurface& shown, bool whole,
                                       const platform::FrameDamage& damage) {
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    if (outputWidth != rendererOutputWidth_ || outputHeight != rendererOutputHeight_)
        RedrawWhole();
    rendererOutputWidth_ = outputWidth;
    rendererOutputHeight_ = outputHeight;
    TakeChanges(frame, shown, whole || redrawWhole_, &changes_, &damage);
    redrawWhole_ = false;
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

bool SdlScreen::PresentIntoWindowSurface(const PixelSurface& frame, PixelSurface& shown, bool whole,
                                         const platform::FrameDamage& damage) {
    WindowPixels pixels;
    SDL_Surface* surface = nullptr;
    if (shared_.Started()) {
        if (!shared_.Pixels(&pixels))
            return false;
    } else {
        surface = SDL_GetWindowSurface(window_);
        if (!SurfacePixels(surface, &pixels) ||
            (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0))
            return false;
    }
    if (whole || redrawWhole_)
        picture_.RedrawWhole();
    redrawWhole_ = false;
    const std::vector<BlitRect>& drawn = picture_.Draw(frame, shown, pixels, &damage);
    if (surface && SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    NoteWindowAreas(drawn);
    if (drawn.empty())
        return true;
    if (shared_.Started()) {
        shared_.Send(drawn);
        return true;
    }
    thread_local std::vector<SDL_Rect> rects;
    rects.clear();
    for (const BlitRect& area : drawn)
        rects.push_back(SDL_Rect{static_cast<int>(area.left), static_cast<int>(area.top),
                                 static_cast<int>(area.Width()), static_cast<int>(area.Height())});
    SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    return true;
}

int SdlScreen::WatchWindowEvents(void* screen, SDL_Event* event) {
    auto* self = static_cast<SdlScreen*>(screen);
    if (event->type != SDL_WINDOWEVENT || !self->window_ ||
        event->window.windowID != SDL_GetWindowID(self->window_))
        return 0;
    switch (event->window.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        // The window system may have lost what the window showed.
        self->RedrawWhole();
        if (event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED && WindowedWanted() &&
            !(SDL_GetWindowFlags(self->window_) & SDL_WINDOW_FULLSCREEN_DESKTOP)) {
            // The size the player gives the window is kept for the next start.
            DisplayChoice& choice = CurrentDisplayChoice();
            SDL_GetWindowSize(self->window_, &choice.width, &choice.height);
            choiceUnsaved = SwitchedByPlayer() || choice.windowed;
        }
        break;
    default:
        break;
    }
    return 0;
}

void SdlScreen::ModePixelFromWindow(int x, int y, int* modeX, int* modeY) {
    // Mouse positions come in window coordinates, which may differ from the renderer's
    // output pixels on high-density displays; the bars scale alike in both.
    int windowWidth = 0, windowHeight = 0;
    SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
    const POINT pixel =
        ModePixelAt(FitMode(windowWidth, windowHeight, width_, height_), width_, height_, x, y);
    *modeX = pixel.x;
    *modeY = pixel.y;
}

bool SdlScreen::DrawnWindowPixels(WindowPixels* pixels) {
    if (!windowSurface_)
        return false;
    if (shared_.Started())
        return shared_.DrawnPixels(pixels);
    return SurfacePixels(SDL_GetWindowSurface(window_), pixels);
}

bool SdlScreen::WindowColor(int x, int y, uint32_t* color) {
    WindowPixels window;
    if (!DrawnWindowPixels(&window) || x < 0 || y < 0 || x >= window.width || y >= window.height)
        return false;
    const uint8_t* p = window.pixels + static_cast<int64_t>(y) * window.pitch;
    uint32_t raw = 0;
    std::memcpy(&raw, p + x * (window.bits / 8), window.bits / 8);
    *color = ColorFromRaw(window.bits == 32 ? raw & 0xFFFFFF : raw, window.bits);
    return true;
}

bool SdlScreen::ShowsWhole(const PixelSurface& frame) {
    WindowPixels window;
    if (!DrawnWindowPixels(&window))
        return false;
    std::vector<uint8_t> fresh(static_cast<size_t>(window.pitch) * window.height);
    const Letterbox box = FitMode(window.width, window.height, width_, height_);
    ShowOnScreen(frame, fresh.data(), window.pitch, window.width, window.height, window.bits,
                 window.alpha, BlitRect{box.x, box.y, box.x + box.width, box.y + box.height});
    const size_t rowBytes = static_cast<size_t>(window.width) * (window.bits / 8);
    for (int y = 0; y < window.height; ++y) {
        const size_t at = static_cast<size_t>(y) * window.pitch;
        if (std::memcmp(fresh.data() + at, window.pixels + at, rowBytes) != 0)
            return false;
    }
    return true;
}

} // namespace compat

namespace platform {

std::unique_ptr<Presenter> MakePresenter() {
    return std::make_unique<compat::SdlScreen>();
}

} // namespace platform
