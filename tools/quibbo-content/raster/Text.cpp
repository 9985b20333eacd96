#include "raster/Text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <array>
#include <map>
#include <strings.h>
#include <utility>
#include <vector>

namespace raster {
namespace {

struct Wanted {
    std::vector<const char*> families; // in order of preference
    bool bold;
};

const std::array<Wanted, 3> kWanted{{
    {{"Verdana", "DejaVu Sans"}, false},
    {{"Verdana", "DejaVu Sans"}, true},
    {{"Mistral", "Kaushan Script"}, false},
}};

// The file fontconfig offers for a family, and the family it really is.
std::pair<std::string, std::string> Match(const char* family, bool bold) {
    std::pair<std::string, std::string> found;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (pattern == nullptr) {
        return found;
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match != nullptr) {
        FcChar8* file = nullptr;
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            found.first = reinterpret_cast<const char*>(file);
        }
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
            found.second = reinterpret_cast<const char*>(name);
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

// The first family of the list that is really installed; else whatever fontconfig offers for
// the last one.
std::string FindFile(const Wanted& wanted) {
    std::string fallback;
    for (const char* family : wanted.families) {
        const auto [file, actual] = Match(family, wanted.bold);
        if (!file.empty() && strcasecmp(actual.c_str(), family) == 0) {
            return file;
        }
        fallback = file;
    }
    return fallback;
}

} // namespace

struct Fonts::Impl {
    bool ttfStarted = false;
    std::string problem;
    std::array<std::string, 3> files;
    mutable std::map<std::pair<int, int>, TTF_Font*> open; // (face, size) -> font
};

Fonts::Fonts() : impl(std::make_unique<Impl>()) {
    if (FcInit() == FcFalse) {
        impl->problem = "fontconfig could not start";
        return;
    }
    for (size_t i = 0; i < kWanted.size(); ++i) {
        impl->files[i] = FindFile(kWanted[i]);
        if (impl->files[i].empty()) {
            impl->problem = std::string("no font found for ") + kWanted[i].families.front();
            return;
        }
    }
    if (TTF_Init() != 0) {
        impl->problem = std::string("SDL_ttf could not start: ") + TTF_GetError();
        return;
    }
    impl->ttfStarted = true;
}

Fonts::~Fonts() {
    for (auto& entry : impl->open) {
        TTF_CloseFont(entry.second);
    }
    if (impl->ttfStarted) {
        TTF_Quit();
    }
}

bool Fonts::Ready() const {
    return impl->ttfStarted && impl->problem.empty();
}

const std::string& Fonts::Problem() const {
    return impl->problem;
}

const std::string& Fonts::FileOf(Face face) const {
    return impl->files[static_cast<size_t>(face)];
}

Mask Fonts::Render(Face face, int pixelSize, const std::string& text) const {
    if (!Ready() || text.empty()) {
        return Mask(0, 0);
    }
    const auto key = std::make_pair(static_cast<int>(face), pixelSize);
    auto it = impl->open.find(key);
    if (it == impl->open.end()) {
        TTF_Font* font = TTF_OpenFont(FileOf(face).c_str(), pixelSize);
        if (font == nullptr) {
            impl->problem = std::string("cannot open ") + FileOf(face) + ": " + TTF_GetError();
            return Mask(0, 0);
        }
        it = impl->open.emplace(key, font).first;
    }
    SDL_Surface* rendered =
        TTF_RenderUTF8_Blended(it->second, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (rendered == nullptr) {
        return Mask(0, 0);
    }
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (surface == nullptr) {
        return Mask(0, 0);
    }
    Mask mask(surface->w, surface->h);
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            mask.At(x, y) = static_cast<float>(row[x] >> 24) / 255.0f;
        }
    }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return mask;
}

} // namespace raster

// fontconfig 2.14 loses a few hundred bytes once while it parses its configuration in FcInit;
// the sanitizer build's leak checker would fail every program that matches fonts for it. Weak,
// so that another part of the same program may give the list instead.
extern "C" __attribute__((weak, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
