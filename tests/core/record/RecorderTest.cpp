// The recorder as the program's entry starts it: which files it keeps, QUIBBO_RECORD, and a
// recording that cannot be written, which costs the recording and nothing else.
#include "TestFiles.h"

#include "compat/InputSeams.h"
#include "compat/RecordSeams.h"
#include "compat/Seams.h"

#include <gtest/gtest.h>

#include <mmsystem.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
namespace seams = compat::seams;
using testfiles::ReadText;

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

// Unsets QUIBBO_RECORD for the test, or sets it, and puts it back after.
class RecordVariable {
public:
    explicit RecordVariable(const char* value) {
        if (const char* old = getenv("QUIBBO_RECORD"))
            saved_ = old, had_ = true;
        if (value)
            setenv("QUIBBO_RECORD", value, 1);
        else
            unsetenv("QUIBBO_RECORD");
    }
    ~RecordVariable() {
        if (had_)
            setenv("QUIBBO_RECORD", saved_.c_str(), 1);
        else
            unsetenv("QUIBBO_RECORD");
    }

private:
    std::string saved_;
    bool had_ = false;
};

TEST(Recorder, KeepsTheLastThreeRunsInLogs) {
    testfiles::ScratchDir folder(true);
    RecordVariable unset(nullptr);
    for (const char* name : {"replay-1.txt", "replay-2.txt", "replay-3.txt", "replay-4.txt",
                             "replay-12.txt", "replay-0.txt"})
        Write(folder / (std::string("logs/") + name), name);
    Write(folder / "logs/replay-notes.txt", "mine");
    Write(folder / "logs/GameLog.txt", "the game's");

    ASSERT_TRUE(seams::StartRecording());
    EXPECT_TRUE(seams::Recording());
    MSG message{};
    PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); // one pass
    seams::FinishRecording(0);
    EXPECT_FALSE(seams::Recording());

    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.Path() / "logs"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"GameLog.txt", "replay-1.txt", "replay-2.txt",
                                        "replay-3.txt", "replay-notes.txt"}),
              names);
    const std::string recording = ReadText(folder / "logs/replay-1.txt");
    EXPECT_NE(std::string::npos, recording.find("\nrecording 1\n"));
    EXPECT_NE(std::string::npos, recording.find("\nremove quibbo.ini\n"));
    EXPECT_NE(std::string::npos, recording.find("\nc 1 0 0 "));
    EXPECT_NE(std::string::npos, recording.find("\nexpect exit 0\n"));
    EXPECT_EQ("replay-1.txt", ReadText(folder / "logs/replay-2.txt"));
    EXPECT_EQ("replay-2.txt", ReadText(folder / "logs/replay-3.txt"));
    EXPECT_EQ("mine", ReadText(folder / "logs/replay-notes.txt"));
}

TEST(Recorder, NothingWithZeroAndTheFileNamedOtherwise) {
    testfiles::ScratchDir folder(true);
    {
        RecordVariable off("0");
        EXPECT_FALSE(seams::StartRecording());
        EXPECT_FALSE(seams::Recording());
        EXPECT_FALSE(fs::exists(folder / "logs/replay-1.txt"));
    }
    RecordVariable named("mine.txt");
    Write(folder / "logs/replay-1.txt", "an older run");
    ASSERT_TRUE(seams::StartRecording());
    seams::FinishRecording(3);
    EXPECT_EQ("an older run", ReadText(folder / "logs/replay-1.txt"));
    EXPECT_NE(std::string::npos, ReadText(folder / "mine.txt").find("\nexpect exit 3\n"));
}

// A full disk and a folder that is not there: one line says so, by the game's first pass at
// the latest (a game that cannot start says why on its own), and the game's clock, queue and
// keys go on as without a recording.
TEST(Recorder, AFailedWriteCostsOnlyTheRecording) {
    testfiles::ScratchDir folder(true);
    for (const char* path : {"/dev/full", "no-such-folder/replay.txt"}) {
        SCOPED_TRACE(path);
        RecordVariable named(path);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(seams::StartRecording());
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
        PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(1, std::count(said.begin(), said.end(), '\n')) << said;
        EXPECT_NE(std::string::npos, said.find(path)) << said;
        EXPECT_FALSE(seams::Recording());

        seams::SetTicks(5000);
        EXPECT_EQ(5000u, timeGetTime());
        seams::AdvanceTicks(20);
        EXPECT_EQ(5020u, timeGetTime());
        seams::FinishRecording(0); // nothing to finish
        seams::ResetAll();
    }
}

} // namespace
