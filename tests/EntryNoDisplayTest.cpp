// The program's own main without any display: it ends at once, before the game starts, with
// one line on stderr that says why and exit code 1 (SDL would otherwise draw unseen).
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
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

} // namespace
