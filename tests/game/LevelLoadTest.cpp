#include "BmpFiles.h"
#include "CGraphicsProbe.h"
#include "CLevelProbe.h"

#include "play/LevelFile.h"

#include <cstdlib>
#include <filesystem>

namespace {

constexpr COLORREF kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;
constexpr uint32_t kRed565 = 0xF800, kGreen565 = 0x07E0, kBlue565 = 0x001F;
constexpr COLORREF kKey = 0x6567E4;

// A display, three block pictures (red, green, blue, each with a keyed top-left pixel), the
// next-block frame and a playfield with its level log, in a scratch game folder.
class LevelLoadTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        BringUp();
        std::filesystem::create_directories("blocks");
        std::filesystem::create_directories("scenery");
        const COLORREF colours[] = {kRed, kGreen, kBlue};
        const char* names[] = {"blocks/red.bmp", "blocks/green.bmp", "blocks/blue.bmp"};
        for (int i = 0; i < 3; ++i) {
            const COLORREF colour = colours[i];
            bmpfiles::WritePicture(names[i], 32, 32, [colour](int x, int y) {
                return x == 0 && y == 0 ? kKey : colour;
            });
        }
        // A white frame 64x48 with a black (see-through) window.
        bmpfiles::WritePicture("scenery/next.bmp", 64, 48, [](int x, int y) -> COLORREF {
            return x >= 33 && x < 65 && y >= 15 && y < 47 ? 0 : kWhite;
        });
        ASSERT_TRUE(level.Init());
    }

    // A level file with the given pictures, speed 500, timer 60000 and an empty grid.
    static LevelFile Level(std::initializer_list<const char*> pictures) {
        LevelFile file;
        file.nameFields.resize(pictures.size());
        int32_t type = 1;
        for (const char* name : pictures)
            EXPECT_TRUE(file.SetName(type++, name));
        file.speed = 500;
        file.timer = 60000;
        return file;
    }
    static std::string Save(const std::string& name, const LevelFile& file) {
        testfiles::WriteBytes(name, file.Bytes());
        return name;
    }
    static std::vector<std::string> LevelLog() {
        return testfiles::LogMessages("logs/LevelLog.txt");
    }

    CLevel level;
    CLevelProbe levelProbe{level};
};

TEST_F(LevelLoadTest, TheSmallestLevelLoadsWithItsBlockAtTheEntry) {
    const std::string path = Save("one.lev", Level({"blocks/red.bmp"}));
    ASSERT_EQ(std::filesystem::file_size(path), 436u);
    compat::seams::SetTicks(777);
    ASSERT_TRUE(level.Load(path.c_str(), graphics));
    EXPECT_EQ(levelProbe.Type(), 1);
    EXPECT_EQ(levelProbe.Next(), 1);
    EXPECT_EQ(levelProbe.Column(), 6);
    EXPECT_EQ(levelProbe.Row(), 7);
    EXPECT_EQ(levelProbe.Interval(), 500u);
    EXPECT_EQ(level.GetTimer(), 60000);
    // The countdown starts from the load: a second later a second is gone.
    compat::seams::SetTicks(1777);
    level.UpdateTimer();
    EXPECT_EQ(level.GetTimer(), 59000);
    ExpectLogAfterHeader("logs/LevelLog.txt", {"NOTICE --- Loaded block: blocks/red.bmp",
                                               "Level speed: 500", "Timer: 60000"});
    for (int i = 0; i < CLevel::kCells; ++i)
        EXPECT_EQ(level.Cell(i / 13, i % 13), 0);
}

TEST_F(LevelLoadTest, TheFileRowByRowBecomesTheGridColumnByColumn) {
    LevelFile file = Level({"blocks/red.bmp", "blocks/green.bmp", "blocks/blue.bmp"});
    std::vector<uint8_t> bytes = file.Bytes();
    bytes[12 + 255 * 3 + 13] = 3;   // second row, first column
    bytes[12 + 255 * 3 + 168] = 2;  // last row, last column
    bytes[12 + 255 * 3 + 5] = 0xFF; // a hidden cell in the top row
    testfiles::WriteBytes("three.lev", bytes);
    ASSERT_TRUE(level.Load("three.lev", graphics));
    EXPECT_EQ(level.Cell(0, 1), 3);
    EXPECT_EQ(level.Cell(1, 0), 0);
    EXPECT_EQ(level.Cell(12, 12), 2);
    EXPECT_EQ(level.Cell(5, 0), -1);
}

