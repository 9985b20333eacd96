// Clippers: a list of rectangles that blits into a surface are cut to.
#include "ddraw/DirectDrawObjects.h"
#include "seams/Failures.h"

#include <cstring>

namespace compat {

namespace {

// More rectangles than any clip list the game or a window manager would make: a count beyond
// this is a damaged record, not a region.
constexpr DWORD kMaxClipRectangles = 4096;

} // namespace

HRESULT Clipper::SetClipList(LPRGNDATA clipList, DWORD flags) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDrawClipper::SetClipList", &hr))
        return hr;
    if (flags != 0)
        return DDERR_INVALIDPARAMS;
    if (!clipList) {
        hasClipList_ = false;
        rectangles_.clear();
        return DD_OK;
    }
    const RGNDATAHEADER& header = clipList->rdh;
    if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES ||
        header.nCount > kMaxClipRectangles ||
        (header.nRgnSize != 0 && header.nRgnSize < header.nCount * sizeof(RECT)))
        return DDERR_INVALIDCLIPLIST;
    rectangles_.clear();
    for (DWORD i = 0; i < header.nCount; ++i) {
        RECT rect;
        std::memcpy(&rect, clipList->Buffer + i * sizeof(RECT), sizeof rect);
        const BlitRect clip{rect.left, rect.top, rect.right, rect.bottom};
        if (!clip.Empty())
            rectangles_.push_back(clip);
    }
    hasClipList_ = true;
    return DD_OK;
}

ULONG Clipper::Release() {
    if (--references_ > 0)
        return references_;
    delete this;
    return 0;
}

} // namespace compat
