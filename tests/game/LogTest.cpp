#include "log/CClock.h"
#include "log/CLog.h"

#include "TestFiles.h"
#include "compat/Seams.h"

#include <gtest/gtest.h>

namespace {

SYSTEMTIME Utc(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = 999;
    return t;
}

TEST(ClockTest, TimeAndDateHaveNoLeadingZeros) {
    CClock clock;
    compat::seams::SetSystemTime(Utc(2000, 12, 8, 14, 5, 9));
    EXPECT_STREQ(clock.GetTime(), "14:5.9");
    EXPECT_STREQ(clock.GetDate(), "8\\12\\2000");

    compat::seams::SetSystemTime(Utc(2000, 1, 1, 0, 0, 0));
    EXPECT_STREQ(clock.GetTime(), "0:0.0");
    EXPECT_STREQ(clock.GetDate(), "1\\1\\2000");

    // The largest values a time record can hold still fit whole.
    compat::seams::SetSystemTime(Utc(65535, 65535, 65535, 65535, 65535, 65535));
    EXPECT_STREQ(clock.GetTime(), "65535:65535.65535");
    EXPECT_STREQ(clock.GetDate(), "65535\\65535\\65535");
}

TEST(ClockTest, RealTimeIsUtc) {
    // Whatever the machine's zone, the hour is the UTC hour.
    setenv("TZ", "Pacific/Kiritimati", 1); // UTC+14: no hour is the same in both
    tzset();
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    SYSTEMTIME t{};
    GetSystemTime(&t);
    unsetenv("TZ");
    tzset();
    // Allow for the hour changing between the two readings.
    EXPECT_TRUE(t.wHour == utc.tm_hour || t.wHour == (utc.tm_hour + 1) % 24) << t.wHour;
    EXPECT_EQ(t.wYear, utc.tm_year + 1900);
}

TEST(LogTest, FileHoldsHeaderThreeEmptyLinesAndMessagesExactly) {
    testfiles::ScratchDir dir;
    const std::string name = dir / "GameLog.txt";
    compat::seams::SetSystemTime(Utc(2000, 12, 8, 4, 7, 31));

    CLog log;
    ASSERT_TRUE(log.Open(name.c_str()));
    compat::seams::SetSystemTime(Utc(2000, 12, 8, 9, 5, 3));
    EXPECT_TRUE(log.Write("NOTICE --- Loaded %s", "common/quibbo.bmp"));
    EXPECT_TRUE(
        log.Write("CWINDOW --- ERROR --- Could not register class\nOccurred on line %d in %s", 42,
                  "CWindow.cpp"));
    EXPECT_TRUE(log.Write("Level speed: %d", 500));
    log.Close();

    const std::string expected = "TIME --- 4:7.31: CLOG --- NOTICE --- Log " + name +
                                 " opened at 4:7.31 on 8\\12\\2000\n"
                                 "\n\n\n"
                                 "TIME --- 9:5.3: NOTICE --- Loaded common/quibbo.bmp\n"
                                 "TIME --- 9:5.3: CWINDOW --- ERROR --- Could not register class\n"
                                 "Occurred on line 42 in CWindow.cpp\n"
                                 "TIME --- 9:5.3: Level speed: 500\n";
    EXPECT_EQ(testfiles::ReadText(name), expected);
}

TEST(LogTest, EveryLineIsOnDiskAsSoonAsItIsWritten) {
    testfiles::ScratchDir dir;
    const std::string name = dir / "sound.txt";
    CLog log;
    ASSERT_TRUE(log.Open(name.c_str()));
    log.Write("CSOUND --- NOTICE --- Init evaluated OK");
    // Still open: another reader sees the line already.
    EXPECT_EQ(testfiles::LogMessages(name).back(), "CSOUND --- NOTICE --- Init evaluated OK");
}

TEST(LogTest, OpeningEmptiesTheFileOfAnEarlierRun) {
    testfiles::ScratchDir dir;
    const std::string name = dir / "graphics.txt";
    {
        CLog first;
        ASSERT_TRUE(first.Open(name.c_str()));
        first.Write("NOTICE --- first run");
    }
    CLog second;
    ASSERT_TRUE(second.Open(name.c_str()));
    second.Write("NOTICE --- second run");
    second.Close();
    auto messages = testfiles::LogMessages(name);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "NOTICE --- second run");
}

TEST(LogTest, WriteOnAClosedLogOrWithoutFormatWritesNothing) {
    testfiles::ScratchDir dir;
    const std::string name = dir / "LevelLog.txt";
    CLog log;
    EXPECT_FALSE(log.Write("NOTICE --- before open"));
    ASSERT_TRUE(log.Open(name.c_str()));
    EXPECT_FALSE(log.Write(nullptr));
    EXPECT_TRUE(log.Close());
    EXPECT_TRUE(log.Close()); // a second close does nothing
    EXPECT_FALSE(log.Write("NOTICE --- after close"));
    EXPECT_EQ(testfiles::LogMessages(name).size(), 1u); // the header alone

    CLog missing;
    EXPECT_FALSE(missing.Open((dir / "no-such-folder/log.txt").c_str()));
    EXPECT_FALSE(missing.Write("NOTICE --- dropped"));
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

TEST(LogTest, AFaultRepeatedEveryFrameIsWrittenThriceThenCounted) {
    testfiles::ScratchDir dir;
    const std::string name = dir / "graphics.txt";
    CLog log;
    ASSERT_TRUE(log.Open(name.c_str()));
    for (int frame = 0; frame < 10000; ++frame)
        EXPECT_TRUE(log.Write("ERROR --- Invalid surface passed to %s", "blitter"));
    EXPECT_LT(std::filesystem::file_size(name), 400u);
    // A few repeats in a row are all written; the same line after another starts a new run,
    // and the count of its repeats is written at the close.
    for (int i = 0; i < 4; ++i)
        log.Write("NOTICE --- Shutting down log");
    log.Close();

    const std::string fault = "ERROR --- Invalid surface passed to blitter";
    const std::string notice = "NOTICE --- Shutting down log";
    const std::vector<std::string> expected{fault,  fault,  fault,  "... repeated 9,997 times",
                                            notice, notice, notice, "... repeated 1 time"};
    auto messages = testfiles::LogMessages(name);
    ASSERT_EQ(messages.size(), expected.size() + 1);
    EXPECT_EQ(std::vector<std::string>(messages.begin() + 1, messages.end()), expected);
}

} // namespace
