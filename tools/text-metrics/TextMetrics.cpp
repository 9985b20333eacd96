// Prints the metrics of the game's texts in the game's faces and sizes through the platform's
// text backend, a line each, so that two backends' lines can be compared: the desktop's and the
// browser's. The last line is "END".
#include "platform/Text.h"

#include <cstdio>
#include <string>

namespace {

struct Face {
    const char* name;
    int height; // GDI's: negative for the em, positive for the whole cell
    int weight;
};

// The interface face at each mode's width (width / 27), the title face, and the sizes and
// weights the text tests use.
constexpr Face kFaces[] = {
    {"verdana", -23, 400}, {"verdana", -29, 400}, {"verdana", -37, 400}, {"verdana", -42, 400},
    {"verdana", -47, 400}, {"verdana", -59, 400}, {"mistral", -64, 400}, {"verdana", -30, 700},
    {"verdana", -40, 400}, {"mistral", -40, 400}, {"mistral", -64, 700}, {"verdana", 23, 400},
};

constexpr const char* kTexts[] = {
    "Quibbo's",
    " Puzzle",
    "Score: 0",
    "Score: 1250",
    "Really Quit? Y/N",
    "Load Custom Level",
    "Filename: custom.lev",
    "Video Resolution",
    "640x480",
    "1024x768",
    "1600x1200",
    "Left",
    "Right",
    "Rotate Clockwise",
    "Rotate Counter Clockwise",
    "- Left Arrow",
    "- Right Arrow",
    "- A",
    "- D",
    "- Space",
    "Level: 1",
    "Level: 12",
    "2:05",
    "x 13",
    "HIT",
    "Wide",
};

// The first and last rows holding ink, -1 for none.
void InkRows(const platform::TextMask& mask, int* top, int* bottom) {
    *top = *bottom = -1;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            if (mask.coverage[static_cast<size_t>(y) * mask.width + x] >= 128) {
                if (*top < 0)
                    *top = y;
                *bottom = y;
            }
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int main() {
    int failures = 0;
    for (const Face& face : kFaces) {
        platform::FontRequest request;
        request.face = face.name;
        request.weight = face.weight;
        if (face.height < 0)
            request.emPixels = -face.height;
        else
            request.cellHeight = face.height;
        platform::OpenedFont opened;
        if (!platform::OpenFont(request, &opened)) {
            std::printf("font %s %d %d: none\n", face.name, face.height, face.weight);
            ++failures;
            continue;
        }
        std::printf("font %s %d %d: file %s em %d line %d bold %d\n", face.name, face.height,
                    face.weight, BaseName(opened.file).c_str(), opened.emPixels, opened.lineHeight,
                    opened.syntheticBold ? 1 : 0);
        for (const char* text : kTexts) {
            int width = 0;
            const platform::TextMask* mask = platform::RenderText(opened.font, true, text);
            const bool measured = platform::MeasureText(opened.font, text, &width);
            if (!mask || !measured) {
                std::printf("text %s %d %d [%s]: none\n", face.name, face.height, face.weight,
                            text);
                ++failures;
                continue;
            }
            int top = 0, bottom = 0;
            InkRows(*mask, &top, &bottom);
            std::printf("text %s %d %d [%s]: width %d left %d mask %dx%d ink %d-%d", face.name,
                        face.height, face.weight, text, width, mask->left, mask->width,
                        mask->height, top, bottom);
            // The same with hard edges (the mask is valid until the next call).
            const platform::TextMask* hard = platform::RenderText(opened.font, false, text);
            if (hard) {
                InkRows(*hard, &top, &bottom);
                std::printf(" hard %dx%d hardink %d-%d", hard->width, hard->height, top, bottom);
            }
            std::printf("\n");
        }
    }
    std::printf("END\n");
    std::fflush(stdout);
    return failures ? 1 : 0;
}
