// Our level set as the build made it: levels.txt lists every level text in playing order,
// each level file is the build of its text, the level tool finds nothing to say about any of
// them, they name only our block pictures, every level starts fair, and the chains and gaps
// the levels' comments promise really work under the rules of the playfield.
#include "content/ContentSet.h"
#include "play/CLevel.h"

#include "CLevelProbe.h"
#include "ContentLevels.h"
#include "LevelPlayer.h"
#include "LevelText.h"
#include "LevelTool.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

constexpr int kLast = CLevel::kSize - 1;

LevelFile Built(const std::string& name) {
    LevelFile level;
    Strings faults;
    EXPECT_TRUE(contentlevels::Load(name, level, faults))
        << name << ": " << ::testing::PrintToString(faults);
    return level;
}

TEST(ContentLevelsTest, TheListNamesEveryLevelTextInPlayingOrder) {
    const std::vector<fs::path> texts = contentlevels::Texts();
    ASSERT_GE(texts.size(), 12u);
    const Strings words = contentlevels::ListWords();
    ASSERT_FALSE(words.empty());
    // The count, then exactly that many names and nothing after them.
    EXPECT_EQ(words[0], std::to_string(texts.size()));
    Strings expected;
    for (const fs::path& text : texts)
        expected.push_back("levels/" + text.stem().string() + ".lev");
    EXPECT_EQ(Strings(words.begin() + 1, words.end()), expected);
    EXPECT_EQ(contentlevels::ListedLevels(), expected);
}

TEST(ContentLevelsTest, EveryLevelFileIsTheBuildOfItsText) {
    // A text edited after the last build, or a level file changed by hand, shows up here.
    for (const fs::path& text : contentlevels::Texts()) {
        SCOPED_TRACE(text.string());
        LevelFile level;
        Strings errors;
        ASSERT_TRUE(
            LevelText::Parse(testfiles::ReadText(text.string()), text.string(), level, errors))
            << ::testing::PrintToString(errors);
        const std::string built =
            contentfiles::GameDir() + "/levels/" + text.stem().string() + ".lev";
        EXPECT_TRUE(testfiles::ReadBytes(built) == level.Bytes()) << built << " is stale";
    }
}

TEST(ContentLevelsTest, TheLevelToolFindsNothingInAnyLevel) {
    Strings args = {"check", "--data", contentfiles::GameDir()};
    Strings expected;
    for (const std::string& name : contentlevels::ListedLevels()) {
        args.push_back(contentfiles::GameDir() + "/" + name);
        expected.push_back(args.back() + ": ok");
    }
    std::ostringstream out, err;
    EXPECT_EQ(LevelTool::Run(args, out, err), LevelTool::kClean) << out.str() << err.str();
    std::istringstream lines(out.str());
    Strings reported;
    for (std::string line; std::getline(lines, line);)
        reported.push_back(line);
    EXPECT_EQ(reported, expected);
    EXPECT_EQ(err.str(), "");
}

TEST(ContentLevelsTest, LevelsShowOnlyOurBlockPictures) {
    const Strings ours = content::BlockPictures();
    for (const std::string& name : contentlevels::ListedLevels()) {
        SCOPED_TRACE(name);
        const LevelFile level = Built(name);
        std::set<std::string> pictures;
        for (int32_t type = 1; type <= level.BlockTypeCount(); ++type) {
            const std::string picture = level.Name(type);
            EXPECT_NE(std::find(ours.begin(), ours.end(), picture), ours.end()) << picture;
            // Two types with one picture could never be told apart.
            EXPECT_TRUE(pictures.insert(picture).second) << picture << " twice";
            std::string why;
            const auto bmp = contentfiles::ParseBmp(
                testfiles::ReadBytes(contentfiles::GameDir() + "/" + picture), &why);
            ASSERT_TRUE(bmp) << picture << ": " << why;
            EXPECT_EQ(bmp->width, 32) << picture;
            EXPECT_EQ(bmp->height, 32) << picture;
        }
    }
}

