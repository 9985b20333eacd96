// Picture files: LoadImageA as the platform reads a bitmap file, then CSprite::Load as the game
// loads every picture it draws, and a draw of what was loaded.
#include "FuzzSupport.h"

#include "gfx/CGraphics.h"
#include "gfx/CSprite.h"

#include <windows.h>

namespace {

constexpr char kInput[] = "input.bmp";
// The largest picture the platform takes, in pixels across and in all.
constexpr LONG kLargestSide = 16384;
constexpr int64_t kMostPixels = 16LL * 1024 * 1024;

CGraphics* graphics = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzsupport::StartHarness(argc, argv, false);
    graphics = fuzzsupport::StartDisplay();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::InScratchFolder inside;
    fuzzsupport::WriteInput(kInput, data, size);

    LONG width = 0, height = 0;
    HANDLE bitmap =
        LoadImageA(nullptr, kInput, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (bitmap) {
        BITMAP info{};
        FUZZ_CHECK(GetObjectA(bitmap, sizeof info, &info) == sizeof info);
        width = info.bmWidth;
        height = info.bmHeight;
        FUZZ_CHECK(width >= 1 && width <= kLargestSide && height >= 1 && height <= kLargestSide);
        FUZZ_CHECK(int64_t{width} * height <= kMostPixels);
        FUZZ_CHECK(DeleteObject(bitmap));
    }

    CSprite sprite;
    if (sprite.Load(*graphics, kInput)) {
        // The game's loader reads the file as the platform does, and keeps its size.
        FUZZ_CHECK(bitmap != nullptr);
        FUZZ_CHECK(sprite.Width() == width && sprite.Height() == height);
        sprite.SetPosition(0, 0);
        FUZZ_CHECK(sprite.Draw(*graphics));
    }
    return 0;
}
