#include "content/MockUps.h"

#include "art/Lettering.h"
#include "raster/Canvas.h"
#include "raster/Keying.h"

#include <array>
#include <string>

namespace content {

using namespace raster;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFieldX = (kWidth - 416) / 2;
constexpr int kFieldY = (kHeight - 416) / 2;

void Draw(Image& screen, const Picture& p, int x, int y, int w = 0, int h = 0) {
    Blit(screen, p.image, x, y, w ? w : p.image.Width(), h ? h : p.image.Height(), p.key);
}

void Sky(Image& screen, const ContentSet& set) {
    Draw(screen, set.Find("scenery/cloud1.bmp"), 492, 67, 208, 90);
    Draw(screen, set.Find("scenery/cloud2.bmp"), 24, 190, 200, 80);
    Draw(screen, set.Find("scenery/cloud3.bmp"), 265, 342, 178, 84);
    Draw(screen, set.Find("common/quibbo.bmp"), kFieldX, kFieldY);
}

// Texts go on last, as the game writes them over the finished blits.
struct Text {
    Face face;
    int size;
    std::string text;
    int x, y;
    Colour colour;
};

Image WithTexts(const Image& screen, const Fonts& fonts, const std::vector<Text>& texts) {
    Canvas canvas = ToCanvas(screen, std::nullopt);
    for (const Text& t : texts) {
        art::DrawPlainText(canvas, fonts, t.face, t.size, t.text, t.x, t.y, t.colour);
    }
    return FlattenOpaque(canvas, Rgb(0, 0, 0), std::nullopt);
}

} // namespace

Image MockTitleScreen(const ContentSet& set, const Fonts& fonts) {
    Image screen(kWidth, kHeight, Pixel{63, 189, 240});
    Sky(screen, set);
    const std::array<const char*, 4> items{"start", "options", "custom", "quit"};
    for (size_t k = 0; k < items.size(); ++k) {
        const std::string name = std::string("menu/menu_") + items[k] + (k == 1 ? "2" : "");
        Draw(screen, set.Find(name + ".bmp"), kWidth / 2 - 112,
             kHeight / 2 - 80 + 44 * static_cast<int>(k));
    }
    const Colour white = Rgb(255, 255, 255);
    return WithTexts(screen, fonts,
                     {{Face::Title, 64, "Quibbo's", 40, 30, white},
                      {Face::Title, 64, " Puzzle", 40, 94, white}});
}

Image MockPlayScreen(const ContentSet& set, const Fonts& fonts) {
    Image screen(kWidth, kHeight, Pixel{63, 187, 239});
    Sky(screen, set);

    // A starting pattern of the kind a level sets, bottom rows filled, a few towers.
    static const char* const kRows[13] = {
        ".............", ".............", ".............", ".............", ".............",
        "......3......", ".....5.......", "1....54....2.", "12..7764..32.", "123.8865.432.",
        "2311887556121", "4423315567788", "5566771122334"};
    const std::vector<std::string> blocks = BlockPictures();
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 13; ++x) {
            const char c = kRows[y][x];
            if (c != '.') {
                Draw(screen, set.Find(blocks[c - '1']), kFieldX + 32 * x, kFieldY + 32 * y);
            }
        }
    }
    Draw(screen, set.Find(blocks[3]), kFieldX + 32 * 6, kFieldY + 32 * 2); // the falling block

    // The border pieces, 26 tiles of 16 by 16 a side.
    for (int i = 0; i < 26; ++i) {
        Draw(screen, set.Find(kBorderPictures[0]), kFieldX + 16 * i, kFieldY - 16, 16, 16);
        Draw(screen, set.Find(kBorderPictures[1]), kFieldX + 416, kFieldY + 16 * i, 16, 16);
        Draw(screen, set.Find(kBorderPictures[2]), kFieldX + 16 * i, kFieldY + 416, 16, 16);
        Draw(screen, set.Find(kBorderPictures[3]), kFieldX - 16, kFieldY + 16 * i, 16, 16);
    }
    Draw(screen, set.Find("scenery/next.bmp"), kFieldX + 432, kHeight - kFieldY - 48);
    Draw(screen, set.Find(blocks[6]), kFieldX + 465, kHeight - kFieldY - 33);
    Draw(screen, set.Find("common/lives.bmp"), kWidth - 128, 0, 64, 64);

    const int size = kWidth / 27;
    const Colour white = Rgb(255, 255, 255);
    return WithTexts(screen, fonts,
                     {{Face::Interface, size, "Score: 120", 0, 0, white},
                      {Face::Interface, size, "1:25", kWidth / 2 - 40, 0, Rgb(0, 0, 0)},
                      {Face::Interface, size, "x 3", kWidth - 64, 0, white},
                      {Face::Interface, size, "Level: 1", 0, kHeight - 64, white}});
}

} // namespace content
