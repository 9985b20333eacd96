#include "web/WebScreen.h"

#include "pixels/PixelSurface.h"
#include "web/WebCanvas.h"
#include "web/WebPage.h"

#include <algorithm>
#include <cstring>

namespace {

// A pixel of the mode's format as the canvas's RGBA bytes (R first in memory, opaque), with the
// colours the desktop's window shows for it.
uint32_t RgbaFromRaw(uint32_t raw, int bitsPerPixel) {
    return compat::ColorFromRaw(raw, bitsPerPixel) | 0xFF000000u;
}

} // namespace

namespace compat {

bool WebScreen::Show(platform::NativeWindow** native, const platform::WindowLook& look, int width,
                     int height, int bitsPerPixel) {
    if (!*native)
        *native = new platform::NativeWindow;
    window_ = *native;
    window_->visible = true;
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    // Black until the first frame arrives.
    rgba_.assign(static_cast<size_t>(width) * height, 0xFF000000u);
    quibbo_web_show_canvas(width, height, look.title, look.pointerShown ? 1 : 0);
    redrawWhole_ = true;
    return true;
}

void WebScreen::Hide() {
    window_ = nullptr;
}

int WebScreen::RefreshRate() {
    return quibbo_web_refresh_rate();
}

bool WebScreen::Seen() {
    return window_ && window_->visible && quibbo_web_visible();
}

void WebScreen::Convert(const PixelSurface& frame, const BlitRect& area) {
    const int bytes = frame.BytesPerPixel();
    for (int64_t y = area.top; y < area.bottom; ++y) {
        const uint8_t* from = frame.Row(static_cast<int>(y)) + area.left * bytes;
        uint32_t* to = rgba_.data() + y * width_ + area.left;
        if (bytes == 2) {
            for (int64_t x = 0; x < area.Width(); ++x) {
                uint16_t raw = 0;
                std::memcpy(&raw, from + x * 2, 2);
                to[x] = RgbaFromRaw(raw, 16);
            }
        } else {
            for (int64_t x = 0; x < area.Width(); ++x) {
                uint32_t raw = 0;
                std::memcpy(&raw, from + x * 4, 4);
                to[x] = RgbaFromRaw(raw, 32);
            }
        }
    }
}

bool WebScreen::Present(const PixelSurface& frame, PixelSurface& shown, bool whole,
                        const platform::FrameDamage& damage) {
    if (!window_ || frame.width != width_ || frame.height != height_)
        return false;
    TakeChanges(frame, shown, whole || redrawWhole_, &changes_, &damage);
    redrawWhole_ = false;
    if (changes_.whole)
        changes_.areas.assign(1, Bounds(frame));
    for (const BlitRect& area : changes_.areas) {
        Convert(frame, area);
        quibbo_web_put(reinterpret_cast<const uint8_t*>(rgba_.data()), width_, height_,
                       static_cast<int>(area.left), static_cast<int>(area.top),
                       static_cast<int>(area.Width()), static_cast<int>(area.Height()));
    }
    // The browser shows the canvas as it is at its next animation frame: the frame is shown
    // then, and counted (Quibbo.framesShown).
    quibbo_web_wait_for_frame();
    return true;
}

void WebScreen::ModePixelFromWindow(int x, int y, int* modeX, int* modeY) {
    // The page hands pointer positions in the mode's pixels already; the bars are the edges.
    *modeX = std::clamp(x, 0, std::max(width_ - 1, 0));
    *modeY = std::clamp(y, 0, std::max(height_ - 1, 0));
}

bool WebScreen::WindowColor(int x, int y, uint32_t* color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || rgba_.empty())
        return false;
    *color = rgba_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFFu;
    return true;
}

bool WebScreen::ShowsWhole(const PixelSurface& frame) {
    if (frame.width != width_ || frame.height != height_ || rgba_.empty())
        return false;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (rgba_[static_cast<size_t>(y) * width_ + x] !=
                RgbaFromRaw(frame.Get(x, y), frame.bitsPerPixel))
                return false;
    return true;
}

void WebScreen::SwitchFullScreen() {
    quibbo_web_switch_full_screen();
}

} // namespace compat

namespace platform {

std::unique_ptr<Presenter> MakePresenter() {
    return std::make_unique<compat::WebScreen>();
}

} // namespace platform
