#include "FrameChanges.h"

#include <algorithm>
#include <cstring>

namespace compat {

namespace {

// Changed rows at most this far apart are drawn as one area: each area costs the window a
// request of its own, and a few unchanged rows cost less than that.
constexpr int kJoinGap = 8;
// A frame with more areas than this joins the rest into its last one.
constexpr size_t kMostAreas = 8;

// The first and one past the last pixel of a row that differ; false when the rows are equal.
bool ChangedSpan(const uint8_t* now, const uint8_t* before, int width, int bytesPerPixel,
                 int* first, int* last) {
    const size_t bytes = static_cast<size_t>(width) * bytesPerPixel;
    if (std::memcmp(now, before, bytes) == 0)
        return false;
    size_t head = 0;
    while (head + 8 <= bytes && std::memcmp(now + head, before + head, 8) == 0)
        head += 8;
    while (now[head] == before[head])
        ++head;
    size_t tail = bytes;
    while (tail >= head + 8 && std::memcmp(now + tail - 8, before + tail - 8, 8) == 0)
        tail -= 8;
    while (now[tail - 1] == before[tail - 1])
        --tail;
    *first = static_cast<int>(head / bytesPerPixel);
    *last = static_cast<int>((tail + bytesPerPixel - 1) / bytesPerPixel);
    return true;
}

void AddArea(std::vector<BlitRect>& areas, const BlitRect& area) {
    if (!areas.empty()) {
        BlitRect& previous = areas.back();
        if (area.top - previous.bottom <= kJoinGap || areas.size() >= kMostAreas) {
            previous.left = std::min(previous.left, area.left);
            previous.right = std::max(previous.right, area.right);
            previous.bottom = area.bottom;
            return;
        }
    }
    areas.push_back(area);
}

} // namespace

void TakeChanges(const PixelSurface& frame, PixelSurface& shown, bool whole,
                 FrameChanges* changes) {
    changes->areas.clear();
    changes->whole = whole || shown.width != frame.width || shown.height != frame.height ||
                     shown.bitsPerPixel != frame.bitsPerPixel || shown.pixels.empty() ||
                     shown.pitch != frame.pitch;
    if (changes->whole) {
        if (shown.width != frame.width || shown.height != frame.height ||
            shown.bitsPerPixel != frame.bitsPerPixel || shown.pixels.empty())
            shown.Allocate(frame.width, frame.height, frame.bitsPerPixel);
        if (shown.pixels.size() == frame.pixels.size())
            std::memcpy(shown.pixels.data(), frame.pixels.data(), frame.pixels.size());
        return;
    }
    const int bytesPerPixel = frame.BytesPerPixel();
    const size_t rowBytes = static_cast<size_t>(frame.width) * bytesPerPixel;
    for (int y = 0; y < frame.height; ++y) {
        int first = 0, last = 0;
        if (!ChangedSpan(frame.Row(y), shown.Row(y), frame.width, bytesPerPixel, &first, &last))
            continue;
        std::memcpy(shown.Row(y), frame.Row(y), rowBytes);
        AddArea(changes->areas, BlitRect{first, y, last, y + 1});
    }
}

void DrawChanges(const PixelSurface& frame, const FrameChanges& changes, const WindowPixels& window,
                 const Letterbox& box, std::vector<BlitRect>* drawn) {
    drawn->clear();
    const BlitRect to{box.x, box.y, box.x + box.width, box.y + box.height};
    if (changes.whole) {
        ShowOnScreen(frame, window.pixels, window.pitch, window.width, window.height, window.bits,
                     window.alpha, to, true);
        drawn->push_back(BlitRect{0, 0, window.width, window.height});
        return;
    }
    for (const BlitRect& area : changes.areas) {
        int left = 0, right = 0, top = 0, bottom = 0;
        OutputSpanOf(static_cast<int>(area.left), static_cast<int>(area.right), box.width,
                     frame.width, &left, &right);
        OutputSpanOf(static_cast<int>(area.top), static_cast<int>(area.bottom), box.height,
                     frame.height, &top, &bottom);
        const BlitRect part{box.x + left, box.y + top, box.x + right, box.y + bottom};
        if (part.Empty())
            continue; // a shrunken frame whose changed pixels no window pixel samples
        ShowPartOnScreen(frame, window.pixels, window.pitch, window.bits, window.alpha, to, part);
        drawn->push_back(part);
    }
}

const std::vector<BlitRect>& WindowPicture::Draw(const PixelSurface& frame, PixelSurface& shown,
                                                 const WindowPixels& window) {
    if (window.pixels != layout_.pixels || window.width != layout_.width ||
        window.height != layout_.height || window.pitch != layout_.pitch ||
        window.bits != layout_.bits || window.alpha != layout_.alpha)
        whole_ = true;
    layout_ = window;
    TakeChanges(frame, shown, whole_, &changes_);
    whole_ = false;
    DrawChanges(frame, changes_, window,
                FitMode(window.width, window.height, frame.width, frame.height), &drawn_);
    return drawn_;
}

} // namespace compat