TEST_F(LevelLoadTest, LoadingAgainGivesTheSameGridWithNewRandomBlocks) {
    LevelFile file = Level({"blocks/red.bmp", "blocks/green.bmp", "blocks/blue.bmp"});
    file.SetCell(2, 11, 1);
    file.SetCell(3, 11, 2);
    Save("again.lev", file);
    bool seenType[4] = {}, seenNext[4] = {};
    for (int seed = 1; seed <= 20; ++seed) {
        std::srand(static_cast<unsigned>(seed));
        ASSERT_TRUE(level.Load("again.lev", graphics));
        EXPECT_EQ(level.Cell(2, 11), 1);
        EXPECT_EQ(level.Cell(3, 11), 2);
        ASSERT_GE(levelProbe.Type(), 1);
        ASSERT_LE(levelProbe.Type(), 3);
        seenType[levelProbe.Type()] = true;
        seenNext[levelProbe.Next()] = true;
    }
    EXPECT_TRUE(seenType[1] && seenType[2] && seenType[3]);
    EXPECT_TRUE(seenNext[1] && seenNext[2] && seenNext[3]);
}

TEST_F(LevelLoadTest, AFileThatCannotBePlayedIsRefusedAndTheLevelBeforeItStays) {
    LevelFile good = Level({"blocks/red.bmp", "blocks/green.bmp"});
    good.SetCell(4, 12, 2);
    ASSERT_TRUE(level.Load(Save("good.lev", good).c_str(), graphics));
    const int type = levelProbe.Type(), next = levelProbe.Next();

    const std::vector<uint8_t> bytes = good.Bytes(); // N = 2: 691 bytes
    auto withCount = [&](int32_t count) {
        std::vector<uint8_t> b = bytes;
        for (int i = 0; i < 4; ++i)
            b[i] = static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
        return b;
    };
    auto cut = [&](size_t size) {
        return std::vector<uint8_t>(bytes.begin(), bytes.begin() + size);
    };
    std::vector<uint8_t> unterminated = bytes;
    std::fill(unterminated.begin() + 4 + 255, unterminated.begin() + 4 + 510, 'x');
    std::vector<uint8_t> aboveCount = bytes;
    aboveCount[12 + 510 + 13 * 7 + 4] = 3;
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } rows[] = {
        {"empty", {}},
        {"cut in the count", cut(2)},
        {"cut in a name", cut(300)},
        {"cut in the speed", cut(4 + 510 + 2)},
        {"cut in the timer", cut(8 + 510 + 1)},
        {"cut in the grid", cut(12 + 510 + 100)},
        {"one byte short", cut(bytes.size() - 1)},
        {"no block types", withCount(0)},
        {"negative count", withCount(-1)},
        {"128 block types", withCount(128)},
        {"a million block types", withCount(1000000)},
        {"unterminated name", unterminated},
        {"grid value above the count", aboveCount},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        testfiles::WriteBytes("bad.lev", row.bytes);
        const size_t lines = LevelLog().size();
        EXPECT_FALSE(level.Load("bad.lev", graphics));
        const auto log = LevelLog();
        ASSERT_EQ(log.size(), lines + 1);
        EXPECT_EQ(log.back().rfind("ERROR --- bad.lev: ", 0), 0u) << log.back();
        EXPECT_EQ(level.Cell(4, 12), 2);
        EXPECT_EQ(levelProbe.BlockTypes(), 2);
        EXPECT_EQ(levelProbe.Type(), type);
        EXPECT_EQ(levelProbe.Next(), next);
    }
    // Still playable and drawn with its own pictures.
    graphics.Fill(0);
    level.Draw(graphics, 112, 32, 480);
    EXPECT_EQ(BackPixel(112 + 4 * 32 + 5, 32 + 12 * 32 + 5), kGreen565);
    compat::seams::AdvanceTicks(100000);
    EXPECT_EQ(level.Step(), LevelResult::Nothing);
    EXPECT_EQ(levelProbe.Row(), 8);

    EXPECT_FALSE(level.Load("missing.lev", graphics));
    EXPECT_EQ(LevelLog().back(), "ERROR --- Could not open level file: missing.lev");
    EXPECT_EQ(level.Cell(4, 12), 2);
}

