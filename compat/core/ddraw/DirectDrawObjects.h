// Inside the platform layer: the objects behind the DirectDraw interfaces.
//
// Lifetimes follow COM where the game can see it: Release returns the remaining count; every
// surface holds a reference to the DirectDraw object that made it, so the object lives until
// its last surface is gone; a surface holds a reference to its clipper; the back buffer of a
// flip chain belongs to the chain (GetAttachedSurface hands out a reference of its own) and
// goes with the primary surface, unless the caller still holds it.
#pragma once

#include "pixels/Blitter.h"
#include "pixels/DrawLog.h"
#include "pixels/PendingDrawing.h"
#include "pixels/PixelSurface.h"
#include "ddraw/Screen.h"
#include "window/Window.h"

#include <ddraw.h>

#include <vector>

namespace compat {

class DirectDraw;

// The display every DirectDraw object shares: its mode and the video memory in use.
struct DisplayState {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    bool modeSet = false; // false: the desktop's mode
    DirectDraw* exclusiveOwner = nullptr;
    uint64_t videoMemoryUsed = 0;
};
DisplayState& Display();
// The desktop's mode is what the display shows when no DirectDraw object has set one.
void UseDesktopMode();

// Plausible figures for the display memory of a 2000s graphics card: 64 MiB.
constexpr uint64_t kVideoMemoryTotal = 64ull << 20;

class Clipper final : public IDirectDrawClipper {
public:
    HRESULT SetClipList(LPRGNDATA clipList, DWORD flags) override;
    ULONG Release() override;

    void AddRef() { ++references_; }
    bool HasClipList() const { return hasClipList_; }
    const std::vector<BlitRect>& Rectangles() const { return rectangles_; }

private:
    ~Clipper() = default;

    ULONG references_ = 1;
    bool hasClipList_ = false;
    std::vector<BlitRect> rectangles_;
};

enum class SurfaceKind { Primary, BackBuffer, Plain };

// The test seams' check of frames drawn only where they changed (see Surface::FinishFrame).
struct ChangedDrawingCheck {
    bool check = false;
    uint64_t different = 0;
};
ChangedDrawingCheck& ChangedDrawing();
enum class MemoryPlacement { Video, System, VideoWhileItLasts };

class Surface final : public IDirectDrawSurface7, public NotingSurface {
public:
    Surface(DirectDraw* owner, SurfaceKind kind, DWORD caps);

    HRESULT GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) override;
    HRESULT SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT Flip(LPDIRECTDRAWSURFACE7 targetOverride, DWORD flags) override;
    HRESULT Blt(LPRECT destRect, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD flags,
                LPDDBLTFX fx) override;
    HRESULT GetDC(HDC* dc) override;
    HRESULT ReleaseDC(HDC dc) override;
    HRESULT Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event) override;
    HRESULT Unlock(LPRECT rect) override;
    HRESULT Restore() override;
    HRESULT GetSurfaceDesc(LPDDSURFACEDESC2 desc) override;
    HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    ULONG Release() override;

    // Gives the surface its first memory, in display memory or system memory as placed (and
    // its capabilities say where); DDERR_OUTOFVIDEOMEMORY or DDERR_OUTOFMEMORY when there is
    // none.
    HRESULT Allocate(int width, int height, int bitsPerPixel, MemoryPlacement placement);
    // The back buffer made with a primary surface.
    void AttachBackBuffer(Surface* backBuffer);
    void SetKey(uint32_t raw) {
        hasKey_ = true;
        key_ = raw;
    }

    // The display mode took the memory away: the content is gone until Restore.
    void MarkLost();
    // Restore without the forced-failure check, for RestoreAllSurfaces.
    HRESULT RestoreMemory();

    bool IsLost() const { return lost_; }
    bool IsBusy() const { return dc_ != nullptr || locked_; }
    SurfaceKind Kind() const { return kind_; }
    // The pixels to change from outside the surface's own calls (the test seams): what drew
    // them is no longer known.
    PixelSurface& Pixels() {
        Settle();
        Touched();
        drawn_.Forget();
        return pixels_;
    }
    const PixelSurface& Pixels() const {
        const_cast<Surface*>(this)->Settle();
        return pixels_;
    }

    // What drew the pixels since their last whole fill (see DrawLog).
    const DrawLog& Drawn() const { return drawn_; }

    PendingDrawing* NotedDrawing() override { return NotesDrawing() ? &pending_ : nullptr; }
    // Does the drawing still owed (see pending_).
    void Settle() override;

