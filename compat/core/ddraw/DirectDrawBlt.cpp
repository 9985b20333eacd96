// IDirectDrawSurface7::Blt: argument checks, clipping, then the blitter.
#include "ddraw/DirectDrawObjects.h"
#include "seams/Failures.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

namespace compat {

namespace {

constexpr DWORD kHandledFlags =
    DDBLT_COLORFILL | DDBLT_KEYSRC | DDBLT_WAIT | DDBLT_DONOTWAIT | DDBLT_ASYNC;

BlitRect FromRect(const RECT& rect) {
    return BlitRect{rect.left, rect.top, rect.right, rect.bottom};
}

bool Inside(const BlitRect& inner, const BlitRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// What kind of step a log entry is.
constexpr uint64_t kFillStep = 1;
constexpr uint64_t kCopyStep = 2;

uint32_t FormatMask(int bitsPerPixel) {
    return bitsPerPixel == 16 ? 0xFFFFu : 0xFFFFFFFFu;
}

// The surfaces that have copies noted (see Surface::pending_), so that a source about to
// change can have them done first.
std::vector<Surface*>& CopyingSurfaces() {
    static std::vector<Surface*> surfaces;
    return surfaces;
}

void StopCopying(Surface* surface) {
    std::vector<Surface*>& surfaces = CopyingSurfaces();
    for (size_t i = 0; i < surfaces.size(); ++i) {
        if (surfaces[i] == surface) {
            surfaces[i] = surfaces.back();
            surfaces.pop_back();
            return;
        }
    }
}

} // namespace

ChangedDrawingCheck& ChangedDrawing() {
    static ChangedDrawingCheck check;
    return check;
}

HRESULT Surface::Blt(LPRECT destRect, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD flags,
                     LPDDBLTFX fx) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawSurface7::Blt", &hr))
        return hr;
    if (flags & ~kHandledFlags)
        return DDERR_UNSUPPORTED; // no raster operations, effects or destination keys
    const bool fill = flags & DDBLT_COLORFILL;
    auto* from = static_cast<Surface*>(source);
    if ((flags & DDBLT_WAIT) && (flags & DDBLT_DONOTWAIT))
        return DDERR_INVALIDPARAMS;
    if (fx && fx->dwSize != sizeof(DDBLTFX))
        return DDERR_INVALIDPARAMS;
    if (fill ? (!fx || (flags & DDBLT_KEYSRC)) : !from)
        return DDERR_INVALIDPARAMS;
    if (!fill && (flags & DDBLT_KEYSRC) && !from->hasKey_)
        return DDERR_COLORKEYNOTSET;
    if (lost_ || (!fill && from->lost_))
        return DDERR_SURFACELOST;
    if (IsBusy() || (!fill && from->IsBusy()))
        return DDERR_SURFACEBUSY;

    const BlitRect dest = destRect ? FromRect(*destRect) : Bounds(pixels_);
    if (dest.Empty())
        return DDERR_INVALIDRECT;
    if (fill)
        return ColorFill(dest, fx);