TEST_F(LevelLoadTest, AMissingBlockPictureStopsTheLoadButNothingIsDrawnOutsideThePictures) {
    LevelFile three = Level({"blocks/red.bmp", "blocks/green.bmp", "blocks/blue.bmp"});
    three.SetCell(0, 12, 3);
    ASSERT_TRUE(level.Load(Save("three.lev", three).c_str(), graphics));
    CLevelProbe{level}.Place(5, 5, 3);

    // One type, whose picture is missing: the old grid (holding a 3) and falling block stay.
    ASSERT_FALSE(level.Load(Save("broken.lev", Level({"blocks/gone.bmp"})).c_str(), graphics));
    EXPECT_EQ(LevelLog().back(), "ERROR --- Failed to load block: blocks/gone.bmp");
    EXPECT_EQ(level.Cell(0, 12), 3);
    graphics.Fill(0);
    level.Draw(graphics, 112, 32, 480); // no picture for type 3 now: skipped, not looked up
    EXPECT_EQ(BackPixel(112 + 5, 32 + 12 * 32 + 5), 0u);
    EXPECT_EQ(BackPixel(112 + 5 * 32 + 5, 32 + 5 * 32 + 5), 0u);

    // The pictures before the missing one were loaded.
    ASSERT_FALSE(level.Load(Save("half.lev", Level({"blocks/blue.bmp", "blocks/gone.bmp"})).c_str(),
                            graphics));
    const auto log = LevelLog();
    EXPECT_EQ(log[log.size() - 2], "NOTICE --- Loaded block: blocks/blue.bmp");
    compat::seams::AdvanceTicks(100000);
    level.Step(); // spawning draws from the new count, never from 0
}

TEST_F(LevelLoadTest, ThePlayfieldIsDrawnAtItsOrigin) {
    LevelFile file = Level({"blocks/red.bmp", "blocks/green.bmp", "blocks/blue.bmp"});
    file.SetCell(12, 12, 1);
    file.SetCell(3, 4, -2); // hidden
    file.SetCell(5, 9, 2);
    Save("draw.lev", file);
    ASSERT_TRUE(level.Load("draw.lev", graphics));
    CLevelProbe probeNow{level};
    probeNow.Place(5, 9, 3); // falling over a resting block of another type

    graphics.Fill(0);
    level.Draw(graphics, 112, 32, 480);
    EXPECT_EQ(BackPixel(496 + 1, 416 + 1), kRed565); // cell (12, 12)
    EXPECT_EQ(BackPixel(496, 416), 0u);              // its keyed corner
    EXPECT_EQ(BackPixel(496 + 31, 416 + 31), kRed565);
    EXPECT_EQ(BackPixel(112 + 3 * 32 + 10, 32 + 4 * 32 + 10), 0u);       // hidden cell
    EXPECT_EQ(BackPixel(112 + 5 * 32 + 10, 32 + 9 * 32 + 10), kBlue565); // the falling one
    // The next frame at (544, 400), keyed black, and the next block at (577, 415) inside it.
    EXPECT_EQ(BackPixel(544, 400), 0xFFFFu);
    EXPECT_EQ(BackPixel(544 + 10, 400 + 30), 0xFFFFu);
    const uint32_t nextColour[] = {0, kRed565, kGreen565, kBlue565};
    EXPECT_EQ(BackPixel(577 + 5, 415 + 5), nextColour[probeNow.Next()]);
    EXPECT_EQ(BackPixel(576, 414), 0xFFFFu);

    // At 800x600 the playfield is at (192, 92) and the frame at (624, 460).
    graphics.Fill(0);
    level.Draw(graphics, 192, 92, 600);
    EXPECT_EQ(BackPixel(624, 460), 0xFFFFu);
    EXPECT_EQ(BackPixel(623, 460), 0u);
}

TEST_F(LevelLoadTest, ReleaseClosesTheLevelLogWithoutALine) {
    ASSERT_TRUE(level.Load(Save("one.lev", Level({"blocks/red.bmp"})).c_str(), graphics));
    const size_t lines = LevelLog().size();
    level.Release();
    level.Release();
    EXPECT_EQ(LevelLog().size(), lines);
}

TEST_F(LevelLoadTest, ASpeedTooLargeForTheDifficultySaturates) {
    LevelFile file = Level({"blocks/red.bmp"});
    file.speed = 2000000000;
    ASSERT_TRUE(level.Load(Save("slow.lev", file).c_str(), graphics));
    level.ScaleSpeed(125);
    EXPECT_EQ(levelProbe.Speed(), INT32_MAX);
}

} // namespace
