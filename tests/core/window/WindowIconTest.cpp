// The program's icon file, the system's icons and cursor, and the entry into WinMain.
#include "BmpFiles.h"
#include "DirectDrawFixture.h"
#include "ProgramWindow.h"
#include "TestFiles.h"

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using bmpfiles::Put16;
using bmpfiles::Put32;

// An ICO file of one square picture of `bits` (24 or 32) bits per pixel with its mask, as an
// icon editor writes it; the fields after it let tests make it lie.
struct IcoFile {
    int side = 32;
    int bits = 24;
    int headerHeight = 64; // twice the side: colour rows and mask rows
    uint16_t type = 1;
    uint16_t count = 1;
    uint32_t compression = 0;

    // Rows padded to 32 bits.
    size_t ColorRow() const { return (static_cast<size_t>(side) * bits + 31) / 32 * 4; }
    size_t MaskRow() const { return (static_cast<size_t>(side) + 31) / 32 * 4; }
    size_t ImageBytes() const { return 40 + (ColorRow() + MaskRow()) * side; }

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> bytes;
        Put16(bytes, 0);
        Put16(bytes, type);
        Put16(bytes, count);
        bytes.push_back(static_cast<uint8_t>(side));
        bytes.push_back(static_cast<uint8_t>(side));
        bytes.push_back(0);
        bytes.push_back(0);
        Put16(bytes, 1);
        Put16(bytes, static_cast<uint32_t>(bits));
        Put32(bytes, static_cast<uint32_t>(ImageBytes()));
        Put32(bytes, 22);
        Put32(bytes, 40);
        Put32(bytes, static_cast<uint32_t>(side));
        Put32(bytes, static_cast<uint32_t>(headerHeight));
        Put16(bytes, 1);
        Put16(bytes, static_cast<uint32_t>(bits));
        Put32(bytes, compression);
        for (int i = 0; i < 5; ++i)
            Put32(bytes, 0);
        // A blue picture with a red diagonal; the mask leaves the top row's first pixel out.
        bytes.resize(22 + ImageBytes(), 0);
        const size_t colorRow = ColorRow();
        for (int row = 0; row < side; ++row)
            for (int x = 0; x < side; ++x) {
                uint8_t* p = bytes.data() + 22 + 40 + colorRow * row + x * (bits / 8);
                p[0] = x == row ? 0 : 255;
                p[2] = x == row ? 255 : 0;
            }
        const size_t maskAt = 22 + 40 + colorRow * side;
        bytes[maskAt + MaskRow() * (side - 1)] = 0x80;
        return bytes;
    }
};

class WindowIcon : public DirectDrawTest {
protected:
    // The icon of a program at dir/quibbo whose icon file holds `bytes` (none when empty).
    HICON LoadFrom(const std::vector<uint8_t>& bytes) {
        const std::string program = dir / ("quibbo" + std::to_string(++programs));
        if (!bytes.empty())
            testfiles::WriteBytes(program + ".ico", bytes);
        return LoadIconA(compat::seams::MakeTestModule(program.c_str()), MAKEINTRESOURCEA(102));
    }

    testfiles::ScratchDir dir;
    int programs = 0;
    HWND gameWindow = nullptr;
};

TEST_F(WindowIcon, TheProgramsIconFileIsItsIconResource) {
    const std::string program = dir / "quibbo";
    testfiles::WriteBytes(program + ".ico", IcoFile{}.Bytes());
    HINSTANCE module = compat::seams::MakeTestModule(program.c_str());
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(102));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(icon, LoadIconA(module, MAKEINTRESOURCEA(102)));
    EXPECT_EQ(nullptr, LoadIconA(module, "named"));
    // Rows bottom-up in the file; the masked pixel is see-through.
    const auto pixelsOf = [](HICON loaded) {
        using compat::seams::IconPixel;
        return std::vector<uint32_t>{IconPixel(loaded, 0, 0), IconPixel(loaded, 1, 0),
                                     IconPixel(loaded, 31, 0), IconPixel(loaded, 0, 31),
                                     IconPixel(loaded, 32, 0)};
    };
    const std::vector<uint32_t> expected{0x000000FF, 0xFF0000FF, 0xFFFF0000, 0xFFFF0000, 0};
    EXPECT_EQ(expected, pixelsOf(icon));
    IcoFile withAlpha; // 32 bits, but an empty alpha channel: the mask decides
    withAlpha.bits = 32;
    EXPECT_EQ(expected, pixelsOf(LoadFrom(withAlpha.Bytes())));
    IcoFile large;
    large.side = 48;
    large.headerHeight = 96;
    EXPECT_NE(nullptr, LoadFrom(large.Bytes()));

    // The window made with it gets it when it reaches the display.
    gameWindow = programwindow::Make(icon);
    ASSERT_EQ(DD_OK, dd->SetCooperativeLevel(gameWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE));
    BringUp();
    EXPECT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
}

