#include "compat/GfxSeams.h"
#include "compat/Seams.h"

#include "ddraw/DirectDrawObjects.h"
#include "ddraw/FrameChanges.h"
#include "window/Icon.h"
#include "ddraw/Screen.h"
#include "window/Window.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace compat::seams {

namespace {

Surface* Ours(IDirectDrawSurface7* surface) {
    return static_cast<Surface*>(surface);
}

// A surface's pixels to read: reading leaves what drew them known.
const PixelSurface& Read(IDirectDrawSurface7* surface) {
    return static_cast<const Surface*>(Ours(surface))->Pixels();
}

bool Holds(const PixelSurface& pixels, int x, int y) {
    return x >= 0 && y >= 0 && x < pixels.width && y < pixels.height && !pixels.pixels.empty();
}

SurfaceFormat FormatOfPixels(const PixelSurface& pixels) {
    return SurfaceFormat{pixels.width, pixels.height, pixels.bitsPerPixel};
}

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

bool SavePixelsBmp(const PixelSurface& pixels, const char* path) {
    if (!path || pixels.pixels.empty())
        return false;
    const uint32_t rowBytes = (static_cast<uint32_t>(pixels.width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(pixels.height);
    std::vector<uint8_t> file;
    file.reserve(54 + imageBytes);
    // BITMAPFILEHEADER
    PutLittleEndian(file, 0x4D42, 2); // "BM"
    PutLittleEndian(file, 54 + imageBytes, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 54, 4);
    // BITMAPINFOHEADER: bottom-up, 24 bits, uncompressed, 72 dpi
    PutLittleEndian(file, 40, 4);
    PutLittleEndian(file, static_cast<uint32_t>(pixels.width), 4);
    PutLittleEndian(file, static_cast<uint32_t>(pixels.height), 4);
    PutLittleEndian(file, 1, 2);
    PutLittleEndian(file, 24, 2);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, imageBytes, 4);
    PutLittleEndian(file, 2835, 4);
    PutLittleEndian(file, 2835, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 0, 4);
    for (int y = pixels.height - 1; y >= 0; --y) {
        const size_t rowStart = file.size();
        for (int x = 0; x < pixels.width; ++x) {
            const COLORREF color = ColorFromRaw(pixels.Get(x, y), pixels.bitsPerPixel);
            file.push_back(static_cast<uint8_t>(color >> 16)); // blue
            file.push_back(static_cast<uint8_t>(color >> 8));  // green
            file.push_back(static_cast<uint8_t>(color));       // red
        }
        file.resize(rowStart + rowBytes, 0);
    }
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path, "wb"), &std::fclose);
    if (!out)
        return false;
    return std::fwrite(file.data(), 1, file.size(), out.get()) == file.size();
}

const bool registered = [] {
    AddResetHook([] { ForgetPresentedFrames(); });
    return true;
}();

} // namespace

HWND MakeTestWindow(const char* title) {
    int width = 0, height = 0;
    platform::DesktopSize(&width, &height);
    return CreateWindowObject(title, 0, 0, width, height);
}

void DestroyTestWindow(HWND window) {
    DestroyWindowObject(window);
}

HINSTANCE MakeTestModule(const char* executablePath) {
    return StandInModule(executablePath ? executablePath : "");
}

uint32_t IconPixel(HICON handle, int x, int y) {
    const Icon* icon = IconFromHandle(handle);
    if (!icon || icon->argb.empty() || x < 0 || y < 0 || x >= icon->width || y >= icon->height)
        return 0;
    return icon->argb[static_cast<size_t>(y) * icon->width + x];
}

SurfaceFormat FormatOf(IDirectDrawSurface7* surface) {
    return surface ? FormatOfPixels(Read(surface)) : SurfaceFormat{};
}

uint32_t PixelOf(IDirectDrawSurface7* surface, int x, int y) {
    if (!surface || !Holds(Read(surface), x, y))
        return 0xFFFFFFFF;
    return Read(surface).Get(x, y);
}

void SetPixelOf(IDirectDrawSurface7* surface, int x, int y, uint32_t raw) {
    if (surface && Holds(Ours(surface)->Pixels(), x, y))
        Ours(surface)->Pixels().Set(x, y, raw);
}

bool SaveSurfaceBmp(IDirectDrawSurface7* surface, const char* path) {
    return surface && SavePixelsBmp(Read(surface), path);
}

void LoseSurface(IDirectDrawSurface7* surface) {
    if (surface)
        Ours(surface)->MarkLost();
}

void LoseAllSurfaces() {
    for (DirectDraw* object : LiveDirectDraws())
        object->LoseSurfaces();
}

