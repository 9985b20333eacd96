// The generator's file writers, read back with our own strict readers.
#include "audio/Wav.h"
#include "raster/Bmp.h"
#include "raster/Ico.h"

#include "ContentFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using raster::Image;
using raster::Pixel;

TEST(ContentBmpTest, EveryRowPaddingRoundTripsBottomUp) {
    // Widths 1 to 5 need 1, 2, 3, 0 and 1 bytes of padding a row.
    for (int width = 1; width <= 5; ++width) {
        Image image(width, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < width; ++x) {
                image.At(x, y) =
                    Pixel{static_cast<uint8_t>(10 * x + 1), static_cast<uint8_t>(100 + y),
                          static_cast<uint8_t>(200 + x + y)};
            }
        }
        const std::vector<uint8_t> bytes = raster::EncodeBmp(image);
        std::string why;
        const auto bmp = contentfiles::ParseBmp(bytes, &why);
        ASSERT_TRUE(bmp) << "width " << width << ": " << why;
        ASSERT_EQ(bmp->width, width);
        ASSERT_EQ(bmp->height, 3);
        EXPECT_EQ(bmp->pixels, image.Pixels()) << "width " << width;
        // The first stored row is the bottom one, blue first.
        EXPECT_EQ(bytes[54], image.At(0, 2).b);
        EXPECT_EQ(bytes[55], image.At(0, 2).g);
        EXPECT_EQ(bytes[56], image.At(0, 2).r);
    }
}

TEST(ContentWavTest, HeaderDescribesThe16BitMonoPcmSamples) {
    const std::vector<int16_t> samples{0, 1, -1, 32767, -32768, 0};
    const std::vector<uint8_t> bytes = audio::EncodeWav(samples, 22050);
    std::string why;
    const auto wav = contentfiles::ParseWav(bytes, &why);
    ASSERT_TRUE(wav) << why;
    // The game's loader reads 18 bytes of format: the chunk holds exactly that.
    EXPECT_EQ(wav->formatSize, 18u);
    EXPECT_EQ(wav->formatTag, 1);
    EXPECT_EQ(wav->channels, 1);
    EXPECT_EQ(wav->rate, 22050u);
    EXPECT_EQ(wav->byteRate, 44100u);
    EXPECT_EQ(wav->blockAlign, 2);
    EXPECT_EQ(wav->bits, 16);
    EXPECT_EQ(wav->samples, samples);
    EXPECT_EQ(bytes.size(), 12u + 8 + 18 + 8 + 2 * samples.size());

    const auto empty = contentfiles::ParseWav(audio::EncodeWav({}, 44100), &why);
    ASSERT_TRUE(empty) << why;
    EXPECT_TRUE(empty->samples.empty());
    EXPECT_EQ(empty->byteRate, 88200u);
}

TEST(ContentIcoTest, OneImageWithItsMaskRoundTripsBottomUp) {
    // Width 5: 1 byte of padding to each colour row, 3 to each mask row.
    Image image(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            image.At(x, y) = Pixel{static_cast<uint8_t>(10 * x + 1), static_cast<uint8_t>(100 + y),
                                   static_cast<uint8_t>(200 + x + y)};
        }
    }
    const Pixel clear{228, 103, 101};
    image.At(4, 0) = clear;
    image.At(0, 2) = clear;

    const std::vector<uint8_t> bytes = raster::EncodeIco(image, clear);
    std::string why;
    const auto icon = contentfiles::ParseIco(bytes, &why);
    ASSERT_TRUE(icon) << why;
    ASSERT_EQ(icon->width, 5);
    ASSERT_EQ(icon->height, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool see = image.At(x, y) == clear;
            EXPECT_EQ(icon->Clear(x, y), see) << x << "," << y;
            // See-through pixels are black, so that the mask alone decides what shows.
            EXPECT_EQ(icon->At(x, y), see ? Pixel{} : image.At(x, y)) << x << "," << y;
        }
    }
    // The bottom row comes first, and with it the first mask row: its left pixel is clear.
    EXPECT_EQ(bytes[22 + 40], 0);
    EXPECT_EQ(bytes[22 + 40 + 3], image.At(1, 2).b);
    EXPECT_EQ(bytes[22 + 40 + 16 * 3], 0x80);
}

TEST(ContentIcoTest, A32By32IconHasTheSizeTheResourceCompilerExpects) {
    // The parse holds the directory entry, the header's row count and the file's size to the
    // image it finds.
    std::string why;
    const auto icon = contentfiles::ParseIco(raster::EncodeIco(Image(32, 32), std::nullopt), &why);
    ASSERT_TRUE(icon) << why;
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    EXPECT_EQ(std::count(icon->clear.begin(), icon->clear.end(), true), 0);
}

} // namespace
