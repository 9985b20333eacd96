#include "CLevelProbe.h"
#include "compat/Seams.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

using compat::seams::SetTicks;

class LevelRulesTest : public testing::Test {
protected:
    CLevel level;
    CLevelProbe probe{level};

    void SetUp() override {
        std::srand(7);
        SetTicks(10000);
        probe.Start(3, 500, 60000);
        probe.SetLastFall(10000);
    }
};

TEST_F(LevelRulesTest, ANewBlockComesInBelowTheEntryWithTheNextType) {
    CLevel fresh;
    CLevelProbe p{fresh};
    p.Start(5, 400, 1000, /*nextType=*/4);
    EXPECT_EQ(p.Column(), 6);
    EXPECT_EQ(p.Row(), 7);
    EXPECT_EQ(p.Type(), 4);
    EXPECT_GE(p.Next(), 1);
    EXPECT_LE(p.Next(), 5);
    EXPECT_EQ(p.Interval(), 400u);

    // Over many spawns every type turns up as next, and nothing else does.
    bool seen[6] = {};
    for (int i = 0; i < 500; ++i) {
        fresh.SpawnBlock();
        ASSERT_GE(p.Next(), 1);
        ASSERT_LE(p.Next(), 5);
        seen[p.Next()] = true;
    }
    for (int type = 1; type <= 5; ++type)
        EXPECT_TRUE(seen[type]) << type;
}

TEST_F(LevelRulesTest, BeforeAnyLevelIsLoadedNothingSpawnsOrFalls) {
    CLevel empty;
    CLevelProbe p{empty};
    empty.SpawnBlock(); // no block types: no division by zero, no block
    EXPECT_EQ(p.Type(), 0);
    SetTicks(999999);
    EXPECT_EQ(empty.Step(), LevelResult::Nothing);
    EXPECT_EQ(empty.Cell(0, 0), 0);
    EXPECT_EQ(p.Row(), 0);
}

TEST_F(LevelRulesTest, TheBlockFallsOnlyOnceTheIntervalHasPassed) {
    SetTicks(10500); // exactly the interval: not yet
    EXPECT_EQ(level.Step(), LevelResult::Nothing);
    EXPECT_EQ(probe.Row(), 7);
    SetTicks(10501);
    EXPECT_EQ(level.Step(), LevelResult::Nothing);
    EXPECT_EQ(probe.Row(), 8);
    // The next row is timed from that step, and one call moves one row however late it is.
    SetTicks(20000);
    level.Step();
    EXPECT_EQ(probe.Row(), 9);
}

TEST_F(LevelRulesTest, TheFallBoundaryHoldsAcrossTheClocksWrapAround) {
    probe.SetLastFall(0xFFFFFF00u);
    SetTicks(0xFFFFFF00u + 500u); // wraps past zero
    level.Step();
    EXPECT_EQ(probe.Row(), 7);
    SetTicks(0xFFFFFF00u + 501u);
    level.Step();
    EXPECT_EQ(probe.Row(), 8);
}

TEST_F(LevelRulesTest, ABlockComesToRestAtOnceWhenSupported) {
    // On the bottom row it rests on the next step, interval or not.
    probe.Place(3, 12, 2);
    EXPECT_EQ(level.Step(), LevelResult::BlockLanded);
    EXPECT_EQ(level.Cell(3, 12), 2);
    EXPECT_EQ(probe.Column(), 6); // the next block came in
    EXPECT_EQ(probe.Row(), 7);

    // On a block below: rests at once, after a move made just before.
    probe.Set(4, 6, 1);
    probe.Place(5, 5, 3);
    level.MoveLeft();
    EXPECT_EQ(level.Step(), LevelResult::BlockLanded);
    EXPECT_EQ(level.Cell(4, 5), 3);
}

TEST_F(LevelRulesTest, LandingOverTheEntryCellBlocksTheEntry) {
    // The block comes to rest in the entry cell itself.
    probe.Set(6, 8, 1);
    const int nextBefore = probe.Next();
    EXPECT_EQ(level.Step(), LevelResult::EntryBlocked);
    EXPECT_EQ(level.Cell(6, 7), 1);
    EXPECT_EQ(probe.Next(), nextBefore); // no new block was made
    EXPECT_EQ(probe.Row(), 7);

    // A turn put a block in the entry cell; a landing elsewhere then blocks the entry.
    CLevel other;
    CLevelProbe p{other};
    p.Start(3, 500, 60000);
    p.Set(6, 7, 2);
    p.Place(0, 12, 1);
    EXPECT_EQ(other.Step(), LevelResult::EntryBlocked);
    EXPECT_EQ(other.Cell(0, 12), 1);
}

