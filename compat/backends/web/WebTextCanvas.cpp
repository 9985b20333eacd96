// Text on the browser's canvas 2D: font files become FontFaces; lines are drawn by
// js/WebText.js.
#include "web/WebTextCanvas.h"

#include <emscripten.h>

// js/WebText.js
extern "C" void quibbo_text_draw(const char* font, double shear, int width, int height,
                                 int baseline, const uint32_t* codes, const int* penX, int count,
                                 int originX, const int* rules, uint8_t* out);

namespace {

// FontFace parses its bytes in the background; the game's loop waits here (under ASYNCIFY) for
// it, so the first text drawn in the face is drawn in it.
EM_ASYNC_JS(int, quibbo_text_load_face, (const char* path, const char* family), {
    let bytes;
    try {
        bytes = FS.readFile(UTF8ToString(path));
    } catch (e) {
        return 0;
    }
    const face = new FontFace(UTF8ToString(family), bytes);
    try {
        await face.load();
    } catch (e) {
        return 0;
    }
    (typeof document != 'undefined' ? document.fonts : self.fonts).add(face);
    return 1;
});

} // namespace

namespace compat {

bool LoadCanvasFace(const std::string& path, const std::string& family) {
    return quibbo_text_load_face(path.c_str(), family.c_str()) != 0;
}

void DrawCanvasLine(const CanvasLine& line, std::vector<uint8_t>* alpha) {
    alpha->assign(static_cast<size_t>(line.width) * line.height, 0);
    const int rules[5] = {line.lineEnd, line.underlineTop, line.underlineRows, line.strikeTop,
                          line.strikeRows};
    quibbo_text_draw(line.font.c_str(), line.shear, line.width, line.height, line.baseline,
                     line.codePoints->data(), line.penX->data(),
                     static_cast<int>(line.codePoints->size()), line.originX, rules, alpha->data());
}

} // namespace compat
