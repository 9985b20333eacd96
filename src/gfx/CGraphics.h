#pragma once

#include "gfx/DisplayModeList.h"

#include <windows.h>
#include <ddraw.h>

#include <array>

class CLog;

// The display object: the screen in exclusive full-screen mode, a primary surface with one back
// buffer into which every frame is drawn, and the drawing operations on that back buffer.
// Every step of bringing the display up or down leaves a line in "logs/graphics.txt".
class CGraphics {
public:
    CGraphics();
    ~CGraphics();
    CGraphics(const CGraphics&) = delete;
    CGraphics& operator=(const CGraphics&) = delete;

    // --- The display device ---

    // Takes the screen, sets the mode and builds the flip chain and clipper; hides the cursor.
    // On failure everything made so far is released again.
    bool Init(HWND window, int width, int height, int depth);
    // Gives everything up and shows the cursor; safe to call any number of times.
    void Release();
    // Rebuilds the flip chain in another mode. On failure the whole display is released.
    bool ChangeMode(int width, int height, int depth);
    // Shows the back buffer and clears the new back buffer to black.
    bool Flip();
    // Appends every mode the driver offers, in the driver's order.
    void EnumModes(DisplayModeList& list);
    // The text for a result code; valid until the next call.
    const char* ErrorText(HRESULT result);

    // --- Drawing on the back buffer ---

    IDirectDrawSurface7* CreateSurface(DDSURFACEDESC2* description);
    HFONT MakeFont(const char* face, int height, int weight);
    // The whole surface scaled into the rectangle, keyed; what lies off the screen is cut off.
    bool Blit(int x, int y, int width, int height, IDirectDrawSurface7* surface);
    // The whole surface scaled into each cell of a grid over the rectangle, column by column.
    bool BlitTiled(int x, int y, int width, int height, IDirectDrawSurface7* surface, int columns,
                   int rows);
    bool Fill(COLORREF colour);
    static int SurfaceWidth(IDirectDrawSurface7* surface);
    static int SurfaceHeight(IDirectDrawSurface7* surface);
    // Formatted text at (x, y) over what is drawn; at most 255 characters, the rest is cut.
    void PrintText(HFONT font, COLORREF colour, int x, int y, const char* format, ...)
        __attribute__((format(printf, 6, 7)));
    // How wide the text is in the font, in pixels; 0 with no display up.
    int TextWidth(HFONT font, const char* text);
    // The height of a line of text in the font; 0 with no display up.
    int LineHeight(HFONT font);
    // The text in lines no wider than maxWidth, each broken after its last '/' or blank (or
    // before a '.') where it has one; a text that fits is one line at (x, y). Downward the first
    // line is at y, upward the last. Returns the number of lines drawn.
    int PrintLines(HFONT font, COLORREF colour, int x, int y, int maxWidth, bool upward,
                   const char* text);
    // A surface holding the bitmap file, scaled to width by height (0: the file's own size).
    IDirectDrawSurface7* LoadBitmapSurface(const char* path, int width, int height);
    HRESULT CopyBitmap(IDirectDrawSurface7* surface, HBITMAP bitmap, int x, int y, int width,
                       int height);
    // The surface's raw pixel value for a colour, as the platform draws it; CLR_INVALID when the
    // surface cannot be locked.
    static DWORD MatchColor(IDirectDrawSurface7* surface, COLORREF colour);
    static HRESULT SetColorKey(IDirectDrawSurface7* surface, COLORREF colour);

private:
    SIZE MeasureText(HFONT font, const char* text);
    friend struct CGraphicsProbe; // tests look at the flip chain directly

    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool SizeIsDrawable(int blitWidth, int blitHeight);
    bool SetMode(int newWidth, int newHeight, int newDepth);
    bool BuildSurfaces(int newWidth, int newHeight, DWORD extraCaps);
    void ReleaseSurfaces(bool logged);

    HRESULT lastResult;
    HWND window;
    HDC textContext;
    IDirectDraw7* directDraw;
    IDirectDrawSurface7* primary;
    IDirectDrawSurface7* backBuffer;
    IDirectDrawClipper* clipper;
    int width;
    int height;
    int depth;
    CLog* log;
    std::array<char, 255> errorText;
    // Whether Init hid the cursor, so that Release shows it only to undo that.
    bool cursorHidden;
};

// The one display object, made by the entry point.
extern CGraphics* g_graphics;