TEST_F(LevelRulesTest, ALandingOverwritesABlockThatATurnBroughtIntoItsCell) {
    probe.Place(2, 12, 3);
    probe.Set(2, 12, 1);
    EXPECT_EQ(level.Step(), LevelResult::BlockLanded);
    EXPECT_EQ(level.Cell(2, 12), 3);
}

TEST_F(LevelRulesTest, MovesStopAtWallsAndBlocks) {
    probe.Place(0, 4, 1);
    level.MoveLeft();
    EXPECT_EQ(probe.Column(), 0);
    probe.Place(12, 4, 1);
    level.MoveRight();
    EXPECT_EQ(probe.Column(), 12);

    probe.Place(5, 4, 1);
    probe.Set(4, 4, 2);
    probe.Set(6, 4, 2);
    level.MoveLeft();
    EXPECT_EQ(probe.Column(), 5);
    level.MoveRight();
    EXPECT_EQ(probe.Column(), 5);
    probe.Set(6, 4, 0);
    level.MoveRight();
    EXPECT_EQ(probe.Column(), 6);
}

TEST_F(LevelRulesTest, AtAWallWithItsOwnCellTakenTheUndoMovesTheBlockInwards) {
    // A turn can bring a resting block into the falling block's cell; the undo of a move into
    // the wall then shifts the block one column away from the wall.
    probe.Place(0, 4, 1);
    probe.Set(0, 4, 2);
    level.MoveLeft();
    EXPECT_EQ(probe.Column(), 1);
    probe.Place(12, 4, 1);
    probe.Set(12, 4, 2);
    level.MoveRight();
    EXPECT_EQ(probe.Column(), 11);
}

TEST_F(LevelRulesTest, TurnsMoveEveryBlockAQuarterTurnAndLeaveTheFallingBlock) {
    probe.Set(0, 0, 1); // top-left corner
    probe.Set(3, 1, 2);
    probe.Set(12, 5, 3);
    probe.Set(7, 12, -1);
    probe.Place(4, 9, 2);

    level.RotateClockwise(); // (X, Y) -> (12 - Y, X)
    EXPECT_EQ(level.Cell(12, 0), 1);
    EXPECT_EQ(level.Cell(11, 3), 2);
    EXPECT_EQ(level.Cell(7, 12), 3);
    EXPECT_EQ(level.Cell(0, 7), -1);
    EXPECT_EQ(level.Cell(0, 0), 0);
    EXPECT_EQ(probe.Column(), 4);
    EXPECT_EQ(probe.Row(), 9);

    level.RotateCounterClockwise();
    EXPECT_EQ(level.Cell(0, 0), 1);
    EXPECT_EQ(level.Cell(3, 1), 2);
    EXPECT_EQ(level.Cell(12, 5), 3);
    EXPECT_EQ(level.Cell(7, 12), -1);

    level.RotateCounterClockwise(); // (X, Y) -> (Y, 12 - X)
    EXPECT_EQ(level.Cell(0, 12), 1);
    EXPECT_EQ(level.Cell(1, 9), 2);

    // Four turns one way give the grid back.
    CLevel other;
    CLevelProbe p{other};
    for (int i = 0; i < CLevel::kCells; ++i)
        p.Set(i % 13, i / 13, (i * 7) % 5 - 1);
    std::string before;
    for (int y = 0; y < 13; ++y)
        before += p.Row(y);
    for (int i = 0; i < 4; ++i)
        other.RotateClockwise();
    std::string after;
    for (int y = 0; y < 13; ++y)
        after += p.Row(y);
    EXPECT_EQ(after, before);
}

TEST_F(LevelRulesTest, FastDropHurriesEveryIntervalButOne) {
    probe.SetInterval(50);
    level.FastDrop();
    EXPECT_EQ(probe.Interval(), 50u);
    probe.SetInterval(1);
    level.FastDrop();
    EXPECT_EQ(probe.Interval(), 0u);
    probe.SetInterval(0);
    level.FastDrop();
    EXPECT_EQ(probe.Interval(), 50u);
    level.EndFastDrop();
    EXPECT_EQ(probe.Interval(), 500u);

    // The next block always starts at the level speed.
    level.FastDrop();
    probe.Place(0, 12, 1);
    level.Step();
    EXPECT_EQ(probe.Interval(), 500u);
}

