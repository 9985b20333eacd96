// Inside the platform layer: what drew a surface's pixels since they were last filled whole,
// so that two frames can be told alike from how they were drawn instead of by their pixels.
//
// A frame that starts with a fill of every pixel and is drawn by steps that each set a pixel
// only from their own arguments and the pixel under it (fills, blits from a surface whose
// content is known by its stamp, text, single pixels) is the same as another frame drawn by
// the same steps in the same order. Where the steps differ, the pixels may differ only inside
// what those steps drew, in either frame.
#pragma once

#include "pixels/Blitter.h"

#include <cstdint>
#include <vector>

namespace compat {

class DrawLog {
public:
    // Every pixel was replaced by one fill (`what` says how): the log starts afresh with it.
    void StartWhole(uint64_t what, const BlitRect& bounds);
    // A step that changed no pixel outside `where`; steps with equal `what` draw the same
    // pixels over the same pixels.
    void Add(uint64_t what, const BlitRect& where);
    // Drawing nobody can tell from its arguments (a lock, a surface drawn onto itself, drawing
    // left out): the pixels are known only by looking at them until the next whole fill.
    void Forget();
    bool Known() const { return known_; }
    // Where the pixels drawn by this log may differ from those drawn by `before`: false when
    // that cannot be told (either log unknown); else true, with the areas in `areas` (none: the
    // pixels are the same). Logs of as many steps are paired step by step; otherwise the steps
    // alike at their starts and at their ends are paired, and those between count whole (a
    // block that came to rest is one step more amid the same steps).
    bool DifferencesFrom(const DrawLog& before, std::vector<BlitRect>* areas) const;

private:
    struct Step {
        uint64_t what;
        BlitRect where;
        bool operator==(const Step& other) const {
            return what == other.what && where == other.where;
        }
    };
    bool known_ = false;
    std::vector<Step> steps_;
};

// Mixes a value into a step's description.
uint64_t MixStep(uint64_t hash, uint64_t value);
uint64_t MixStep(uint64_t hash, const BlitRect& rect);
// A number no content had before: a surface takes a new one whenever its pixels may change,
// so a blit from it is told apart from a blit of its earlier pixels.
uint64_t NewContentStamp();

} // namespace compat
