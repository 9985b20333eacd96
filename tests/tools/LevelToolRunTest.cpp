#include "LevelText.h"
#include "LevelTool.h"
#include "TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kRows = ". . . . . . . . . . . . .\n. . . . . . . . . . . . .\n"
                          ". . . . . . . . . . . . .\n. . . . . . . . . . . . .\n"
                          ". . . . . . . . . . . . .\n. . . . . . . . . . . . .\n"
                          ". . . . . . . . . . . . .\n. . . . . . . . . . . . .\n"
                          ". . . . . . . . . . . . .\n. . . . . . . . . . . . .\n"
                          ". . . . . . . . . . . . .\n. . . . . . . . . . . . .\n";
const std::string kLevelText = "speed 500\ntimer 60000\nblock 1 blocks/red.bmp\ngrid\n" + kRows +
                               "1 1 1 . . * . . . . . . .\n";

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result Tool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = LevelTool::Run(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<uint8_t> Build(const std::string& text) {
    LevelFile level;
    std::vector<std::string> errors;
    EXPECT_TRUE(LevelText::Parse(text, "text", level, errors));
    return level.Bytes();
}

// A folder to work in, holding the picture the levels name.
class LevelToolRunTest : public testing::Test {
protected:
    testfiles::ScratchDir dir{/*enter=*/true};

    void SetUp() override {
        fs::create_directories("blocks");
        testfiles::WriteBytes("blocks/red.bmp", {'B', 'M'});
        testfiles::WriteBytes("good.lev", Build(kLevelText));
        // Warned about: a block right below the entry cell.
        auto blocked = Build(kLevelText);
        blocked[12 + 255 + 13 * 8 + 6] = 1;
        testfiles::WriteBytes("blocked.lev", blocked);
        // Refused: a block type without a picture.
        auto bad = Build(kLevelText);
        bad[12 + 255 + 13 * 12 + 4] = 2;
        testfiles::WriteBytes("bad.lev", bad);
    }
};

TEST_F(LevelToolRunTest, CheckSaysOkOrListsFindingsAndExitsByTheWorst) {
    Result r = Tool({"check", "good.lev"});
    EXPECT_EQ(r.status, LevelTool::kClean);
    EXPECT_EQ(r.out, "good.lev: ok\n");
    EXPECT_EQ(r.err, "");

    r = Tool({"check", "good.lev", "blocked.lev"});
    EXPECT_EQ(r.status, LevelTool::kWarnings);
    EXPECT_EQ(r.out, "good.lev: ok\n"
                     "blocked.lev: warning: grid cell (6, 8): occupied below the entry cell: the "
                     "first block comes to rest in the entry cell at once and costs a life\n");

    r = Tool({"check", "bad.lev", "blocked.lev", "missing.lev"});
    EXPECT_EQ(r.status, LevelTool::kErrors);
    EXPECT_EQ(r.out, "bad.lev: error: grid cell (4, 12): value 2 is above the block-type count 1\n"
                     "blocked.lev: warning: grid cell (6, 8): occupied below the entry cell: the "
                     "first block comes to rest in the entry cell at once and costs a life\n"
                     "missing.lev: error: cannot open it: No such file or directory\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(LevelToolRunTest, CheckLooksForPicturesInTheWorkingFolderUnlessToldOtherwise) {
    fs::create_directories("game/levels");
    fs::rename("good.lev", "game/levels/MYLEVEL.lev");
    Result r = Tool({"check", "game/levels/MYLEVEL.lev"});
    EXPECT_EQ(r.status, LevelTool::kClean) << r.out;

    r = Tool({"check", "--data", "game", "game/levels/MYLEVEL.lev"});
    EXPECT_EQ(r.status, LevelTool::kWarnings);
    EXPECT_EQ(r.out, "game/levels/MYLEVEL.lev: warning: block 1 picture name: no file "
                     "game/blocks/red.bmp: the game cannot load this level\n");

    fs::rename("blocks", "game/blocks");
    EXPECT_EQ(Tool({"check", "--data=game", "game/levels/MYLEVEL.lev"}).status, LevelTool::kClean);
    EXPECT_EQ(Tool({"check", "game/levels/MYLEVEL.lev", "--data", "game"}).status,
              LevelTool::kClean);
}

TEST_F(LevelToolRunTest, BuildWritesTheLevelOrNothingAtAll) {
    testfiles::WriteBytes("my.txt", std::vector<uint8_t>(kLevelText.begin(), kLevelText.end()));
    Result r = Tool({"build", "my.txt", "my.lev"});
    EXPECT_EQ(r.status, LevelTool::kClean) << r.err;
    EXPECT_EQ(r.out, "my.lev: written, 436 bytes\n");
    EXPECT_EQ(testfiles::ReadBytes("my.lev"), Build(kLevelText));

    // Mistakes: every one reported by line, and the level already there left alone.
    const std::string broken = "speed 500\ntimer 6O000\nblock 1 blocks/red.bmp\ngrid\n" + kRows +
                               "1 1 1 . . * . . . . . .\n";
    testfiles::WriteBytes("broken.txt", std::vector<uint8_t>(broken.begin(), broken.end()));
    r = Tool({"build", "broken.txt", "my.lev"});
    EXPECT_EQ(r.status, LevelTool::kErrors);
    EXPECT_EQ(r.err, "broken.txt:2: timer: '6O000' is not a whole number\n"
                     "broken.txt:17: row 12 has 12 cells, expected 13\n"
                     "broken.txt: no timer line (the countdown in milliseconds, as in 'timer "
                     "60000')\n"
                     "quibbo-level: my.lev not written\n");
    EXPECT_EQ(testfiles::ReadBytes("my.lev"), Build(kLevelText));
    EXPECT_FALSE(fs::exists("my.lev.tmp"));

    // Warnings are told, and the level is written all the same.
    const std::string rushed = "speed 0\n" + kLevelText.substr(kLevelText.find("timer"));
    testfiles::WriteBytes("rushed.txt", std::vector<uint8_t>(rushed.begin(), rushed.end()));
    r = Tool({"build", "--data", "nowhere", "rushed.txt", "rushed.lev"});
    EXPECT_EQ(r.status, LevelTool::kClean);
    EXPECT_EQ(r.err, "rushed.lev: warning: speed: 0 ms: the falling block drops a row on every "
                     "frame\n"
                     "rushed.lev: warning: block 1 picture name: no file nowhere/blocks/red.bmp: "
                     "the game cannot load this level\n");
    EXPECT_EQ(testfiles::ReadBytes("rushed.lev"), Build(rushed));

    r = Tool({"build", "absent.txt", "x.lev"});
    EXPECT_EQ(r.status, LevelTool::kErrors);
    EXPECT_EQ(r.err, "absent.txt: error: cannot open it: No such file or directory\n");
    r = Tool({"build", "my.txt", "no/such/folder/x.lev"});
    EXPECT_EQ(r.status, LevelTool::kErrors);
    EXPECT_EQ(r.err, "no/such/folder/x.lev: error: cannot write it: No such file or directory\n");
}

TEST_F(LevelToolRunTest, ShowPrintsTheTextOrTheFaults) {
    Result r = Tool({"show", "good.lev"});
    EXPECT_EQ(r.status, LevelTool::kClean);
    EXPECT_EQ(r.out, kLevelText);

    r = Tool({"show", "bad.lev"});
    EXPECT_EQ(r.status, LevelTool::kErrors);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "bad.lev: error: grid cell (4, 12): value 2 is above the block-type count 1\n");
}

TEST_F(LevelToolRunTest, PlayReportsEachGameAndExitsByWhetherAllWereWon) {
    // One block beside the three on the floor wins; a hidden cell can never be taken away.
    auto winnable = Build(kLevelText);
    winnable[12 + 255 + 13 * 12 + 5] = 0;
    testfiles::WriteBytes("winnable.lev", winnable);
    Result r = Tool({"play", "--seed", "4", "--games", "2", "winnable.lev"});
    EXPECT_EQ(r.status, LevelTool::kClean) << r.err;
    EXPECT_THAT(r.out, testing::MatchesRegex("winnable.lev seed 4: won, 5[0-9] seconds left, "
                                             "score 4\n"
                                             "winnable.lev seed 5: won, 5[0-9] seconds left, "
                                             "score 4\n"));

    r = Tool({"play", "good.lev"});
    EXPECT_EQ(r.status, LevelTool::kWarnings);
    EXPECT_THAT(r.out, testing::StartsWith("good.lev seed 1: lost, time up, 0 seconds left, "));

    EXPECT_EQ(Tool({"play", "bad.lev"}).status, LevelTool::kErrors);
    EXPECT_EQ(Tool({"play", "--games", "0", "good.lev"}).err,
              "quibbo-level: --games needs a number from 1 to 1000000\n");
    EXPECT_EQ(Tool({"play"}).err, "quibbo-level: play needs one level file: quibbo-level play "
                                  "[--seed S] [--games N] LEV\n");
}

TEST_F(LevelToolRunTest, AWrongCommandLineIsExplained) {
    Result r = Tool({});
    EXPECT_EQ(r.status, LevelTool::kErrors);
    EXPECT_EQ(r.err, LevelTool::Help());

    r = Tool({"--help"});
    EXPECT_EQ(r.status, LevelTool::kClean);
    EXPECT_EQ(r.out, LevelTool::Help());
    EXPECT_EQ(Tool({"check", "--help"}).out, LevelTool::Help());

    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{"make", "a", "b"}, "quibbo-level: unknown command make (try quibbo-level --help)\n"},
        {{"check"},
         "quibbo-level: check needs at least one level file: quibbo-level check [--data DIR] "
         "LEV...\n"},
        {{"check", "--data"}, "quibbo-level: --data needs a folder\n"},
        {{"check", "--strict", "good.lev"},
         "quibbo-level: unknown option --strict (try quibbo-level --help)\n"},
        {{"show", "--data", "x", "good.lev"},
         "quibbo-level: unknown option --data (try quibbo-level --help)\n"},
        {{"show", "a.lev", "b.lev"},
         "quibbo-level: show needs one level file: quibbo-level show "
         "LEV\n"},
        {{"build", "only.txt"},
         "quibbo-level: build needs a text file and a level file: "
         "quibbo-level build TEXT LEV\n"},
    };
    for (const auto& [args, message] : wrong) {
        r = Tool(args);
        EXPECT_EQ(r.status, LevelTool::kErrors) << args[0];
        EXPECT_EQ(r.err, message);
    }
    // After "--" a name that looks like an option is a file.
    testfiles::WriteBytes("--odd.lev", testfiles::ReadBytes("good.lev"));
    EXPECT_EQ(Tool({"check", "--", "--odd.lev"}).out, "--odd.lev: ok\n");
}

// The program itself, as a player or a script runs it.
int Program(const std::string& arguments) {
    const std::string command =
        std::string("'") + QUIBBO_LEVEL_EXE + "' " + arguments + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(LevelToolRunTest, TheProgramBuildsShowsAndChecksEndToEnd) {
    EXPECT_EQ(Program("show good.lev"), 0);
    EXPECT_EQ(testfiles::ReadText("out.txt"), kLevelText);
    fs::rename("out.txt", "shown.txt");
    EXPECT_EQ(Program("build shown.txt again.lev"), 0);
    EXPECT_EQ(testfiles::ReadBytes("again.lev"), testfiles::ReadBytes("good.lev"));

    EXPECT_EQ(Program("check good.lev"), 0);
    EXPECT_EQ(Program("check good.lev blocked.lev"), 1);
    EXPECT_EQ(Program("check good.lev bad.lev blocked.lev"), 2);
    EXPECT_EQ(testfiles::ReadLines("out.txt").size(), 3u);
    EXPECT_EQ(Program("frobnicate"), 2);
    EXPECT_NE(testfiles::ReadText("err.txt").find("unknown command"), std::string::npos);
}

} // namespace
