#include "pixels/PendingDrawing.h"

#include <utility>

namespace compat {

void PendingDrawing::AddFill(const BlitRect& area, uint32_t raw) {
    Step step;
    step.kind = Kind::Fill;
    step.to = area;
    step.raw = raw;
    steps_.push_back(step);
}

void PendingDrawing::AddCopy(const BlitRect& to, const BlitRect& visible,
                             const PixelSurface* source, const BlitRect& from,
                             const uint32_t* key) {
    Step step;
    step.kind = Kind::Copy;
    step.to = to;
    step.visible = visible;
    step.source = source;
    step.from = from;
    step.keyed = key != nullptr;
    step.raw = key ? *key : 0;
    steps_.push_back(step);
}

void PendingDrawing::AddOther(Draw draw) {
    Step step;
    step.kind = Kind::Other;
    step.other = others_.size();
    others_.push_back(std::move(draw));
    steps_.push_back(step);
}

bool PendingDrawing::Uses(const PixelSurface* source) const {
    for (const Step& step : steps_)
        if (step.kind == Kind::Copy && step.source == source)
            return true;
    return false;
}

bool PendingDrawing::OnlyFill(const BlitRect& area, uint32_t* raw) const {
    if (steps_.size() != 1 || steps_[0].kind != Kind::Fill)
        return false;
    *raw = steps_[0].raw;
    return steps_[0].to == area;
}

void PendingDrawing::DrawStep(const Step& step, PixelSurface& target,
                              const BlitRect* within) const {
    switch (step.kind) {
    case Kind::Fill:
        FillPixels(target, within ? Intersect(step.to, *within) : step.to, step.raw);
        break;
    case Kind::Copy: {
        const BlitRect visible = within ? Intersect(step.visible, *within) : step.visible;
        if (!visible.Empty())
            CopyPixels(target, step.to, visible, *step.source, step.from,
                       step.keyed ? &step.raw : nullptr);
        break;
    }
    case Kind::Other:
        others_[step.other](target, within);
        break;
    }
}

void PendingDrawing::DrawAll(PixelSurface& target) const {
    for (const Step& step : steps_)
        DrawStep(step, target, nullptr);
}

void PendingDrawing::DrawWithin(PixelSurface& target, const std::vector<BlitRect>& areas) const {
    for (const BlitRect& area : areas) {
        const BlitRect within = Intersect(area, Bounds(target));
        if (within.Empty())
            continue;
        // Every area starts with the whole fill, so an area drawn twice comes out the same.
        for (const Step& step : steps_)
            DrawStep(step, target, &within);
    }
}

} // namespace compat
