// The web backend: the presenter of the display's frames on the page's canvas.
//
// The canvas's own pixels are the mode's (so the page reads the frame back exactly); the page
// scales it to its window with the aspect kept, black bars around it, sharp. A present puts
// only the changed parts of the frame on the canvas, then waits for the browser's next
// animation frame: the browser shows the canvas then, and the frames come evenly at the
// display's rate, as vsync gives them on a desktop.
#pragma once

#include "ddraw/FrameChanges.h"
#include "platform/Present.h"

#include <cstdint>
#include <vector>

namespace compat {

class WebScreen final : public platform::Presenter {
public:
    WebScreen() = default;
    WebScreen(const WebScreen&) = delete;
    WebScreen& operator=(const WebScreen&) = delete;
    ~WebScreen() override { Hide(); }

    bool Show(platform::NativeWindow** window, const platform::WindowLook& look, int width,
              int height, int bitsPerPixel) override;
    void Hide() override;
    int RefreshRate() override;
    bool Seen() override;
    bool Present(const PixelSurface& frame, PixelSurface& shown, bool whole,
                 const platform::FrameDamage& damage) override;
    bool WaitsForDisplay() override { return true; }
    void ModePixelFromWindow(int x, int y, int* modeX, int* modeY) override;
    bool WindowColor(int x, int y, uint32_t* color) override;
    bool ShowsWhole(const PixelSurface& frame) override;
    void SwitchFullScreen() override;

private:
    // Brings the RGBA copy of the canvas up to `frame` in `area`.
    void Convert(const PixelSurface& frame, const BlitRect& area);

    platform::NativeWindow* window_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    bool redrawWhole_ = true;
    FrameChanges changes_;
    // The canvas's pixels as RGBA rows of the mode's width: what the page last put on it.
    std::vector<uint32_t> rgba_;
};

} // namespace compat
