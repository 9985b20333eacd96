// The generated pictures through the platform's own bitmap loading and colour conversion, as
// the game will use them.
#include "compat/GdiSeams.h"

#include "ContentFiles.h"
#include "TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;

COLORREF ColourOf(const raster::Pixel& p) {
    return static_cast<COLORREF>(p.r) | (static_cast<COLORREF>(p.g) << 8) |
           (static_cast<COLORREF>(p.b) << 16);
}

// Every picture file below the game's folder, relative to it.
std::vector<std::string> PictureFiles() {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(contentfiles::GameDir())) {
        if (entry.is_regular_file() && entry.path().extension() == ".bmp") {
            files.push_back(fs::relative(entry.path(), contentfiles::GameDir()).string());
        }
    }
    return files;
}

TEST(ContentPlatformTest, EveryPictureLoadsWithTheSamePixels) {
    const std::vector<std::string> files = PictureFiles();
    EXPECT_EQ(files.size(), 24u + 5 + 3 + 1 + 4 + 8);
    for (const std::string& file : files) {
        const std::string path = contentfiles::GameDir() + "/" + file;
        std::string why;
        const auto ours = contentfiles::ParseBmp(testfiles::ReadBytes(path), &why);
        ASSERT_TRUE(ours) << file << ": " << why;
        HANDLE loaded = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
        ASSERT_NE(loaded, nullptr) << file;
        compat::seams::BitmapPixels pixels;
        ASSERT_TRUE(compat::seams::ReadBitmapPixels(static_cast<HBITMAP>(loaded), &pixels));
        EXPECT_EQ(pixels.width, ours->width) << file;
        ASSERT_EQ(pixels.height, ours->height) << file;
        size_t different = 0;
        for (size_t i = 0; i < ours->pixels.size(); ++i) {
            different += pixels.colors[i] != ColourOf(ours->pixels[i]) ? 1 : 0;
        }
        EXPECT_EQ(different, 0u) << file;
        DeleteObject(loaded);
    }
}

TEST(ContentPlatformTest, NoPixelTurnsIntoTheKeyOnA16BitScreen) {
    // The game runs at 16 bits a pixel by default: a colour key matches every colour the
    // platform turns into the same raw value, so each picture's colours must all stay apart
    // from its key after that conversion.
    HDC dc = compat::seams::CreatePixelContext(1, 1, 16);
    ASSERT_NE(dc, nullptr);
    std::map<COLORREF, uint32_t> raws;
    auto raw = [&](COLORREF colour) {
        auto it = raws.find(colour);
        if (it == raws.end()) {
            SetPixel(dc, 0, 0, colour);
            uint32_t value = 0;
            compat::seams::ReadRawPixel(dc, 0, 0, &value);
            it = raws.emplace(colour, value).first;
        }
        return it->second;
    };
    for (const std::string& file : PictureFiles()) {
        std::string why;
        const auto bmp = contentfiles::ParseBmp(
            testfiles::ReadBytes(contentfiles::GameDir() + "/" + file), &why);
        ASSERT_TRUE(bmp) << file << ": " << why;
        // The border tiles and the next-block frame are drawn with black as their key.
        const bool blackKey =
            file.find("border_") != std::string::npos || file.find("next.bmp") != std::string::npos;
        const COLORREF key = blackKey ? 0 : 0x6567E4;
        const uint32_t keyRaw = raw(key);
        size_t turned = 0;
        for (const raster::Pixel& p : bmp->pixels) {
            const COLORREF c = ColourOf(p);
            turned += (c != key && raw(c) == keyRaw) ? 1 : 0;
        }
        EXPECT_EQ(turned, 0u) << file;
    }
    compat::seams::DeletePixelContext(dc);
}

} // namespace
