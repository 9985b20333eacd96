// The program's own main without any display, or without the game's content: it ends at once,
// before the game starts, with one line on stderr that says why and exit code 1 (SDL would
// otherwise draw unseen, and the game show an empty screen and fill its folder with files).
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

TEST(WinMainEntry, WithoutADisplayMainEndsAtOnceWithOneLine) {
    testfiles::ScratchDir dir{/*enter=*/true};
    // The probe's WinMain would print what it was given and end with code 3.
    const std::string command =
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '") + QUIBBO_ENTRY_PROBE +
        "' 3 >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status));
    EXPECT_EQ("", testfiles::ReadText("out.txt"));
    const std::string err = testfiles::ReadText("err.txt");
    EXPECT_NE(std::string::npos, err.find("no display")) << err;
    EXPECT_EQ(1, std::count(err.begin(), err.end(), '\n')) << err;
}

// Started from a folder without the content, the program moves to its own folder when that has
// it, and otherwise ends before anything is written, in either folder.
TEST(WinMainEntry, WithoutContentInItsWorkingFolderMainLooksBesideTheProgram) {
    namespace fs = std::filesystem;
    testfiles::ScratchDir dir;
    fs::create_directories(dir.Path() / "elsewhere");
    fs::create_directories(dir.Path() / "game");
    const std::string program = dir / "game/quibbo";
    fs::copy_file(QUIBBO_ENTRY_PROBE, program);
    const auto run = [&] {
        const std::string command = "cd '" + dir / "elsewhere" + "' && SDL_VIDEODRIVER=dummy '" +
                                    program + "' where >'" + dir / "out.txt" + "' 2>'" +
                                    dir / "err.txt" + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const auto entries = [](const fs::path& folder) {
        return std::distance(fs::directory_iterator(folder), fs::directory_iterator{});
    };

    EXPECT_EQ(1, run());
    EXPECT_EQ("", testfiles::ReadText(dir / "out.txt"));
    const std::string err = testfiles::ReadText(dir / "err.txt");
    EXPECT_EQ(0u, err.find("Quibbo's Puzzle: Could not start: no game content "
                           "(menu/menu_start.bmp) in "))
        << err;
    EXPECT_NE(std::string::npos, err.find(dir / "game")) << err;
    EXPECT_EQ(1, std::count(err.begin(), err.end(), '\n')) << err;
    EXPECT_EQ(0, entries(dir.Path() / "elsewhere"));
    EXPECT_EQ(1, entries(dir.Path() / "game"));

    fs::create_directory(dir.Path() / "game/menu");
    testfiles::WriteBytes(dir / "game/menu/menu_start.bmp", {});
    EXPECT_EQ(0, run());
    EXPECT_EQ("", testfiles::ReadText(dir / "err.txt"));
    const std::string out = testfiles::ReadText(dir / "out.txt");
    EXPECT_NE(std::string::npos,
              out.find("folder " + fs::canonical(dir.Path() / "game").string() + "\n"))
        << out;
    EXPECT_EQ(0, entries(dir.Path() / "elsewhere"));
}

} // namespace