TEST_F(WindowIcon, MissingOrMalformedIconFilesGiveNoIcon) {
    EXPECT_EQ(nullptr, LoadFrom({}));
    EXPECT_EQ(nullptr, LoadFrom({0, 0, 1, 0}));

    std::vector<uint8_t> farOffset = IcoFile{}.Bytes();
    farOffset[18] = 0xFF; // the picture's offset, far beyond the file
    farOffset[21] = 0x7F;
    EXPECT_EQ(nullptr, LoadFrom(farOffset));
    std::vector<uint8_t> hugeSize = IcoFile{}.Bytes();
    hugeSize[14] = hugeSize[15] = hugeSize[16] = hugeSize[17] = 0xFF;
    EXPECT_EQ(nullptr, LoadFrom(hugeSize));
    std::vector<uint8_t> png = IcoFile{}.Bytes();
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::copy(std::begin(signature), std::end(signature), png.begin() + 22);
    EXPECT_EQ(nullptr, LoadFrom(png));
    std::vector<uint8_t> wideHeader = IcoFile{}.Bytes();
    wideHeader[22 + 4] = 0x00; // 65536 pixels wide
    wideHeader[22 + 6] = 0x01;
    EXPECT_EQ(nullptr, LoadFrom(wideHeader));

    IcoFile cursor;
    cursor.type = 2;
    EXPECT_EQ(nullptr, LoadFrom(cursor.Bytes()));
    IcoFile empty;
    empty.count = 0;
    EXPECT_EQ(nullptr, LoadFrom(empty.Bytes()));
    IcoFile manyEntries; // more directory entries than the file holds
    manyEntries.count = 5000;
    EXPECT_EQ(nullptr, LoadFrom(manyEntries.Bytes()));
    IcoFile palette;
    palette.bits = 8;
    EXPECT_EQ(nullptr, LoadFrom(palette.Bytes()));
    IcoFile compressed;
    compressed.compression = BI_RLE8;
    EXPECT_EQ(nullptr, LoadFrom(compressed.Bytes()));
    IcoFile oddHeight;
    oddHeight.headerHeight = 63;
    EXPECT_EQ(nullptr, LoadFrom(oddHeight.Bytes()));
    IcoFile negativeHeight;
    negativeHeight.headerHeight = -64;
    EXPECT_EQ(nullptr, LoadFrom(negativeHeight.Bytes()));
}

TEST_F(WindowIcon, TheSystemHasItsIconsAndTheArrow) {
    EXPECT_NE(nullptr, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(nullptr, LoadIconA(nullptr, MAKEINTRESOURCEA(102)));
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(nullptr, arrow);
    EXPECT_EQ(nullptr, LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_EQ(arrow, SetCursor(nullptr));
    EXPECT_EQ(nullptr, SetCursor(arrow));
}

// The program's own main, in a program built on it: runs it from a folder of its own.
TEST(WinMainEntry, MainHandsTheGameItsModuleCommandLineAndShowCommand) {
    testfiles::ScratchDir dir{/*enter=*/true};
    const std::string program = dir / "probe";
    fs::copy_file(QUIBBO_ENTRY_PROBE, program);
    fs::create_directory(dir / "menu"); // the game's content, as main looks for it
    testfiles::WriteBytes(dir / "menu/menu_start.bmp", {});
    const auto run = [&](const std::string& arguments) {
        const std::string command = "'" + program + "' " + arguments + " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(7, run("7 two  words"));
    EXPECT_EQ("instance 1 previous 0 show 1 icon 0 line [7 two words]\n",
              testfiles::ReadText("out.txt"));
    testfiles::WriteBytes(program + ".ico", IcoFile{}.Bytes());
    EXPECT_EQ(0, run(""));
    EXPECT_EQ("instance 1 previous 0 show 1 icon 1 line []\n", testfiles::ReadText("out.txt"));
}

} // namespace
