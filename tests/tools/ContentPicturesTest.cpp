// The pictures the build made for the game, read from its folder: present, the right sizes,
// and keyed exactly where they should be.
#include "raster/ColourVision.h"

#include "ContentFiles.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <vector>

namespace {

using contentfiles::Bitmap;
using raster::ChannelDistance;
using raster::Pixel;

constexpr Pixel kPink{228, 103, 101};
constexpr Pixel kBlack{0, 0, 0};
// 16-bit displays keep the top 5 or 6 bits of a channel: a pixel at least this far from the
// key in some channel can never become transparent there.
constexpr int kMargin = 24;

std::vector<std::string> Blocks() {
    std::vector<std::string> names;
    for (const char* colour :
         {"red", "orange", "yellow", "green", "cyan", "blue", "purple", "pink"}) {
        names.push_back(std::string("scenery/block_") + colour + ".bmp");
    }
    return names;
}

struct Expected {
    std::string path;
    int width, height;
    Pixel key;
};

std::vector<Expected> AllPictures() {
    std::vector<Expected> all;
    for (const char* name : {"start", "options", "custom", "quit", "controls", "difficulty",
                             "graphics", "easy", "medium", "hard", "resolution"}) {
        all.push_back({std::string("menu/menu_") + name + ".bmp", 224, 40, kPink});
        all.push_back({std::string("menu/menu_") + name + "2.bmp", 224, 40, kPink});
    }
    all.push_back({"menu/menu_ok.bmp", 64, 40, kPink});
    all.push_back({"menu/menu_ok2.bmp", 64, 40, kPink});
    all.push_back({"common/quibbo.bmp", 416, 416, kPink});
    all.push_back({"common/lives.bmp", 64, 64, kPink});
    all.push_back({"scenery/getrdy.bmp", 256, 128, kPink});
    all.push_back({"backdrops/complete.bmp", 640, 480, kPink});
    all.push_back({"backdrops/loser.bmp", 640, 480, kPink});
    all.push_back({"scenery/cloud1.bmp", 208, 90, kPink});
    all.push_back({"scenery/cloud2.bmp", 200, 80, kPink});
    all.push_back({"scenery/cloud3.bmp", 178, 84, kPink});
    for (const char* side : {"top", "right", "bottom", "left"}) {
        all.push_back({std::string("scenery/border_") + side + ".bmp", 16, 16, kBlack});
    }
    for (const std::string& name : Blocks()) {
        all.push_back({name, 32, 32, kPink});
    }
    return all;
}

Bitmap Load(const std::string& path) {
    std::string why;
    const auto bmp =
        contentfiles::ParseBmp(testfiles::ReadBytes(contentfiles::GameDir() + "/" + path), &why);
    if (!bmp) {
        ADD_FAILURE() << path << ": " << why;
        return Bitmap{};
    }
    return *bmp;
}

// Sizes of the 4-connected regions of pixels that are (or are not) the key, with whether each
// touches the picture's edge.
struct Region {
    size_t size;
    bool keyed;
    bool atEdge;
};

std::vector<Region> Regions(const Bitmap& bmp, const Pixel& key) {
    std::vector<Region> regions;
    std::vector<bool> seen(bmp.pixels.size());
    std::vector<size_t> stack;
    for (size_t start = 0; start < bmp.pixels.size(); ++start) {
        if (seen[start]) {
            continue;
        }
        const bool keyed = bmp.pixels[start] == key;
        Region r{0, keyed, false};
        seen[start] = true;
        stack.push_back(start);
        while (!stack.empty()) {
            const size_t i = stack.back();
            stack.pop_back();
            ++r.size;
            const int x = static_cast<int>(i % bmp.width);
            const int y = static_cast<int>(i / bmp.width);
            r.atEdge = r.atEdge || x == 0 || y == 0 || x == bmp.width - 1 || y == bmp.height - 1;
            const std::array<std::pair<int, int>, 4> next{
                {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}};
            for (const auto& [nx, ny] : next) {
                if (nx < 0 || ny < 0 || nx >= bmp.width || ny >= bmp.height) {
                    continue;
                }
                const size_t n = static_cast<size_t>(ny) * bmp.width + nx;
                if (!seen[n] && (bmp.pixels[n] == key) == keyed) {
                    seen[n] = true;
                    stack.push_back(n);
                }
            }
        }
        regions.push_back(r);
    }
    return regions;
}

raster::Colour Mean(const Bitmap& bmp, const Pixel& key) {
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (const Pixel& p : bmp.pixels) {
        if (p != key) {
            r += p.r;
            g += p.g;
            b += p.b;
            ++n;
        }
    }
    return raster::Rgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

TEST(ContentPicturesTest, EveryPictureIsAWellFormedBitmapOfItsSize) {
    for (const Expected& e : AllPictures()) {
        const Bitmap bmp = Load(e.path);
        EXPECT_EQ(bmp.width, e.width) << e.path;
        EXPECT_EQ(bmp.height, e.height) << e.path;
    }
}

TEST(ContentPicturesTest, TransparentColourOnlyWhereIntended) {
    for (const Expected& e : AllPictures()) {
        const Bitmap bmp = Load(e.path);
        int nearKey = 0;
        for (const Pixel& p : bmp.pixels) {
            nearKey += (p != e.key && ChannelDistance(p, e.key) < kMargin) ? 1 : 0;
        }
        EXPECT_EQ(nearKey, 0) << e.path << ": pixels that 16-bit rounding could make transparent";
        for (const Region& r : Regions(bmp, e.key)) {
            if (r.keyed) {
                // A hole in a shape is a designed window, never a stray pixel or two.
                EXPECT_TRUE(r.atEdge || r.size > 8) << e.path << ": key pinhole of " << r.size;
            } else {
                EXPECT_GT(r.size, 3u) << e.path << ": stray speck of " << r.size << " pixels";
            }
        }
    }
}

TEST(ContentPicturesTest, BlocksAreSolidInsideTheirRoundedCorners) {
    for (const std::string& name : Blocks()) {
        const Bitmap bmp = Load(name);
        ASSERT_EQ(bmp.pixels.size(), 32u * 32u) << name;
        for (const auto& [x, y] :
             std::array<std::pair<int, int>, 4>{{{0, 0}, {31, 0}, {0, 31}, {31, 31}}}) {
            EXPECT_EQ(bmp.At(x, y), kPink) << name << " corner " << x << "," << y;
        }
        // Transparent only in the corners: all of the straight edges and the inside are opaque.
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const bool corner = (x < 4 || x > 27) && (y < 4 || y > 27);
                if (!corner) {
                    EXPECT_NE(bmp.At(x, y), kPink) << name << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(ContentPicturesTest, BlockTypesStayApartForColourBlindPlayers) {
    const std::vector<std::string> names = Blocks();
    std::vector<Bitmap> blocks;
    for (const std::string& name : names) {
        blocks.push_back(Load(name));
    }
    for (size_t i = 0; i < blocks.size(); ++i) {
        for (size_t j = i + 1; j < blocks.size(); ++j) {
            // Their symbols (the near-white pixels) have different shapes...
            int differentSymbol = 0;
            for (size_t k = 0; k < blocks[i].pixels.size(); ++k) {
                const bool a = blocks[i].pixels[k].r > 200 && blocks[i].pixels[k].g > 200 &&
                               blocks[i].pixels[k].b > 200;
                const bool b = blocks[j].pixels[k].r > 200 && blocks[j].pixels[k].g > 200 &&
                               blocks[j].pixels[k].b > 200;
                differentSymbol += a != b ? 1 : 0;
            }
            EXPECT_GT(differentSymbol, 30) << names[i] << " and " << names[j];
            // ...and their colours differ, also as seen with red-green colour blindness.
            for (auto view : {0, 1, 2}) {
                auto seen = [view](const Bitmap& bmp) {
                    const Pixel p = raster::ToPixel(Mean(bmp, kPink));
                    return view == 0 ? p
                                     : raster::SeenWith(view == 1 ? raster::Deficiency::Deuteranopia
                                                                  : raster::Deficiency::Protanopia,
                                                        p);
                };
                EXPECT_GE(ChannelDistance(seen(blocks[i]), seen(blocks[j])), 16)
                    << names[i] << " and " << names[j] << " in view " << view;
            }
        }
    }
}

TEST(ContentPicturesTest, BorderTilesAreWholeSquaresWithoutHoles) {
    for (const char* side : {"top", "right", "bottom", "left"}) {
        const Bitmap bmp = Load(std::string("scenery/border_") + side + ".bmp");
        for (const Pixel& p : bmp.pixels) {
            EXPECT_GE(ChannelDistance(p, kBlack), kMargin) << side;
        }
        // Tiled along a strip, the two ends of a tile meet: they must match closely.
        int seam = 0;
        for (int i = 0; i < 16; ++i) {
            seam = std::max(seam, ChannelDistance(bmp.At(0, i), bmp.At(15, i)));
            seam = std::max(seam, ChannelDistance(bmp.At(i, 0), bmp.At(i, 15)));
        }
        EXPECT_LE(seam, 60) << side;
    }
    const std::vector<std::string> lines =
        testfiles::ReadLines(contentfiles::GameDir() + "/border.txt");
    EXPECT_EQ(lines,
              (std::vector<std::string>{"scenery/border_top.bmp", "scenery/border_right.bmp",
                                        "scenery/border_bottom.bmp", "scenery/border_left.bmp"}));
}

TEST(ContentPicturesTest, NextFrameStandsOnThePlayfieldBottomAroundTheBlock) {
    const Bitmap bmp = Load("scenery/next.bmp");
    EXPECT_LE(bmp.width, 96);
    EXPECT_GE(bmp.width, 33 + 32 + 1);
    // The game puts its top 48 pixels above the playfield's bottom.
    EXPECT_EQ(bmp.height, 48);
    // The block covers (33, 15)-(65, 47); the frame closes round it with no see-through gap.
    for (int x = 32; x <= 65; ++x) {
        EXPECT_NE(bmp.At(x, 14), kBlack) << x;
    }
    for (int y = 14; y < 48; ++y) {
        EXPECT_NE(bmp.At(32, y), kBlack) << y;
        EXPECT_NE(bmp.At(65, y), kBlack) << y;
    }
}

TEST(ContentPicturesTest, HighlightedButtonsStandOutFromTheirRestingState) {
    for (const char* name : {"start", "options", "custom", "quit", "controls", "difficulty",
                             "graphics", "easy", "medium", "hard", "resolution", "ok"}) {
        const std::string stem = std::string("menu/menu_") + name;
        const Pixel rest = raster::ToPixel(Mean(Load(stem + ".bmp"), kPink));
        const Pixel lit = raster::ToPixel(Mean(Load(stem + "2.bmp"), kPink));
        EXPECT_GE(ChannelDistance(rest, lit), 60) << name;
    }
}

TEST(ContentPicturesTest, MascotAndCloudsAreSoftShapesOnTransparentGround) {
    const Bitmap mascot = Load("common/quibbo.bmp");
    size_t keyed = 0;
    for (const Pixel& p : mascot.pixels) {
        keyed += p == kPink ? 1 : 0;
    }
    // The sky shows round Quibbo, and Quibbo itself is light, never a dark mass behind blocks.
    EXPECT_GT(keyed, mascot.pixels.size() / 5);
    EXPECT_LT(keyed, mascot.pixels.size() * 3 / 5);
    const raster::Colour body = Mean(mascot, kPink);
    EXPECT_GT(body.r + body.g + body.b, 3 * 0.75f);

    for (const char* cloud : {"scenery/cloud1.bmp", "scenery/cloud2.bmp", "scenery/cloud3.bmp"}) {
        const Bitmap bmp = Load(cloud);
        const raster::Colour c = Mean(bmp, kPink);
        EXPECT_GT(std::min({c.r, c.g, c.b}), 0.85f) << cloud;
        EXPECT_EQ(bmp.At(0, 0), kPink) << cloud;
    }
}

TEST(ContentPicturesTest, ProgramIconIsARoundedTileOfSkyWithQuibbo) {
    std::string why;
    const auto icon =
        contentfiles::ParseIco(testfiles::ReadBytes(contentfiles::GameDir() + "/quibbo.ico"), &why);
    ASSERT_TRUE(icon) << why;
    ASSERT_EQ(icon->width, 32);
    ASSERT_EQ(icon->height, 32);
    int sky = 0;
    int fur = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            // See-through only in the rounded corners, never inside the tile.
            const bool corner = (x < 6 || x > 25) && (y < 6 || y > 25);
            const bool tip = (x == 0 || x == 31) && (y == 0 || y == 31);
            if (tip || !corner) {
                EXPECT_EQ(icon->Clear(x, y), tip) << x << "," << y;
            }
            const Pixel p = icon->At(x, y);
            sky += p.b > 200 && p.b > p.r + 60 ? 1 : 0;
            fur += p.r > 200 && p.g > 150 && p.b < 190 ? 1 : 0;
        }
    }
    // Quibbo stands out from the sky, and both show.
    EXPECT_GT(sky, 32 * 32 / 5);
    EXPECT_GT(fur, 32 * 32 / 5);
}

} // namespace