    const BlitRect whole = Bounds(from->pixels_);
    const BlitRect part = sourceRect ? FromRect(*sourceRect) : whole;
    if (part.Empty() || !Inside(part, whole))
        return DDERR_INVALIDRECT;
    if (from->pixels_.bitsPerPixel != pixels_.bitsPerPixel)
        return DDERR_INVALIDPIXELFORMAT;
    return Copy(dest, from, part, (flags & DDBLT_KEYSRC) != 0);
}

HRESULT Surface::VisibleParts(const BlitRect& dest, std::vector<BlitRect>* parts) const {
    parts->clear();
    const BlitRect bounds = Bounds(pixels_);
    if (!clipper_) {
        // Without a clipper a blit must lie wholly on the surface.
        if (!Inside(dest, bounds))
            return DDERR_INVALIDRECT;
        parts->push_back(dest);
        return DD_OK;
    }
    if (!clipper_->HasClipList())
        return DDERR_NOCLIPLIST;
    for (const BlitRect& clip : clipper_->Rectangles()) {
        const BlitRect visible = Intersect(Intersect(dest, clip), bounds);
        if (!visible.Empty())
            parts->push_back(visible);
    }
    return DD_OK;
}

void Surface::Settle() {
    if (pending_.Empty())
        return;
    if (NotesSteps() && baseLog_.Known() && !pixels_.pixels.empty()) {
        // The frame is needed before it is finished: it is drawn whole into spare pixels, and
        // the pixels it was to be drawn over are kept for the next whole fill.
        if (!SpareFits()) {
            try {
                spare_.Allocate(pixels_.width, pixels_.height, pixels_.bitsPerPixel);
            } catch (const std::bad_alloc&) {
                spare_ = PixelSurface{}; // then drawn over the pixels as they are
            }
        }
        if (SpareFits()) {
            std::swap(spare_.pixels, pixels_.pixels);
            spareLog_ = baseLog_;
        }
    }
    if (!pixels_.pixels.empty()) {
        // Most often the black a flip leaves, settled for a colour match that reads a pixel.
        uint32_t raw = 0;
        if (pending_.OnlyFill(Bounds(pixels_), &raw) && raw == 0)
            ZeroPixels(pixels_);
        else
            pending_.DrawAll(pixels_);
    }
    DropPending();
}

void Surface::DropPending() {
    pending_.Clear();
    baseLog_.Forget();
    StopCopying(this);
}

void Surface::NoteWholeFill(uint32_t raw) {
    if (pending_.Empty()) {
        // The pixels to draw over: these as they are, or the spare ones where only those are
        // known.
        if (NotesSteps() && !drawn_.Known() && spareLog_.Known() && SpareFits()) {
            std::swap(spare_.pixels, pixels_.pixels);
            std::swap(spareLog_, drawn_);
        }
        baseLog_ = drawn_;
    } else {
        pending_.Clear(); // drawn over whole: never seen
        StopCopying(this);
    }
    pending_.AddFill(Bounds(pixels_), raw);
}

void Surface::FinishFrame() {
    if (pending_.Empty())
        return;
    thread_local std::vector<BlitRect> areas;
    if (pixels_.pixels.empty() || !baseLog_.Known() || !drawn_.DifferencesFrom(baseLog_, &areas)) {
        Settle();
        return;
    }
    if (ChangedDrawing().check) {
        thread_local PixelSurface whole;
        whole = pixels_;
        pending_.DrawAll(whole);
        pending_.DrawWithin(pixels_, areas);
        ChangedDrawing().different += whole.pixels != pixels_.pixels;
    } else {
        pending_.DrawWithin(pixels_, areas);
    }
    DropPending();
}

void Surface::SettleDrawingFrom() {
    sourceOfNoted_ = false;
    // Settling takes the surface off the list.
    const std::vector<Surface*> copying = CopyingSurfaces();
    for (Surface* surface : copying)
        if (surface->pending_.Uses(&pixels_))
            surface->Settle();
}

bool Surface::LeavesOutDrawing() const {
    return kind_ == SurfaceKind::BackBuffer && frontBuffer_ && filledSinceFlip_ &&
           owner_->GetScreen().NobodySees();
}

HRESULT Surface::ColorFill(const BlitRect& dest, const DDBLTFX* fx) {
    thread_local std::vector<BlitRect> parts;
    const HRESULT hr = VisibleParts(dest, &parts);
    if (FAILED(hr))
        return hr;
    // The raw value as given, cut to the format's bits.
    const uint32_t raw = fx->dwFillColor & FormatMask(pixels_.bitsPerPixel);
    Touched();
    if (parts.size() == 1 && Inside(Bounds(pixels_), parts[0]) && !pixels_.pixels.empty()) {
        NoteWholeFill(raw);
        drawn_.StartWhole(MixStep(kFillStep, raw), Bounds(pixels_));
        filledSinceFlip_ = true;
        missing_ = false; // every pixel is replaced
        return DD_OK;
    }
    if (LeavesOutDrawing()) {
        missing_ = true;
        drawn_.Forget();
        return DD_OK;
    }
    const bool noted = NotesDrawing();
    if (!noted)
        Settle();
    uint64_t step = MixStep(kFillStep, raw);
    for (const BlitRect& part : parts) {
        if (noted)
            pending_.AddFill(part, raw);
        else
            FillPixels(pixels_, part, raw);
        step = MixStep(step, part);
        drawn_.Add(step, part);
    }
    return DD_OK;
}

HRESULT Surface::Copy(const BlitRect& dest, Surface* source, const BlitRect& from, bool keyed) {
    thread_local std::vector<BlitRect> parts;
    const HRESULT hr = VisibleParts(dest, &parts);
    if (FAILED(hr) || parts.empty())
        return hr;
    Touched();
    if (LeavesOutDrawing()) {
        missing_ = true;
        drawn_.Forget();
        return DD_OK;
    }
    missing_ = missing_ || source->missing_;
    source->Settle();
    const bool noted = source != this && NotesDrawing();
    if (!noted)
        Settle();
    const uint32_t* key = keyed ? &source->key_ : nullptr;
    if (source == this) {
        // A surface blitted onto itself reads from a copy, so overlapping parts come out
        // as if the whole source had been read first.
        const PixelSurface copy = pixels_;
        drawn_.Forget(); // its pixels come from its own
        for (const BlitRect& part : parts)
            CopyPixels(pixels_, dest, part, copy, from, key);
        return DD_OK;
    }
    // The same source content, key and rectangles draw the same pixels.
    uint64_t step = MixStep(MixStep(kCopyStep, source->stamp_), keyed ? 1 + uint64_t{*key} : 0);
    step = MixStep(MixStep(step, dest), from);
    if (noted) {
        source->sourceOfNoted_ = true;
        if (std::find(CopyingSurfaces().begin(), CopyingSurfaces().end(), this) ==
            CopyingSurfaces().end())
            CopyingSurfaces().push_back(this);
    }
    for (const BlitRect& part : parts) {
        if (noted)
            pending_.AddCopy(dest, part, &source->pixels_, from, key);
        else
            CopyPixels(pixels_, dest, part, source->pixels_, from, key);
        drawn_.Add(MixStep(step, part), part);
    }
    return DD_OK;
}

} // namespace compat
