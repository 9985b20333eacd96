// The SDL backend: the presenter of the display's frames, through a GPU renderer where there
// is one, else straight into the window's own pixels, else SDL's software renderer.
#pragma once

#include "ddraw/FrameChanges.h"
#include "sdl/ShmWindowPixels.h"
#include "sdl/WindowVisibility.h"
#include "platform/Present.h"

#include <cstdint>

union SDL_Event;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;

namespace compat {

class SdlScreen final : public platform::Presenter {
public:
    SdlScreen() = default;
    SdlScreen(const SdlScreen&) = delete;
    SdlScreen& operator=(const SdlScreen&) = delete;
    ~SdlScreen() override { Hide(); }

    bool Show(platform::NativeWindow** window, const platform::WindowLook& look, int width,
              int height, int bitsPerPixel) override;
    void Hide() override;
    int RefreshRate() override;
    bool Seen() override;
    bool Present(const PixelSurface& frame, PixelSurface& shown, bool whole,
                 const platform::FrameDamage& damage) override;
    void ModePixelFromWindow(int x, int y, int* modeX, int* modeY) override;
    bool WindowColor(int x, int y, uint32_t* color) override;
    bool ShowsWhole(const PixelSurface& frame) override;
    void SwitchFullScreen() override;

private:
    // The window must be drawn whole at the next present: the black bars, the window's size
    // or its pixels changed, or the window was uncovered.
    void RedrawWhole() { redrawWhole_ = true; }
    bool MakePresenter();
    bool MakeTexture();
    // The size a window for the mode starts at: the size the player last gave it, else the
    // largest whole multiple of the mode that fits the desktop.
    static void FirstWindowSize(int modeWidth, int modeHeight, int* width, int* height);
    static void ShowAsWindow(SDL_Window* window, int width, int height);
    static void ShowFullScreen(SDL_Window* window);
    // Each draws the changes of `frame` against `shown` and says whether the window shows it.
    bool PresentThroughRenderer(const PixelSurface& frame, PixelSurface& shown, bool whole,
                                const platform::FrameDamage& damage);
    bool PresentIntoWindowSurface(const PixelSurface& frame, PixelSurface& shown, bool whole,
                                  const platform::FrameDamage& damage);
    static int WatchWindowEvents(void* screen, SDL_Event* event);
    // The window's own pixels as last drawn (shared with the X server, or SDL's window
    // surface); false on the renderer's paths.
    bool DrawnWindowPixels(WindowPixels* pixels);

    SDL_Window* window_ = nullptr;
    bool windowSurface_ = false; // drawing into the window's own pixels
    ShmWindowPixels shared_;     // those pixels, where they are shared with the X server
    WindowPicture picture_;
    int rendererOutputWidth_ = 0;
    int rendererOutputHeight_ = 0;
    bool redrawWhole_ = true;
    FrameChanges changes_;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    WindowVisibility visibility_;
};

} // namespace compat
