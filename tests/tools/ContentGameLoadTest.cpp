// The generated content through the game's own loaders: every picture the game names loads
// into a sprite with its size, and every level of the list loads into the playfield with its
// block pictures.
#include "CGraphicsProbe.h"
#include "ContentFiles.h"

#include "gfx/CSprite.h"
#include "play/CLevel.h"

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A display in a scratch working folder that sees the game's data folders, as the game's own
// folder does, while the logs stay in the scratch folder.
class ContentGameLoadTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        for (const char* folder : {"common", "menu", "backdrops", "scenery", "sound", "levels"})
            fs::create_directory_symlink(fs::path(contentfiles::GameDir()) / folder, folder);
        for (const char* list : {"border.txt", "levels.txt"})
            fs::create_symlink(fs::path(contentfiles::GameDir()) / list, list);
        BringUp();
    }

    // Loads the picture into a sprite as the game does; its size, or (0, 0) when it failed.
    std::pair<int, int> Load(const std::string& path) {
        CSprite sprite;
        if (!sprite.Load(graphics, path.c_str()))
            return {0, 0};
        sprite.SetColorKey(graphics, 0x6567E4);
        EXPECT_TRUE(sprite.Draw(graphics)) << path;
        return {sprite.Width(), sprite.Height()};
    }
};

TEST_F(ContentGameLoadTest, EveryPictureTheGameNamesLoadsAtItsSize) {
    for (const char* item : {"start", "options", "custom", "quit", "controls", "difficulty",
                             "graphics", "easy", "medium", "hard", "resolution"}) {
        for (const char* suffix : {"", "2"}) {
            const std::string path = std::string("menu/menu_") + item + suffix + ".bmp";
            EXPECT_EQ(Load(path), std::make_pair(224, 40)) << path;
        }
    }
    EXPECT_EQ(Load("menu/menu_ok.bmp"), std::make_pair(64, 40));
    EXPECT_EQ(Load("menu/menu_ok2.bmp"), std::make_pair(64, 40));
    EXPECT_EQ(Load("common/quibbo.bmp"), std::make_pair(416, 416));
    EXPECT_NE(Load("common/lives.bmp").first, 0);
    EXPECT_EQ(Load("scenery/getrdy.bmp"), std::make_pair(256, 128));
    EXPECT_EQ(Load("backdrops/complete.bmp"), std::make_pair(640, 480));
    EXPECT_NE(Load("backdrops/loser.bmp").first, 0);
    EXPECT_EQ(Load("scenery/cloud1.bmp"), std::make_pair(208, 90));
    EXPECT_EQ(Load("scenery/cloud2.bmp"), std::make_pair(200, 80));
    EXPECT_EQ(Load("scenery/cloud3.bmp"), std::make_pair(178, 84));
    const auto next = Load("scenery/next.bmp");
    EXPECT_LE(next.first, 96);
    EXPECT_LE(next.second, 48);
    EXPECT_GE(next.first, 33 + 32);
    EXPECT_GE(next.second, 15 + 32);

    // The four border pieces named by the border list, top, right, bottom, left.
    std::ifstream borders("border.txt");
    int pieces = 0;
    for (std::string name; borders >> name && pieces < 4; ++pieces)
        EXPECT_NE(Load(name).first, 0) << name;
    EXPECT_EQ(pieces, 4);

    // Nothing failed on the way: the graphics log holds no error line.
    for (const std::string& line : Messages())
        EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
}

TEST_F(ContentGameLoadTest, EveryLevelOfTheListLoadsWithItsPictures) {
    std::ifstream list("levels.txt");
    int count = 0;
    ASSERT_TRUE(list >> count);
    ASSERT_GE(count, 12);
    CLevel level;
    ASSERT_TRUE(level.Init());
    for (int i = 0; i < count; ++i) {
        std::string name;
        ASSERT_TRUE(list >> name);
        EXPECT_TRUE(level.Load(name.c_str(), graphics)) << name;
        level.ScaleSpeed(100);
        graphics.Fill(0xEFBB3F);
        level.Draw(graphics, 112, 32, 480);
        // The first falling block stands at the entry, drawn with its picture.
        EXPECT_NE(BackPixel(112 + 6 * 32 + 16, 32 + 7 * 32 + 16), BackPixel(1, 1)) << name;
    }
    for (const std::string& line : testfiles::LogMessages("logs/LevelLog.txt"))
        EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
    for (const std::string& line : Messages())
        EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
}

} // namespace
