// Inside the web backend: the browser's side of text, its FontFace loading and its canvas.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace compat {

// Loads a font file of the page's file system into the document's fonts under `family`, and
// waits until the browser can draw with it. False when the browser cannot read it.
bool LoadCanvasFace(const std::string& path, const std::string& family);

struct CanvasLine {
    // A CSS font: "23px \"family\"".
    std::string font;
    // Slanted as x' = x + shear * (baseline - y), 0 for upright.
    double shear = 0;
    int width = 0;
    int height = 0;
    int baseline = 0;
    // The glyphs and where each one's pen starts, in canvas pixels.
    const std::vector<uint32_t>* codePoints = nullptr;
    const std::vector<int>* penX = nullptr;
    int originX = 0;
    // Rows filled whole across [originX, lineEnd): underline and strike-out; 0 rows for none.
    int lineEnd = 0;
    int underlineTop = 0;
    int underlineRows = 0;
    int strikeTop = 0;
    int strikeRows = 0;
};

// Draws the line in white on a clear canvas and gives each pixel's alpha, rows top first.
void DrawCanvasLine(const CanvasLine& line, std::vector<uint8_t>* alpha);

} // namespace compat
