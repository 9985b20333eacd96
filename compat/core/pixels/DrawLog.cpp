#include "pixels/DrawLog.h"

#include <algorithm>

namespace compat {

namespace {

// A frame of more steps than this is compared by its pixels: the log stays small.
constexpr size_t kMostSteps = 4096;
// More areas than this join into their last one.
constexpr size_t kMostAreas = 64;

void AddArea(std::vector<BlitRect>* areas, const BlitRect& area) {
    if (area.Empty())
        return;
    for (BlitRect& known : *areas) {
        if (area.left >= known.left && area.top >= known.top && area.right <= known.right &&
            area.bottom <= known.bottom)
            return; // already inside one
        // A picture that moved a little is where it was and where it is now: one area that
        // holds both is smaller than the two, and its pixels are drawn only once.
        const BlitRect both = Enclosing(known, area);
        if (!Intersect(known, area).Empty() && both.Area() <= known.Area() + area.Area()) {
            known = both;
            return;
        }
    }
    if (areas->size() >= kMostAreas) {
        areas->back() = Enclosing(areas->back(), area);
        return;
    }
    areas->push_back(area);
}

} // namespace

void DrawLog::StartWhole(uint64_t what, const BlitRect& bounds) {
    known_ = true;
    steps_.clear();
    steps_.push_back(Step{what, bounds});
}

void DrawLog::Add(uint64_t what, const BlitRect& where) {
    if (!known_)
        return;
    if (steps_.size() >= kMostSteps) {
        Forget();
        return;
    }
    steps_.push_back(Step{what, where});
}

void DrawLog::Forget() {
    known_ = false;
    steps_.clear();
}

bool DrawLog::DifferencesFrom(const DrawLog& before, std::vector<BlitRect>* areas) const {
    areas->clear();
    if (!known_ || !before.known_)
        return false;
    const std::vector<Step>& now = steps_;
    const std::vector<Step>& then = before.steps_;
    if (now.size() == then.size()) {
        for (size_t i = 0; i < now.size(); ++i) {
            if (now[i] == then[i])
                continue;
            AddArea(areas, now[i].where);
            AddArea(areas, then[i].where);
        }
        return true;
    }
    // A pixel outside every step between the paired ones is drawn by the same steps in the
    // same order in both frames.
    const size_t shorter = std::min(now.size(), then.size());
    size_t head = 0;
    while (head < shorter && now[head] == then[head])
        ++head;
    size_t tail = 0;
    while (tail < shorter - head && now[now.size() - 1 - tail] == then[then.size() - 1 - tail])
        ++tail;
    for (size_t i = head; i + tail < now.size(); ++i)
        AddArea(areas, now[i].where);
    for (size_t i = head; i + tail < then.size(); ++i)
        AddArea(areas, then[i].where);
    return true;
}

uint64_t MixStep(uint64_t hash, uint64_t value) {
    // splitmix64's finaliser over the running value.
    uint64_t z = hash ^ (value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2));
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t MixStep(uint64_t hash, const BlitRect& rect) {
    hash = MixStep(hash, static_cast<uint64_t>(rect.left));
    hash = MixStep(hash, static_cast<uint64_t>(rect.top));
    hash = MixStep(hash, static_cast<uint64_t>(rect.right));
    return MixStep(hash, static_cast<uint64_t>(rect.bottom));
}

uint64_t NewContentStamp() {
    static uint64_t last = 0;
    return ++last;
}

} // namespace compat
