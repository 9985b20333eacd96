#include "content/ContactSheet.h"

#include "art/Blocks.h"
#include "art/Icon.h"
#include "art/Lettering.h"
#include "art/Palette.h"
#include "audio/Synth.h"
#include "content/MockUps.h"
#include "raster/ColourVision.h"
#include "raster/Keying.h"

#include <cstdio>
#include <string>

namespace content {

using namespace raster;
namespace pal = art::palette;

namespace {

constexpr int kWidth = 1340;
constexpr int kHeight = 1410;
constexpr int kMargin = 20;

class Sheet {
public:
    Sheet(const ContentSet& set, const Fonts& fonts)
        : set(set), fonts(fonts), canvas(kWidth, kHeight) {
        canvas.Clear(pal::kSky);
    }

    // A picture as the game shows it (its key colour left out), enlarged `factor` times.
    void Put(const Image& image, std::optional<Pixel> key, int x, int y, int factor = 1) {
        canvas.Draw(ToCanvas(factor > 1 ? Enlarge(image, factor) : image, key), x, y);
    }
    void Put(const std::string& path, int x, int y, int factor = 1) {
        const Picture& p = set.Find(path);
        Put(p.image, p.key, x, y, factor);
    }
    void Label(const std::string& text, int x, int y, int size = 13) {
        art::DrawPlainText(canvas, fonts, Face::InterfaceBold, size, text, x, y, pal::kInk);
    }
    void Heading(const std::string& text, int x, int y) {
        art::DrawPlainText(canvas, fonts, Face::InterfaceBold, 17, text, x, y, pal::kWhite);
    }
    Image Finish() const { return FlattenOpaque(canvas, pal::kSky, std::nullopt); }

    const ContentSet& set;
    const Fonts& fonts;

private:
    Canvas canvas;
};

void Buttons(Sheet& s, int top) {
    s.Heading("menu/menu_*.bmp and menu_*2.bmp: at rest and under the mouse", kMargin, top);
    const char* names[] = {"start",    "options", "custom", "quit",       "controls", "difficulty",
                           "graphics", "easy",    "medium", "resolution", "hard",     "ok"};
    for (int i = 0; i < 12; ++i) {
        const int x = kMargin + (i % 2) * 660;
        const int y = top + 28 + (i / 2) * 48;
        const std::string stem = std::string("menu/menu_") + names[i];
        s.Put(stem + ".bmp", x, y);
        s.Put(stem + "2.bmp", x + 236, y);
        s.Label(std::string(names[i]), x + 472, y + 12);
    }
}

void Characters(Sheet& s, int top) {
    s.Heading("common/quibbo.bmp", kMargin, top);
    s.Put("common/quibbo.bmp", kMargin, top + 26);

    int x = kMargin + 440;
    s.Heading("common/lives.bmp", x, top);
    s.Put("common/lives.bmp", x, top + 26);
    s.Put("common/lives.bmp", x + 76, top + 26, 2);

    s.Heading("scenery/getrdy.bmp", x + 240, top);
    s.Put("scenery/getrdy.bmp", x + 240, top + 26);

    s.Heading("scenery/next.bmp (x2)", x + 530, top);
    s.Put("scenery/next.bmp", x + 530, top + 26, 2);

    const int tiles = top + 186;
    s.Heading("scenery/border_*.bmp: top, right, bottom, left (x3, and tiled)", x, tiles);
    for (int side = 0; side < 4; ++side) {
        const int tx = x + side * 210;
        s.Put(kBorderPictures[side], tx, tiles + 28, 3);
        for (int i = 0; i < 8; ++i) {
            s.Put(kBorderPictures[side], tx + 60 + 16 * i, tiles + 28);
            s.Put(kBorderPictures[side], tx + 60, tiles + 28 + 16 * i);
        }
    }

    const int clouds = top + 350;
    s.Heading("scenery/cloud1.bmp, cloud2.bmp, cloud3.bmp", x, clouds);
    s.Put("scenery/cloud1.bmp", x, clouds + 26);
    s.Put("scenery/cloud2.bmp", x + 230, clouds + 30);
    s.Put("scenery/cloud3.bmp", x + 450, clouds + 28);

    s.Heading("quibbo.ico (and x3)", x + 650, clouds);
    s.Put(s.set.icon, art::kIconClear, x + 650, clouds + 26);
    s.Put(s.set.icon, art::kIconClear, x + 694, clouds + 26, 3);
}

void Blocks(Sheet& s, int top) {
    s.Heading("scenery/block_*.bmp (x2): as drawn, and as seen with deuteranopia and protanopia",
              kMargin, top);
    const std::vector<std::string> names = BlockPictures();
    const char* rows[] = {"normal", "deuteranopia", "protanopia"};
    for (int row = 0; row < 3; ++row) {
        const int y = top + 48 + row * 76;
        s.Label(rows[row], kMargin, y + 24);
        for (size_t i = 0; i < names.size(); ++i) {
            const Picture& p = s.set.Find(names[i]);
            Image seen = p.image;
            if (row > 0) {
                seen =
                    SeenWith(row == 1 ? Deficiency::Deuteranopia : Deficiency::Protanopia, p.image);
                // Keep the key where it was, so the corners stay see-through.
                for (int py = 0; py < seen.Height(); ++py) {
                    for (int px = 0; px < seen.Width(); ++px) {
                        if (p.image.At(px, py) == p.key) {
                            seen.At(px, py) = p.key;
                        }
                    }
                }
            }
            const int x = kMargin + 130 + static_cast<int>(i) * 80;
            s.Put(seen, p.key, x, y, 2);
            if (row == 0) {
                s.Label(art::BlockTypes()[i].name, x, top + 28, 11);
            }
        }
    }
}

void Sounds(Sheet& s, int x, int top) {
    s.Heading("sound/: 16-bit mono PCM, all in C major", x, top);
    const char* what[] = {"a block comes to rest", "a run of blocks vanishes", "the field turns"};
    for (size_t i = 0; i < s.set.sounds.size() && i < 3; ++i) {
        const Sound& sound = s.set.sounds[i];
        char line[160];
        std::snprintf(line, sizeof line, "%s  %.2f s  (%s)", sound.path.c_str(),
                      static_cast<double>(sound.samples.size()) / audio::kSampleRate, what[i]);
        s.Label(line, x, top + 30 + static_cast<int>(i) * 22);
    }
}

void Screens(Sheet& s, int top) {
    s.Heading("backdrops/complete.bmp, backdrops/loser.bmp and two mock-up screens (half size)",
              kMargin, top);
    const Image screens[] = {s.set.Find("backdrops/complete.bmp").image,
                             s.set.Find("backdrops/loser.bmp").image,
                             MockTitleScreen(s.set, s.fonts), MockPlayScreen(s.set, s.fonts)};
    for (int i = 0; i < 4; ++i) {
        s.Put(Reduce(screens[i], 2), std::nullopt, kMargin + i * 330, top + 28);
    }
}

} // namespace

Image ContactSheet(const ContentSet& set, const Fonts& fonts) {
    Sheet s(set, fonts);
    Buttons(s, kMargin);
    Characters(s, 340);
    Blocks(s, 830);
    Sounds(s, 820, 878);
    Screens(s, 1120);
    return s.Finish();
}

} // namespace content
