// The desktop's icons: the PNG writer read back by a strict reader of our own, and the icon
// drawn at every size the icon theme gets.
#include "ContentFiles.h"
#include "art/Icon.h"
#include "raster/Png.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using raster::Image;
using raster::Pixel;

TEST(ContentPngTest, RoundTripsColoursAndAlphaAcrossStoredBlocks) {
    // 200 by 100: 80100 bytes of image data, more than one stored block holds.
    Image image(200, 100);
    std::vector<uint8_t> alpha;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            image.At(x, y) = Pixel{uint8_t(x), uint8_t(y * 2), uint8_t(x ^ y)};
            alpha.push_back(uint8_t(x + y));
        }
    }
    std::string why;
    const auto png = contentfiles::ParsePng(raster::EncodePng(image, alpha), &why);
    ASSERT_TRUE(png) << why;
    ASSERT_EQ(png->width, 200);
    ASSERT_EQ(png->height, 100);
    ASSERT_EQ(png->channels, 4);
    EXPECT_GT(png->storedBlocks, 1);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const uint8_t* p = &png->bytes[(y * 200 + x) * 4];
            const Pixel& want = image.At(x, y);
            ASSERT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}),
                      (std::vector<int>{want.r, want.g, want.b, alpha[y * 200 + x]}))
                << "at " << x << "," << y;
        }
    }
}

TEST(ContentDesktopIconTest, EverySizeIsARoundedTileWithSoftCorners) {
    for (int size : art::DesktopIconSizes()) {
        const art::SoftIcon icon = art::DesktopIcon(size);
        ASSERT_EQ(icon.colours.Width(), size);
        ASSERT_EQ(icon.colours.Height(), size);
        ASSERT_EQ(icon.alpha.size(), size_t(size) * size);
        auto alphaAt = [&](int x, int y) { return icon.alpha[size_t(y) * size + x]; };
        EXPECT_EQ(alphaAt(0, 0), 0) << size;
        EXPECT_EQ(alphaAt(size - 1, size - 1), 0) << size;
        EXPECT_EQ(alphaAt(size / 2, 0), 255) << size;
        EXPECT_EQ(alphaAt(size / 2, size / 2), 255) << size;
        // Some edge pixels are partly covered: soft corners, not a cut-out.
        const auto partial = std::count_if(icon.alpha.begin(), icon.alpha.end(),
                                           [](uint8_t a) { return a > 0 && a < 255; });
        EXPECT_GT(partial, 0) << size;
        std::string why;
        const auto png = contentfiles::ParsePng(raster::EncodePng(icon.colours, icon.alpha), &why);
        ASSERT_TRUE(png) << size << ": " << why;
        EXPECT_EQ(png->width, size);
    }
}

TEST(ContentDesktopIconTest, ThirtyTwoPixelsIsTheProgramIcon) {
    const Image program = art::Icon();
    const art::SoftIcon desktop = art::DesktopIcon(32);
    ASSERT_EQ(program.Width(), 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint8_t alpha = desktop.alpha[y * 32 + x];
            if (alpha >= 128)
                EXPECT_EQ(program.At(x, y), desktop.colours.At(x, y)) << x << "," << y;
            else
                EXPECT_EQ(program.At(x, y), art::kIconClear) << x << "," << y;
        }
    }
}

} // namespace
