// Surfaces: the flip chain, plain picture surfaces, their memory, locks, device contexts,
// colour keys and loss. Blits are in DirectDrawBlt.cpp.
#include "gdi/DeviceContext.h"
#include "ddraw/DirectDrawObjects.h"
#include "seams/Failures.h"

#include <cstring>
#include <new>
#include <utility>

namespace compat {

namespace {

uint64_t BytesOf(const PixelSurface& pixels) {
    return static_cast<uint64_t>(pixels.pitch) * static_cast<uint64_t>(pixels.height);
}

constexpr DWORD kVideoCaps = DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;

} // namespace

Surface::Surface(DirectDraw* owner, SurfaceKind kind, DWORD caps)
    : owner_(owner), kind_(kind), caps_(caps) {
    owner_->AddRef();
    owner_->Adopt(this);
}

Surface::~Surface() = default;

HRESULT Surface::Allocate(int width, int height, int bitsPerPixel, MemoryPlacement placement) {
    try {
        if (!pixels_.Allocate(width, height, bitsPerPixel))
            return DDERR_INVALIDPARAMS;
    } catch (const std::bad_alloc&) {
        pixels_ = PixelSurface{};
        return DDERR_OUTOFMEMORY;
    }
    const uint64_t bytes = BytesOf(pixels_);
    DisplayState& display = Display();
    const bool fits = display.videoMemoryUsed + bytes <= kVideoMemoryTotal;
    if (placement == MemoryPlacement::Video && !fits) {
        pixels_.pixels = {};
        return DDERR_OUTOFVIDEOMEMORY;
    }
    videoMemory_ = placement != MemoryPlacement::System && fits;
    caps_ = (caps_ & ~(kVideoCaps | DDSCAPS_SYSTEMMEMORY)) |
            (videoMemory_ ? kVideoCaps : DWORD{DDSCAPS_SYSTEMMEMORY});
    if (videoMemory_)
        display.videoMemoryUsed += bytes;
    hasMemory_ = true;
    Touched();
    drawn_.Forget();
    modeWidth_ = display.width;
    modeHeight_ = display.height;
    return DD_OK;
}

void Surface::FreeMemory() {
    if (!hasMemory_)
        return;
    if (videoMemory_)
        Display().videoMemoryUsed -= BytesOf(pixels_);
    // The size and format stay; only the memory goes.
    Touched();
    DropPending();
    std::vector<uint8_t>().swap(pixels_.pixels);
    PixelSurface().pixels.swap(spare_.pixels);
    spareLog_.Forget();
    drawn_.Forget();
    hasMemory_ = false;
}

void Surface::AttachBackBuffer(Surface* backBuffer) {
    backBuffer_ = backBuffer;
    backBuffer->frontBuffer_ = this;
    // The chain holds the back buffer; GetAttachedSurface hands out the references.
    backBuffer->references_ = 0;
}

Surface* Surface::ChainRoot() {
    return frontBuffer_ ? frontBuffer_ : this;
}

void Surface::MarkLost() {
    lost_ = true;
    Touched();
    DropPending();
    spareLog_.Forget();
    drawn_.Forget();
    if (IsBusy()) {
        // A device context or lock still points at the memory: keep it, drop the content.
        std::memset(pixels_.pixels.data(), 0, pixels_.pixels.size());
        return;
    }
    FreeMemory();
}

HRESULT Surface::RestoreMemory() {
    Surface* root = ChainRoot();
    Surface* members[2] = {root, root->backBuffer_};
    const DisplayState& display = Display();
    for (Surface* surface : members) {
        if (!surface || !surface->lost_)
            continue;
        // A flip chain fits one display mode, a picture one pixel format.
        const bool chain = surface->kind_ != SurfaceKind::Plain;
        if ((chain &&
             (surface->modeWidth_ != display.width || surface->modeHeight_ != display.height)) ||
            surface->pixels_.bitsPerPixel != display.bitsPerPixel)
            return DDERR_WRONGMODE;
        if (surface->hasMemory_) {
            std::memset(surface->pixels_.pixels.data(), 0, surface->pixels_.pixels.size());
        } else {
            const uint64_t bytes = BytesOf(surface->pixels_);
            if (surface->videoMemory_ && Display().videoMemoryUsed + bytes > kVideoMemoryTotal)
                return DDERR_OUTOFVIDEOMEMORY;
            try {
                surface->pixels_.pixels.assign(static_cast<size_t>(bytes), 0);
            } catch (const std::bad_alloc&) {
                return DDERR_OUTOFMEMORY;
            }
            if (surface->videoMemory_)
                Display().videoMemoryUsed += bytes;
            surface->hasMemory_ = true;
        }
        surface->DropPending();
        surface->spareLog_.Forget();
        surface->lost_ = false;
        surface->Touched();
        surface->drawn_.Forget();
    }
    return DD_OK;
}

HRESULT Surface::Restore() {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::Restore", &hr))
        return hr;
    return RestoreMemory();
}

ULONG Surface::Release() {
    if (references_ == 0)
        return 0; // a back buffer nobody outside its chain holds
    if (--references_ > 0)
        return references_;
    if (kind_ == SurfaceKind::BackBuffer && frontBuffer_)
        return 0; // it goes with its primary surface
    Destroy();
    return 0;
}

void Surface::Destroy() {
    if (backBuffer_) {
        Surface* back = std::exchange(backBuffer_, nullptr);
        back->frontBuffer_ = nullptr;
        // A back buffer still held by the caller lives on alone until released.
        if (back->references_ == 0)
            back->Destroy();
    }
    if (clipper_)
        std::exchange(clipper_, nullptr)->Release();
    if (dc_)
        CloseDeviceContext(std::exchange(dc_, nullptr));
    locked_ = false;
    FreeMemory();
    DirectDraw* owner = owner_;
    owner->Forget(this);
    delete this;
    owner->Release();
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::GetAttachedSurface", &hr))
        return hr;
    if (!caps || !attached)
        return DDERR_INVALIDPARAMS;
    if (!backBuffer_ || (caps->dwCaps & backBuffer_->caps_) != caps->dwCaps)
        return DDERR_NOTFOUND;
    ++backBuffer_->references_;
    *attached = backBuffer_;
    return DD_OK;
}

HRESULT Surface::SetClipper(LPDIRECTDRAWCLIPPER clipper) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::SetClipper", &hr))
        return hr;
    auto* ours = static_cast<Clipper*>(clipper);
    if (ours)
        ours->AddRef();
    if (clipper_)
        clipper_->Release();
    clipper_ = ours;
    return DD_OK;
}