TEST_F(LevelRulesTest, ARunOfThreeStaysAndARunOfThirteenScores130) {
    const char* threes[13] = {".............", ".............", ".............", ".............",
                              ".............", ".............", ".............", ".............",
                              ".............", "..........1..", "..........1..", "..........1..",
                              "111.222.333.."};
    probe.Fill(threes);
    EXPECT_EQ(level.RemoveRun(), LevelResult::Nothing);
    EXPECT_EQ(level.TakePoints(), 0);

    probe.Set(12, 12, 0);
    for (int x = 0; x < 13; ++x)
        probe.Set(x, 12, 2);
    EXPECT_EQ(level.RemoveRun(), LevelResult::RowRunRemoved);
    EXPECT_EQ(level.TakePoints(), 130);
    EXPECT_EQ(level.TakePoints(), 0);
    // Column 10's stack of three dropped into the emptied row.
    EXPECT_EQ(probe.Row(12), "..........1..");
    EXPECT_EQ(probe.Row(9), ".............");
}

TEST_F(LevelRulesTest, PointsGrowWithTheLengthOfTheRun) {
    const int expected[] = {4, 10, 18, 28, 40, 54, 70, 88, 108, 130};
    for (int n = 4; n <= 13; ++n) {
        CLevel other;
        CLevelProbe p{other};
        for (int y = 0; y < n; ++y)
            p.Set(5, y, 3);
        EXPECT_EQ(other.RemoveRun(), LevelResult::ColumnRunRemoved) << n;
        EXPECT_EQ(other.TakePoints(), expected[n - 4]) << n;
    }
}

TEST_F(LevelRulesTest, TheFirstRunInScanOrderWinsAndAcrossBeatsDown) {
    // Column by column, then row by row: the run down in column 1 is met before the run across
    // that starts in column 2, though that one lies higher up.
    const char* rows[13] = {"..3333.......", ".2...........", ".2...........", ".2...........",
                            ".2...........", ".............", ".............", ".............",
                            ".............", ".............", ".............", ".............",
                            "............."};
    probe.Fill(rows);
    EXPECT_EQ(level.RemoveRun(), LevelResult::ColumnRunRemoved);
    EXPECT_EQ(probe.Row(1), ".............");
    EXPECT_EQ(probe.Row(0), "..3333.......");
    EXPECT_EQ(level.RemoveRun(), LevelResult::RowRunRemoved);
    EXPECT_EQ(level.RemoveRun(), LevelResult::FieldCleared);

    // Both runs start at one cell: the run across is taken, with the shared cell; the rest of
    // the run down is three long and stays.
    CLevel other;
    CLevelProbe p{other};
    const char* corner[13] = {".............", ".............", ".............", ".............",
                              ".............", ".............", ".............", ".............",
                              ".............", "....4444.....", "....4........", "....4........",
                              "....4........"};
    p.Fill(corner);
    EXPECT_EQ(other.RemoveRun(), LevelResult::RowRunRemoved);
    EXPECT_EQ(other.TakePoints(), 4);
    EXPECT_EQ(p.Row(9), ".............");
    EXPECT_EQ(other.RemoveRun(), LevelResult::Nothing);
}

TEST_F(LevelRulesTest, AStackAboveARunAcrossDropsOneRowUpToItsFirstGap) {
    const char* rows[13] = {"..5..........", ".....1.......", "..5..2.......", "..6..3.......",
                            "..7..........", "..8...4......", "..9111.1.....", "..2222.......",
                            ".............", ".............", ".............", ".............",
                            "............."};
    probe.Fill(rows);
    EXPECT_EQ(level.RemoveRun(), LevelResult::RowRunRemoved);
    EXPECT_EQ(level.TakePoints(), 4);
    // Column 2: the unbroken stack 5 6 7 8 9 drops one row; the 5 above the gap stays.
    // Column 5: its cell above the run is empty, so the 1 2 3 higher up do not move.
    EXPECT_EQ(probe.Row(0), "..5..........");
    EXPECT_EQ(probe.Row(1), ".....1.......");
    EXPECT_EQ(probe.Row(2), ".....2.......");
    EXPECT_EQ(probe.Row(3), "..5..3.......");
    EXPECT_EQ(probe.Row(4), "..6..........");
    EXPECT_EQ(probe.Row(5), "..7...4......");
    EXPECT_EQ(probe.Row(6), "..8....1.....");
    EXPECT_EQ(probe.Row(7), "..9111.......");
}