private:
    ~Surface();
    // The pixels may change: blits from them are told apart from blits before, and drawing
    // noted from them is done first.
    void Touched() {
        if (sourceOfNoted_)
            SettleDrawingFrom();
        stamp_ = NewContentStamp();
    }
    // Does the noted drawing of every surface that copies from this one.
    void SettleDrawingFrom();
    // Whether drawing is noted rather than done: on the back buffer of a flip chain, from its
    // whole fill on.
    bool NotesDrawing() const { return NotesSteps() && !pending_.Empty(); }
    bool NotesSteps() const { return kind_ == SurfaceKind::BackBuffer && frontBuffer_ != nullptr; }
    // Whether the spare pixels can stand in for the pixels (swapped with them).
    bool SpareFits() const {
        return spare_.width == pixels_.width && spare_.height == pixels_.height &&
               spare_.bitsPerPixel == pixels_.bitsPerPixel && spare_.pitch == pixels_.pitch &&
               spare_.pixels.size() == pixels_.pixels.size();
    }
    // A fill of every pixel with `raw`: noted, with the pixels kept as they are to draw over.
    void NoteWholeFill(uint32_t raw);
    // Forgets the drawing owed: the pixels go or are replaced.
    void DropPending();
    // Before a flip: the noted drawing, only where the frame differs from the one its pixels
    // hold when that is known.
    void FinishFrame();
    HRESULT ColorFill(const BlitRect& dest, const DDBLTFX* fx);
    // Whether a blit into this surface is left out: on the back buffer of a flip chain whose
    // window nobody can see, once the frame has been filled whole since the flip. Such a
    // frame is never shown (see missing_), so the drawing left out is never missed.
    bool LeavesOutDrawing() const;
    HRESULT Copy(const BlitRect& dest, Surface* source, const BlitRect& from, bool keyed);
    // The parts of `dest` that may be drawn: cut to the clip list (with a clipper) or refused
    // as DDERR_INVALIDRECT when reaching outside the surface (without one).
    HRESULT VisibleParts(const BlitRect& dest, std::vector<BlitRect>* parts) const;
    void FreeMemory();
    // The surface's description as GetSurfaceDesc gives it (no memory address).
    void Describe(DDSURFACEDESC2* desc) const;
    void Destroy();
    Surface* ChainRoot();

    DirectDraw* owner_;
    SurfaceKind kind_;
    DWORD caps_;
    ULONG references_ = 1;
    PixelSurface pixels_;
    // Drawing owed: a fill of the whole surface is only noted, and drawn when the pixels are
    // next used (a frame is often filled twice, cleared after the flip, then its background,
    // and the second fill makes the first one unseen). On a flip chain's back buffer the
    // drawing after it is noted too, until the flip draws it where the frame changed (see
    // PendingDrawing). While drawing is owed, `pixels_` hold what `baseLog_` drew.
    PendingDrawing pending_;
    DrawLog baseLog_;
    // Pixels put aside, with what drew them: where the noted drawing had to be done before a
    // frame was finished (a lock in the middle of one), the pixels it was to be drawn over wait
    // here for the frame's next whole fill.
    PixelSurface spare_;
    DrawLog spareLog_;
    // A copy from these pixels may be noted on another surface.
    bool sourceOfNoted_ = false;
    // A fill of the whole surface was noted since it last flipped.
    bool filledSinceFlip_ = false;
    // The pixels lack drawing that was left out (LeavesOutDrawing), or were drawn from pixels
    // that did. Goes with the pixels when a flip swaps them; only a fill of the whole surface
    // (which replaces every pixel) makes them whole again. A flip presents such pixels as not
    // drawn whole: the window never shows them.
    bool missing_ = false;
    // What drew the pixels (goes with them when a flip swaps them) and the stamp of their
    // content, which a blit from them names.
    DrawLog drawn_;
    uint64_t stamp_ = NewContentStamp();
    bool videoMemory_ = false;
    bool hasMemory_ = false;
    bool lost_ = false;
    bool locked_ = false;
    HDC dc_ = nullptr;
    bool hasKey_ = false;
    uint32_t key_ = 0;
    Clipper* clipper_ = nullptr;
    Surface* backBuffer_ = nullptr;  // on a primary surface
    Surface* frontBuffer_ = nullptr; // on its back buffer, while the primary lives
    // The display mode a flip chain was made for.
    int modeWidth_ = 0;
    int modeHeight_ = 0;
};

class DirectDraw final : public IDirectDraw7 {
public:
    DirectDraw();

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override;
    HRESULT RestoreDisplayMode() override;
    HRESULT GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) override;
    HRESULT CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                          IUnknown* outer) override;
    HRESULT CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) override;
    HRESULT RestoreAllSurfaces() override;
    HRESULT EnumDisplayModes(DWORD flags, LPDDSURFACEDESC2 filter, LPVOID context,
                             LPDDENUMMODESCALLBACK2 callback) override;
    ULONG Release() override;

    void AddRef() { ++references_; }
    void Adopt(Surface* surface) { surfaces_.push_back(surface); }
    void Forget(Surface* surface);
    void LoseSurfaces();
    bool IsExclusive() const { return Display().exclusiveOwner == this; }
    Screen& GetScreen() { return screen_; }
    const std::vector<Surface*>& Surfaces() const { return surfaces_; }

private:
    ~DirectDraw();
    HRESULT CreatePrimary(const DDSURFACEDESC2& desc, Surface** made);
    HRESULT CreatePlain(const DDSURFACEDESC2& desc, Surface** made);
    // The mode changes (or goes back to the desktop's): every surface is lost.
    void ModeChanged();
    // Gives up exclusive mode: the desktop's mode comes back and the screen stops presenting.
    void LeaveExclusive();

    ULONG references_ = 1;
    DWORD cooperativeLevel_ = 0;
    HWND window_ = nullptr; // looked up on use: the window may be gone
    Screen screen_;
    bool hasPrimary_ = false;
    std::vector<Surface*> surfaces_;

    friend class Surface;
};

// Every live DirectDraw object, for mode changes and the test seams.
std::vector<DirectDraw*>& LiveDirectDraws();

// The display modes EnumDisplayModes lists, in its order.
struct DisplayModeEntry {
    int width;
    int height;
    int bitsPerPixel;
};
const std::vector<DisplayModeEntry>& KnownDisplayModes();
// A surface description of a pixel format (16: RGB565, 32: XRGB8888, 8: palette indices).
DDPIXELFORMAT PixelFormatOf(int bitsPerPixel);

} // namespace compat