HRESULT Surface::Flip(LPDIRECTDRAWSURFACE7 targetOverride, DWORD flags) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::Flip", &hr))
        return hr;
    if (kind_ != SurfaceKind::Primary || !backBuffer_)
        return DDERR_NOTFLIPPABLE;
    if (targetOverride && targetOverride != backBuffer_)
        return DDERR_INVALIDPARAMS;
    if (lost_ || backBuffer_->lost_)
        return DDERR_SURFACELOST;
    if (IsBusy() || backBuffer_->IsBusy())
        return DDERR_SURFACEBUSY;
    // The surfaces swap roles: the back buffer now holds the frame shown before.
    Settle();
    backBuffer_->FinishFrame();
    std::swap(pixels_.pixels, backBuffer_->pixels_.pixels);
    std::swap(missing_, backBuffer_->missing_);
    std::swap(drawn_, backBuffer_->drawn_);
    Touched();
    backBuffer_->Touched();
    filledSinceFlip_ = backBuffer_->filledSinceFlip_ = false;
    const bool taken =
        owner_->GetScreen().Present(pixels_, !(flags & DDFLIP_NOVSYNC), !missing_, &drawn_);
    // The last frame shown, brought up to this one only where its drawing differs, is this one.
    if (ChangedDrawing().check && taken)
        ChangedDrawing().different += LastPresentedFrame().pixels != pixels_.pixels;
    return DD_OK;
}

