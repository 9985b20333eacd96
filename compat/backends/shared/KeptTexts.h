// Shared by the backends' text rasterisers: the masks of text rendered lately, by a key naming
// the font, the edges and the text. A game writes the same few lines every frame, so the set is
// simply cleared whole once it grows past kMaxTexts texts or kMaxBytes of masks.
#pragma once

#include "platform/Text.h"

#include <string>
#include <unordered_map>
#include <utility>

namespace compat {

class KeptTexts {
public:
    static constexpr size_t kMaxTexts = 256;
    static constexpr size_t kMaxBytes = 8 * 1024 * 1024;

    const platform::TextMask* Find(const std::string& key) const {
        auto found = masks_.find(key);
        return found == masks_.end() ? nullptr : &found->second;
    }

    const platform::TextMask* Keep(const std::string& key, platform::TextMask mask) {
        if (masks_.size() >= kMaxTexts || bytes_ >= kMaxBytes) {
            masks_.clear();
            bytes_ = 0;
        }
        bytes_ += mask.coverage.size();
        return &masks_.emplace(key, std::move(mask)).first->second;
    }

private:
    std::unordered_map<std::string, platform::TextMask> masks_;
    size_t bytes_ = 0;
};

} // namespace compat