bool IsLost(IDirectDrawSurface7* surface) {
    return surface && Ours(surface)->IsLost();
}

uint64_t PresentedFrames() {
    return PresentedFrameCount();
}

void CheckChangedDrawing(bool on) {
    ChangedDrawing().check = on;
    ChangedDrawing().different = 0;
}

uint64_t FramesDrawnDifferently() {
    return ChangedDrawing().different;
}

double PresentingSeconds() {
    return compat::PresentingSeconds();
}

SurfaceFormat PresentedFormat() {
    return FormatOfPixels(LastPresentedFrame());
}

uint32_t PresentedPixel(int x, int y) {
    const PixelSurface& frame = LastPresentedFrame();
    return Holds(frame, x, y) ? frame.Get(x, y) : 0xFFFFFFFF;
}

bool SavePresentedBmp(const char* path) {
    return SavePixelsBmp(LastPresentedFrame(), path);
}

COLORREF WindowColor(HWND handle, int x, int y) {
    const Window* window = WindowFromHandle(handle);
    if (!window)
        return CLR_INVALID;
    COLORREF color = CLR_INVALID;
    if (window->presenter && window->presenter->WindowColor(x, y, &color))
        return color;
    return CLR_INVALID;
}

bool WindowShowsLastFrameWhole(HWND handle) {
    const Window* window = WindowFromHandle(handle);
    return window && window->presenter && window->presenter->ShowsLastFrameWhole();
}

void RedrawWholeWindow(HWND handle) {
    const Window* window = WindowFromHandle(handle);
    if (window && window->presenter)
        window->presenter->RedrawWhole();
}

void ResizeWindow(HWND handle, int width, int height) {
    const Window* window = WindowFromHandle(handle);
    if (window && window->native)
        platform::ResizeNativeWindow(window->native, width, height);
}

void HideWindow(HWND handle, bool hidden) {
    const Window* window = WindowFromHandle(handle);
    if (window && window->native)
        platform::ShowNativeWindow(window->native, !hidden);
}

struct ProbeWindowPixels::State {
    int bits = 0;
    std::vector<uint8_t> bytes;
    WindowPixels window;
    PixelSurface shown;
    WindowPicture picture;
};

ProbeWindowPixels::ProbeWindowPixels(int width, int height, int bitsPerPixel) : state_(new State) {
    state_->bits = bitsPerPixel;
    Resize(width, height);
}

ProbeWindowPixels::~ProbeWindowPixels() {
    delete state_;
}

void ProbeWindowPixels::Resize(int width, int height) {
    // A new buffer every time, so that the picture sees new pixels as after a real resize.
    const int pitch = width * state_->bits / 8 + 4; // rows padded, as window surfaces may be
    std::vector<uint8_t> fresh(static_cast<size_t>(pitch) * height);
    for (size_t i = 0; i < fresh.size(); ++i)
        fresh[i] = static_cast<uint8_t>(i * 37 + 11);
    state_->bytes.swap(fresh);
    state_->window = WindowPixels{state_->bytes.data(),
                                  width,
                                  height,
                                  pitch,
                                  state_->bits,
                                  state_->bits == 32 ? 0xFF000000u : 0u};
}

int64_t ProbeWindowPixels::Draw(IDirectDrawSurface7* frame) {
    if (!frame)
        return 0;
    int64_t pixels = 0;
    for (const BlitRect& area : state_->picture.Draw(Read(frame), state_->shown, state_->window))
        pixels += area.Area();
    return pixels;
}

int64_t ProbeWindowPixels::FirstDifference(const ProbeWindowPixels& other) const {
    const WindowPixels& a = state_->window;
    const WindowPixels& b = other.state_->window;
    if (a.width != b.width || a.height != b.height || a.bits != b.bits)
        return 0;
    const int bytes = a.bits / 8;
    for (int y = 0; y < a.height; ++y) {
        const uint8_t* rowA = a.pixels + static_cast<size_t>(y) * a.pitch;
        const uint8_t* rowB = b.pixels + static_cast<size_t>(y) * b.pitch;
        if (std::memcmp(rowA, rowB, static_cast<size_t>(a.width) * bytes) == 0)
            continue;
        for (int x = 0; x < a.width; ++x)
            if (std::memcmp(rowA + x * bytes, rowB + x * bytes, bytes) != 0)
                return x + static_cast<int64_t>(y) * a.width;
    }
    return -1;
}

POINT ModePixelFromWindow(HWND window, int x, int y) {
    return compat::ModePixelFromWindow(window, x, y);
}

} // namespace compat::seams