HRESULT Surface::GetDC(HDC* dc) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::GetDC", &hr))
        return hr;
    if (!dc)
        return DDERR_INVALIDPARAMS;
    if (lost_)
        return DDERR_SURFACELOST;
    if (dc_)
        return DDERR_DCALREADYCREATED;
    if (locked_)
        return DDERR_SURFACEBUSY;
    const bool leaveOut = LeavesOutDrawing();
    if (leaveOut) {
        // Nobody will see this frame: the drawing owed and the text are left out with the
        // blits, and the pixels GDI sets land on the pixels as they are (and read back as set).
        DropPending();
        missing_ = true;
        drawn_.Forget();
    }
    // Text and pixels may be noted with the drawing owed; anything else GDI does waits for it.
    if (!NotesDrawing())
        Settle();
    Touched();
    // The context notes what it draws into the log.
    HDC made = OpenDeviceContext(&pixels_, leaveOut, &drawn_, leaveOut ? nullptr : this);
    if (!made)
        return DDERR_CANTCREATEDC;
    dc_ = made;
    *dc = made;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC dc) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::ReleaseDC", &hr))
        return hr;
    if (!dc_)
        return DDERR_NODC;
    if (dc != dc_)
        return DDERR_INVALIDPARAMS;
    CloseDeviceContext(std::exchange(dc_, nullptr));
    Touched();
    return DD_OK;
}

void Surface::Describe(DDSURFACEDESC2* desc) const {
    std::memset(desc, 0, sizeof *desc);
    desc->dwSize = sizeof *desc;
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = static_cast<DWORD>(pixels_.width);
    desc->dwHeight = static_cast<DWORD>(pixels_.height);
    desc->lPitch = pixels_.pitch;
    desc->ddpfPixelFormat = PixelFormatOf(pixels_.bitsPerPixel);
    desc->ddsCaps.dwCaps = caps_;
    if (backBuffer_) {
        desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc->dwBackBufferCount = 1;
    }
    if (hasKey_) {
        desc->dwFlags |= DDSD_CKSRCBLT;
        desc->ddckCKSrcBlt.dwColorSpaceLowValue = key_;
        desc->ddckCKSrcBlt.dwColorSpaceHighValue = key_;
    }
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC2 desc) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::GetSurfaceDesc", &hr))
        return hr;
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2))
        return DDERR_INVALIDPARAMS;
    Describe(desc);
    return DD_OK;
}

HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD, HANDLE) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::Lock", &hr))
        return hr;
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2))
        return DDERR_INVALIDPARAMS;
    if (lost_)
        return DDERR_SURFACELOST;
    if (locked_ || dc_)
        return DDERR_SURFACEBUSY;
    int left = 0, top = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right > pixels_.width ||
            rect->bottom > pixels_.height || rect->right <= rect->left || rect->bottom <= rect->top)
            return DDERR_INVALIDPARAMS;
        left = rect->left;
        top = rect->top;
    }
    Settle();
    Describe(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = pixels_.Row(top) + static_cast<size_t>(left) * pixels_.BytesPerPixel();
    locked_ = true;
    // Whatever the lock's holder writes is known only by its pixels.
    Touched();
    drawn_.Forget();
    return DD_OK;
}

HRESULT Surface::Unlock(LPRECT) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::Unlock", &hr))
        return hr;
    if (!locked_)
        return DDERR_NOTLOCKED;
    locked_ = false;
    Touched();
    return DD_OK;
}

HRESULT Surface::SetColorKey(DWORD flags, LPDDCOLORKEY key) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::SetColorKey", &hr))
        return hr;
    if (flags & (DDCKEY_DESTBLT | DDCKEY_DESTOVERLAY | DDCKEY_SRCOVERLAY))
        return DDERR_UNSUPPORTED; // only source keys for blits
    if (!(flags & DDCKEY_SRCBLT) || (flags & ~DWORD{DDCKEY_SRCBLT | DDCKEY_COLORSPACE}))
        return DDERR_INVALIDPARAMS;
    if (!key) {
        hasKey_ = false;
        return DD_OK;
    }
    if ((flags & DDCKEY_COLORSPACE) && key->dwColorSpaceHighValue != key->dwColorSpaceLowValue)
        return DDERR_NOCOLORKEYHW; // a key is one exact pixel value
    SetKey(key->dwColorSpaceLowValue);
    return DD_OK;
}

} // namespace compat
