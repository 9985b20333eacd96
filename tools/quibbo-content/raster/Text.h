// Text in the game's fonts. The interface font is Verdana and the title font Mistral; where
// they are not installed, fontconfig is asked for DejaVu Sans and Kaushan Script instead,
// the same stand-ins the game itself uses.
#pragma once

#include "raster/Mask.h"

#include <memory>
#include <string>

namespace raster {

enum class Face { Interface, InterfaceBold, Title };

class Fonts {
public:
    Fonts();
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // False when a font could not be found or opened; Problem() then says why.
    bool Ready() const;
    const std::string& Problem() const;
    // The font file used for a face.
    const std::string& FileOf(Face face) const;

    // The text's coverage, `pixelSize` pixels to the em: the mask is as wide as the text's
    // advance and as tall as the font's line, its top-left corner where GDI would place the
    // text. Empty (0 by 0) when the text cannot be rendered.
    Mask Render(Face face, int pixelSize, const std::string& text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace raster
