#include "LevelCheck.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Two block types whose pictures exist in `folder`, a few blocks away from the entry cell.
LevelFile GoodLevel() {
    LevelFile level;
    level.nameFields.resize(2);
    level.SetName(1, "blocks/red.bmp");
    level.SetName(2, "blocks/green.bmp");
    level.speed = 500;
    level.timer = 60000;
    level.SetCell(0, 12, 1);
    level.SetCell(1, 12, 2);
    level.SetCell(12, 0, -1);
    return level;
}

void WritePictures(const testfiles::ScratchDir& folder) {
    fs::create_directories(folder.Path() / "blocks");
    testfiles::WriteBytes(folder / "blocks/red.bmp", {'B', 'M', 0, 0});
    testfiles::WriteBytes(folder / "blocks/green.bmp", {'B', 'M', 1, 1});
}

LevelCheck Check(const LevelFile& level, const std::string& dataFolder) {
    return LevelCheck::Bytes(level.Bytes(), dataFolder);
}

TEST(LevelToolCheckTest, AGoodLevelHasNoFindings) {
    testfiles::ScratchDir folder;
    WritePictures(folder);
    const LevelCheck check = Check(GoodLevel(), folder.Path().string());
    EXPECT_EQ(check.errors, Strings{});
    EXPECT_EQ(check.warnings, Strings{});
}

TEST(LevelToolCheckTest, EachPlayWarningNamesItsField) {
    struct Case {
        const char* what;
        std::function<void(LevelFile&)> change;
        Strings warnings;
    };
    const std::vector<Case> cases = {
        {"entry cell occupied",
         [](LevelFile& l) { l.SetCell(6, 7, 1); },
         {"grid cell (6, 7): the entry cell is occupied: the first block to come to rest costs a "
          "life"}},
        {"hidden cell below the entry",
         [](LevelFile& l) { l.SetCell(6, 8, -3); },
         {"grid cell (6, 8): occupied below the entry cell: the first block comes to rest in the "
          "entry cell at once and costs a life"}},
        {"the cells around are fine",
         [](LevelFile& l) {
             l.SetCell(6, 6, 1);
             l.SetCell(5, 7, 1);
             l.SetCell(7, 8, 2);
             l.SetCell(6, 9, 2);
         },
         {}},
        {"empty grid",
         [](LevelFile& l) { l.grid.fill(0); },
         {"grid: no blocks at all: the level is won as soon as play starts"}},
        {"only hidden cells is not empty",
         [](LevelFile& l) {
             l.grid.fill(0);
             l.SetCell(3, 3, -1);
         },
         {}},
        {"speed zero",
         [](LevelFile& l) { l.speed = 0; },
         {"speed: 0 ms: the falling block drops a row on every frame"}},
        {"speed below zero",
         [](LevelFile& l) { l.speed = -20; },
         {"speed: -20 ms is below zero: the block falls only while it is hurried"}},
        {"timer zero",
         [](LevelFile& l) { l.timer = 0; },
         {"timer: 0 ms: the countdown runs out as soon as play starts"}},
        {"bytes after the grid",
         [](LevelFile& l) {
             l.trailer = {1, 2, 3};
         },
         {"after the grid: 3 bytes that the game does not read (is the block-type count right?)"}},
        {"several at once",
         [](LevelFile& l) {
             l.grid.fill(0);
             l.timer = -1;
         },
         {"timer: -1 ms: the countdown runs out as soon as play starts",
          "grid: no blocks at all: the level is won as soon as play starts"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LevelFile level = GoodLevel();
        c.change(level);
        // No data folder: the pictures are not looked for.
        const LevelCheck check = Check(level, "");
        EXPECT_EQ(check.errors, Strings{});
        EXPECT_EQ(check.warnings, c.warnings);
    }
}

TEST(LevelToolCheckTest, PicturesAreLookedForInTheDataFolder) {
    testfiles::ScratchDir folder;
    WritePictures(folder);
    fs::create_directories(folder.Path() / "blocks/folder.bmp");
    testfiles::WriteBytes(folder / "blocks/blue.png", {0x89, 'P', 'N', 'G'});
    testfiles::WriteBytes(folder / "blocks/short.bmp", {'B'});

    LevelFile level = GoodLevel();
    level.nameFields.resize(6);
    level.SetName(2, "blocks/missing.bmp");
    level.SetName(3, "");
    level.SetName(4, "blocks/folder.bmp");
    level.SetName(5, "blocks/blue.png");
    level.SetName(6, "blocks/short.bmp");
    const std::string at = (folder.Path() / "blocks").string();
    const LevelCheck check = Check(level, folder.Path().string());
    EXPECT_EQ(check.errors, Strings{});
    EXPECT_EQ(
        check.warnings,
        (Strings{
            "block 2 picture name: no file " + at + "/missing.bmp: the game cannot load this level",
            "block 3 picture name: empty: the game cannot load this level",
            "block 4 picture name: " + at +
                "/folder.bmp is not a file: the game cannot load this level",
            "block 5 picture name: " + at +
                "/blue.png is not a Windows bitmap: the game cannot load this level",
            "block 6 picture name: " + at +
                "/short.bmp is not a Windows bitmap: the game cannot load this level",
        }));

    // The same level checked against another folder finds block 1 missing too.
    testfiles::ScratchDir elsewhere;
    EXPECT_EQ(Check(level, elsewhere.Path().string()).warnings.at(0),
              "block 1 picture name: no file " + (elsewhere.Path() / "blocks").string() +
                  "/red.bmp: the game cannot load this level");
}

TEST(LevelToolCheckTest, AFileTheGameRefusesHasItsFaultsAsErrorsAndNothingElse) {
    LevelFile level = GoodLevel();
    level.grid.fill(0); // would be a warning, but the file is refused first
    level.SetCell(3, 4, 3);
    level.SetCell(6, 7, 9);
    const LevelCheck check = Check(level, "");
    EXPECT_EQ(check.errors, (Strings{"grid cell (3, 4): value 3 is above the block-type count 2",
                                     "grid cell (6, 7): value 9 is above the block-type count 2"}));
    EXPECT_EQ(check.warnings, Strings{});

    auto cut = level.Bytes();
    cut.resize(cut.size() - 170);
    EXPECT_EQ(LevelCheck::Bytes(cut, "").errors,
              Strings{"timer: the file ends inside this field (it is 521 bytes long; a level with "
                      "2 block types needs 691)"});
}

} // namespace
