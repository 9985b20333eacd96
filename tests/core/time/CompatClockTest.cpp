#include "compat/Seams.h"
#include "TestFiles.h"

#include <mmsystem.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(CompatClockTest, SetClockWrapsLikeTheRealOne) {
    compat::seams::SetTicks(0xFFFFFFF0u);
    EXPECT_EQ(timeGetTime(), 0xFFFFFFF0u);
    compat::seams::AdvanceTicks(0x20);
    EXPECT_EQ(timeGetTime(), 0x10u);
    // Unsigned subtraction still gives the elapsed time across the wrap.
    EXPECT_EQ(timeGetTime() - 0xFFFFFFF0u, 0x20u);
}

TEST(CompatClockTest, SleepAdvancesTheSetClockWithoutWaiting) {
    compat::seams::SetTicks(1000);
    auto before = std::chrono::steady_clock::now();
    Sleep(60000);
    auto waited = std::chrono::steady_clock::now() - before;
    EXPECT_EQ(timeGetTime(), 61000u);
    EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST(CompatClockTest, RealClockCountsMilliseconds) {
    DWORD start = timeGetTime();
    Sleep(20);
    DWORD elapsed = timeGetTime() - start;
    EXPECT_GE(elapsed, 20u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(CompatFilesTest, CreateDirectoryFailsWhenTheFolderExists) {
    testfiles::ScratchDir dir;
    const std::string logs = dir / "logs";
    EXPECT_TRUE(CreateDirectoryA(logs.c_str(), nullptr));
    EXPECT_TRUE(std::filesystem::is_directory(logs));
    EXPECT_FALSE(CreateDirectoryA(logs.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST(CompatSeamsTest, ForcedFailuresAreUsedUpInOrder) {
    compat::seams::FailNext("IDirectDraw7::SetDisplayMode", E_FAIL, 2);
    EXPECT_EQ(compat::seams::PendingFailures("IDirectDraw7::SetDisplayMode"), 2);
    compat::seams::ResetAll();
    EXPECT_EQ(compat::seams::PendingFailures("IDirectDraw7::SetDisplayMode"), 0);
}

} // namespace
