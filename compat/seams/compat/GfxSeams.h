// Test seams of the graphics platform: windows for tests and tools, surface pixels, lost
// surfaces, the frames that reached the screen. Only tests and tools include this header.
// Forced failures of the DirectDraw calls go through FailNext (Seams.h) with the names
// "DirectDrawCreateEx", "IDirectDraw7::<Method>", "IDirectDrawSurface7::<Method>" and
// "IDirectDrawClipper::<Method>".
#pragma once

#include <ddraw.h>

#include <cstdint>

namespace compat::seams {

// --- Windows ---

// A window as the game's own window creation makes one, to hand to SetCooperativeLevel.
// Nothing appears until a display mode is set. Windows left over are destroyed by ResetAll.
HWND MakeTestWindow(const char* title = "Quibbo's puzzle");
void DestroyTestWindow(HWND window);
// A module handle like the one the program's entry hands the game, for a program at
// `executablePath`: LoadIconA with it reads executablePath + ".ico". Forgotten by ResetAll.
HINSTANCE MakeTestModule(const char* executablePath);
// A pixel of an icon as 0xAARRGGBB (alpha 0 where the icon's mask leaves it out); 0 outside the
// icon and for icons without pixels of their own (the system's).
uint32_t IconPixel(HICON icon, int x, int y);

// --- Surface pixels ---

struct SurfaceFormat {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0; // 16 (RGB565) or 32 (XRGB8888); 0 for no surface
};
SurfaceFormat FormatOf(IDirectDrawSurface7* surface);
// The raw value of pixel (x, y); 0xFFFFFFFF outside the surface or while it has no memory.
uint32_t PixelOf(IDirectDrawSurface7* surface, int x, int y);
// Sets a pixel directly (no device context or lock needed); ignored outside the surface.
void SetPixelOf(IDirectDrawSurface7* surface, int x, int y, uint32_t raw);
// Writes the surface as a 24-bit BMP file; false when it cannot be written.
bool SaveSurfaceBmp(IDirectDrawSurface7* surface, const char* path);

// --- Lost surfaces ---

// Takes the surface's memory away as a display change would: its calls fail with
// DDERR_SURFACELOST until it is restored, and its content is gone.
void LoseSurface(IDirectDrawSurface7* surface);
// The same for every surface of every DirectDraw object.
void LoseAllSurfaces();
bool IsLost(IDirectDrawSurface7* surface);

// --- Drawing only what changed ---

// With the check on, each frame that a flip draws only where it differs from the frame its
// back buffer held is drawn whole as well, and the two are compared; and the last frame
// presented, brought up to the flipped one only where their drawing differs, is compared
// with it. Frames that came out different either way since the check was turned on.
void CheckChangedDrawing(bool on);
uint64_t FramesDrawnDifferently();

// --- The screen ---

// Frames presented since the last reset.
uint64_t PresentedFrames();
// The processor time those presents took, pacing left out (for the benchmarks): counted from
// the first call on, which returns 0.
double PresentingSeconds();
// The last presented frame, in the display mode's pixels (before scaling to the window).
SurfaceFormat PresentedFormat();
uint32_t PresentedPixel(int x, int y); // 0xFFFFFFFF outside or with no frame yet
bool SavePresentedBmp(const char* path);

// The colour (red in the low byte) of a pixel of the window as last shown: the frame scaled
// to the window with its black bars. CLR_INVALID where it cannot be read (a GPU renderer, no
// screen, outside the window).
COLORREF WindowColor(HWND window, int x, int y);

// True while a window draws into pixels it shares with the X server (the desktop backend on
// X11 with MIT-SHM), rather than into SDL's window surface.
bool WindowPixelsShared();
// True when there are such windows and the X server shows each as its shared pixels were last
// drawn, once it has handled all that was sent (a round trip).
bool SharedWindowsShownByServer();

// True when the window's pixels are exactly what drawing the last presented frame afresh (scaled,
// with its bars) would give them, however little of it the screen drew; false where the
// window's pixels cannot be read (a GPU renderer, no screen).
bool WindowShowsLastFrameWhole(HWND window);
// The next frame presented in the window draws all of it, as after a change of mode.
void RedrawWholeWindow(HWND window);
// Resizes the window as its user could (an ordinary window; see QUIBBO_WINDOWED).
void ResizeWindow(HWND window, int width, int height);
// Hides the window (nobody sees it, as when minimised or covered) or shows it again.
void HideWindow(HWND window, bool hidden);

// Window pixels of a format of the test's choosing, outside any window, that frames are drawn
// into exactly as the screen draws into a window's own pixels: only what a frame changes
// against the frame drawn before it; everything for the first frame, after Resize (the new
// pixels hold rubbish until then, as a window system's would) and after a frame of another
// size.
class ProbeWindowPixels {
public:
    ProbeWindowPixels(int width, int height, int bitsPerPixel);
    ~ProbeWindowPixels();
    ProbeWindowPixels(const ProbeWindowPixels&) = delete;
    ProbeWindowPixels& operator=(const ProbeWindowPixels&) = delete;
    void Resize(int width, int height);
    // Draws the surface's pixels as the next frame; gives the number of window pixels drawn.
    int64_t Draw(IDirectDrawSurface7* frame);
    // The first window pixel (x + y * width) that differs from `other`, -1 when they are
    // the same size and hold the same pixels.
    int64_t FirstDifference(const ProbeWindowPixels& other) const;

private:
    struct State;
    State* state_;
};

// The display mode's pixel under a window position (a mouse position), as the message pump
// passes mouse positions to the game.
POINT ModePixelFromWindow(HWND window, int x, int y);

} // namespace compat::seams