TEST(ContentLevelsTest, EveryLevelStartsFair) {
    // The entry cell and the cell below it, and the cells a quarter or half turn brings there.
    const std::vector<std::pair<int, int>> middle = {{6, 7}, {6, 8}, {7, 6}, {8, 6},
                                                     {5, 6}, {4, 6}, {6, 5}, {6, 4}};
    for (const std::string& name : contentlevels::ListedLevels()) {
        SCOPED_TRACE(name);
        const LevelFile level = Built(name);
        for (const auto& [x, y] : middle)
            EXPECT_EQ(level.Cell(x, y), 0) << "(" << x << ", " << y << ")";
        // A first block left to fall comes to rest low enough for the next to come in and be
        // steered away: at row 10 or below.
        for (int y = 9; y <= 10; ++y)
            EXPECT_EQ(level.Cell(6, y), 0) << "(6, " << y << ")";
        // Only blocks that falling blocks can match: no hidden cells, no type without picture.
        for (int y = 0; y <= kLast; ++y)
            for (int x = 0; x <= kLast; ++x) {
                EXPECT_GE(level.Cell(x, y), 0) << "(" << x << ", " << y << ")";
                EXPECT_LE(level.Cell(x, y), level.BlockTypeCount()) << "(" << x << ", " << y << ")";
            }
        // Nothing vanishes before the first block comes to rest.
        CLevel field;
        levelplay::LayOut(level, field, 1);
        EXPECT_EQ(field.RemoveRun(), LevelResult::Nothing);
    }
}

// One block played: the field turned a number of quarter turns clockwise first, then a block
// of `type` coming to rest at (x, y).
struct Move {
    int turns;
    int x, y;
    int type;
};

struct Promise {
    const char* level;
    const char* what;
    std::vector<Move> moves;
    int runs; // runs that vanish in all
    int left; // blocks left on the field after them
};

TEST(ContentLevelsTest, TheChainsAndGapsTheLevelsPromiseWork) {
    const std::vector<Promise> promises = {
        {"levels/01.lev", "counter-clockwise brings yellow down", {{3, 6, 12, 2}}, 1, 6},
        {"levels/01.lev", "clockwise brings blue down", {{1, 6, 12, 3}}, 1, 6},
        {"levels/03.lev", "the red hole lands under the entry", {{1, 6, 12, 2}}, 1, 10},
        {"levels/03.lev", "so does the cyan one, a run of five", {{2, 6, 12, 1}}, 1, 9},
        {"levels/04.lev", "the left chain", {{0, 4, 12, 1}}, 2, 7},
        {"levels/04.lev", "the right chain", {{0, 8, 12, 1}}, 2, 7},
        {"levels/06.lev", "three steps", {{0, 4, 12, 1}}, 3, 3},
        {"levels/07.lev", "three steps stood up", {{3, 4, 12, 1}}, 3, 3},
        {"levels/08.lev", "a step beside the blue ledge", {{0, 4, 12, 3}, {0, 4, 11, 1}}, 1, 7},
        {"levels/09.lev", "a step, then the chain", {{0, 4, 12, 2}, {0, 4, 11, 1}}, 3, 1},
        {"levels/11.lev",
         "the right tower on its side, a run down through its cap",
         {{1, 3, 10, 3}, {0, 3, 9, 3}, {0, 3, 8, 3}},
         1,
         7},
        {"levels/13.lev", "both staircases", {{0, 4, 12, 2}, {0, 8, 12, 3}}, 6, 0},
        {"levels/14.lev",
         "steps under both staircases",
         {{0, 4, 12, 3}, {0, 4, 11, 4}, {0, 8, 12, 3}, {0, 8, 11, 2}},
         4,
         8},
    };
    for (const Promise& promise : promises) {
        SCOPED_TRACE(std::string(promise.level) + ": " + promise.what);
        CLevel field;
        CLevelProbe probe{field};
        levelplay::LayOut(Built(promise.level), field, 1);
        int runs = 0;
        for (const Move& move : promise.moves) {
            for (int turn = 0; turn < move.turns; ++turn)
                field.RotateClockwise();
            // The block can get there: straight down from the entry row, and rests there.
            for (int y = 7; y <= move.y; ++y)
                ASSERT_EQ(field.Cell(move.x, y), 0) << "(" << move.x << ", " << y << ")";
            ASSERT_TRUE(move.y == kLast || field.Cell(move.x, move.y + 1) != 0);
            probe.Set(move.x, move.y, move.type);
            runs += levelplay::Settle(field);
        }
        EXPECT_EQ(runs, promise.runs);
        int left = 0;
        for (int x = 0; x <= kLast; ++x)
            for (int y = 0; y <= kLast; ++y)
                left += field.Cell(x, y) != 0 ? 1 : 0;
        EXPECT_EQ(left, promise.left);
    }
}

} // namespace