TEST_F(LevelRulesTest, AStackReachingTheTopRowLeavesTheTopRowEmpty) {
    const char* rows[13] = {"1234.........", "2341.........", "3412.........", "5555.........",
                            ".............", ".............", ".............", ".............",
                            ".............", ".............", ".............", ".............",
                            "............."};
    probe.Fill(rows);
    EXPECT_EQ(level.RemoveRun(), LevelResult::RowRunRemoved);
    EXPECT_EQ(probe.Row(0), ".............");
    EXPECT_EQ(probe.Row(1), "1234.........");
    EXPECT_EQ(probe.Row(3), "3412.........");

    // A run in the top row just empties its cells.
    CLevel other;
    CLevelProbe p{other};
    for (int x = 8; x < 13; ++x)
        p.Set(x, 0, 6);
    EXPECT_EQ(other.RemoveRun(), LevelResult::RowRunRemoved);
    EXPECT_EQ(other.TakePoints(), 10);
    EXPECT_EQ(other.RemoveRun(), LevelResult::FieldCleared);
}

TEST_F(LevelRulesTest, ARunDownLeavesTheBlocksAboveItHanging) {
    for (int y = 5; y <= 8; ++y)
        probe.Set(3, y, 2);
    probe.Set(3, 3, 1);
    probe.Set(3, 4, 3);
    EXPECT_EQ(level.RemoveRun(), LevelResult::ColumnRunRemoved);
    for (int y = 5; y <= 8; ++y)
        EXPECT_EQ(level.Cell(3, y), 0);
    EXPECT_EQ(level.Cell(3, 3), 1);
    EXPECT_EQ(level.Cell(3, 4), 3);

    // The lowest place a run down can start is row 9.
    CLevel other;
    CLevelProbe p{other};
    for (int y = 9; y <= 12; ++y)
        p.Set(0, y, 4);
    EXPECT_EQ(other.RemoveRun(), LevelResult::ColumnRunRemoved);
}

TEST_F(LevelRulesTest, OnlyAnEmptyGridIsCleared) {
    // The falling block does not count.
    EXPECT_EQ(level.RemoveRun(), LevelResult::FieldCleared);
    probe.Set(9, 9, -1);
    EXPECT_EQ(level.RemoveRun(), LevelResult::Nothing);
    // Equal hidden cells are a run like any other.
    for (int x = 0; x < 4; ++x)
        probe.Set(x, 11, -3);
    EXPECT_EQ(level.RemoveRun(), LevelResult::RowRunRemoved);
}

TEST_F(LevelRulesTest, TheCountdownRunsFromTheClock) {
    SetTicks(50000);
    level.StartClock(); // the time before play does not count
    SetTicks(59999);
    EXPECT_FALSE(level.UpdateTimer());
    EXPECT_EQ(level.GetTimer(), 60000 - 9999);
    SetTicks(59999 + 50001);
    EXPECT_TRUE(level.UpdateTimer()); // exactly 0 ends it
    EXPECT_EQ(level.GetTimer(), 0);

    CLevel other;
    CLevelProbe p{other};
    p.Start(1, 500, 1000);
    SetTicks(0xFFFFFFFFu - 99u);
    other.StartClock();
    SetTicks(400); // 500 ms later, across the wrap
    EXPECT_FALSE(other.UpdateTimer());
    EXPECT_EQ(other.GetTimer(), 500);

    // Near the smallest number the countdown stops there instead of wrapping round to a full one.
    CLevel low;
    CLevelProbe lowProbe{low};
    lowProbe.Start(1, 500, INT32_MIN + 5);
    SetTicks(1000);
    low.StartClock();
    SetTicks(1017);
    EXPECT_TRUE(low.UpdateTimer());
    EXPECT_EQ(low.GetTimer(), INT32_MIN);
    SetTicks(1034);
    EXPECT_TRUE(low.UpdateTimer());
    EXPECT_EQ(low.GetTimer(), INT32_MIN);
}

TEST_F(LevelRulesTest, DifficultyScalesTheSpeedOneMillisecondShortOfTheExactValue) {
    const struct { int percent, expected; } cases[] = {{100, 499}, {125, 624}, {75, 374}};
    for (auto c : cases) {
        CLevel other;
        CLevelProbe p{other};
        p.Start(1, 500, 1000);
        other.ScaleSpeed(c.percent);
        EXPECT_EQ(p.Speed(), c.expected) << c.percent;
    }
}

} // namespace
