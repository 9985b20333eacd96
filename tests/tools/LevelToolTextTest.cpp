#include "LevelText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const std::string kEmptyRow = ". . . . . . . . . . . . .\n";

std::string Rows(int count) {
    std::string rows;
    for (int i = 0; i < count; ++i)
        rows += kEmptyRow;
    return rows;
}

// A level in the form `show` prints, using every notation there is.
const std::string kCanonical =
    "speed 450\n"
    "timer -3\n"
    "block 1 blocks/red.bmp\n"
    "block 2 \"my blocks/green \\\"new\\\".bmp\"\n"
    "padding 2 00ff0000e4\n"
    "block 3 \"\"\n"
    "block 4 C:\\quibbo\\b\\x.bmp\n"
    "block 5 \"caf\\xe9\\\\\\x01#.bmp\"\n"
    "block 6 b6\n"
    "block 7 b7\n"
    "block 8 b8\n"
    "block 9 b9\n"
    "block 10 b10\n"
    "block 11 b11\n"
    "grid\n" +
    Rows(6) + // rows 0 to 5
    ". . . . . . . . . . . . *\n"
    "1 2 3 4 5 6 7 8 9 A B [-5] [-128]\n" +
    Rows(4) + // rows 8 to 11
    "* . . . . . . . . . . . .\n"
    "trailer 0a0b0c0d0e0f101112131415161718191a1b1c1d1e1f202122232425262728"
    "29\n"
    "trailer 2a2b2c2d\n";

LevelFile ParseOrFail(const std::string& text) {
    LevelFile level;
    std::vector<std::string> errors;
    EXPECT_TRUE(LevelText::Parse(text, "level.txt", level, errors));
    for (const auto& error : errors)
        ADD_FAILURE() << error;
    return level;
}

std::vector<std::string> Errors(const std::string& text) {
    LevelFile level;
    std::vector<std::string> errors;
    EXPECT_FALSE(LevelText::Parse(text, "t.txt", level, errors));
    return errors;
}

TEST(LevelToolTextTest, ShownTextBuildsBackToTheSameText) {
    const LevelFile level = ParseOrFail(kCanonical);
    EXPECT_EQ(LevelText::Format(level), kCanonical);

    // And the level holds what the text says.
    ASSERT_EQ(level.BlockTypeCount(), 11);
    EXPECT_EQ(level.speed, 450);
    EXPECT_EQ(level.timer, -3);
    EXPECT_EQ(level.Name(2), "my blocks/green \"new\".bmp");
    EXPECT_EQ(level.Name(3), "");
    EXPECT_EQ(level.Name(4), "C:\\quibbo\\b\\x.bmp");
    EXPECT_EQ(level.Name(5), "caf\xe9\\\x01#.bmp");
    const auto& padded = level.nameFields[1];
    const size_t after = level.Name(2).size() + 1; // padding starts after the name's zero
    EXPECT_EQ(padded[after - 1], '\0');
    EXPECT_EQ(static_cast<uint8_t>(padded[after + 1]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(padded[after + 4]), 0xE4);
    EXPECT_EQ(level.Cell(12, 6), -1);
    EXPECT_EQ(level.Cell(0, 7), 1);
    EXPECT_EQ(level.Cell(9, 7), 10);
    EXPECT_EQ(level.Cell(10, 7), 11);
    EXPECT_EQ(level.Cell(11, 7), -5);
    EXPECT_EQ(level.Cell(12, 7), -128);
    EXPECT_EQ(level.Cell(0, 12), -1);
    ASSERT_EQ(level.trailer.size(), 36u);
    EXPECT_EQ(level.trailer.front(), 0x0A);
    EXPECT_EQ(level.trailer.back(), 0x2D);
}

TEST(LevelToolTextTest, HandWrittenTextMeansTheSameAsItsShownForm) {
    // Comments, blank lines, compact and spaced rows, tabs, Windows line ends, a byte-order
    // mark, explicit values where a mark would do, blocks in any order.
    const std::string text = "\xEF\xBB\xBF# My level\r\n"
                             "\r\n"
                             "block 2 blocks/green.bmp   # the second colour\r\n"
                             "  block\t1\tblocks/red.bmp\r\n"
                             "timer 60000\r\n"
                             "speed 500 # fast\r\n"
                             "grid\r\n"
                             "# the top rows are empty\r\n"
                             ".............\r\n"
                             "............. # row 1\r\n"
                             "\r\n"
                             "[0]............\r\n"
                             ". . . . . . . . . . . . .\r\n"
                             ".............\r\n.............\r\n.............\r\n"
                             ".............\r\n.............\r\n.............\r\n.............\r\n"
                             "12*[-1][1][2]......[-7]\r\n"
                             "\t1 1 2 2 . . . . . . . . .\r\n";
    const std::string shown = "speed 500\n"
                              "timer 60000\n"
                              "block 1 blocks/red.bmp\n"
                              "block 2 blocks/green.bmp\n"
                              "grid\n" +
                              Rows(11) +
                              "1 2 * * 1 2 . . . . . . [-7]\n"
                              "1 1 2 2 . . . . . . . . .\n";
    EXPECT_EQ(LevelText::Format(ParseOrFail(text)), shown);
}

// Any level the game accepts, with whatever bytes it carries where the game never looks.
std::vector<uint8_t> RandomLevelBytes(std::mt19937& random) {
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    LevelFile level;
    const int blockTypes = below(4) == 0 ? 1 + below(127) : 1 + below(40);
    level.nameFields.resize(static_cast<size_t>(blockTypes));
    for (auto& field : level.nameFields) {
        const int length = below(3) == 0 ? below(255) : below(30);
        for (int i = 0; i < 255; ++i)
            field[i] = static_cast<char>(i < length ? 1 + below(255) : 0);
        if (below(3) == 0) // padding left over by whatever wrote the file
            for (int i = length + 1; i < 255; ++i)
                field[i] = static_cast<char>(below(4) == 0 ? below(256) : 0);
    }
    level.speed = static_cast<int32_t>(random());
    level.timer = static_cast<int32_t>(random());
    for (auto& cell : level.grid) {
        switch (below(4)) {
        case 0:
            cell = 0;
            break;
        case 1:
            cell = static_cast<int8_t>(-1 - below(128)); // hidden, -1 to -128
            break;
        default:
            cell = static_cast<int8_t>(1 + below(blockTypes));
        }
    }
    if (below(3) == 0)
        for (int i = below(80); i > 0; --i)
            level.trailer.push_back(static_cast<uint8_t>(random()));
    return level.Bytes();
}

TEST(LevelToolTextTest, EveryValidFileComesBackToTheByteThroughItsText) {
    std::mt19937 random(20240605);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const std::vector<uint8_t> bytes = RandomLevelBytes(random);
        LevelFile level;
        std::vector<std::string> faults;
        ASSERT_TRUE(level.Parse(bytes.data(), bytes.size(), faults));

        const std::string text = LevelText::Format(level);
        LevelFile rebuilt;
        std::vector<std::string> errors;
        ASSERT_TRUE(LevelText::Parse(text, "shown.txt", rebuilt, errors)) << errors.front() << "\n"
                                                                          << text;
        ASSERT_EQ(rebuilt.Bytes(), bytes) << text;
        ASSERT_EQ(LevelText::Format(rebuilt), text);
    }
}

const std::string kHead = "speed 500\ntimer 60000\nblock 1 a.bmp\nblock 2 b.bmp\ngrid\n";

TEST(LevelToolTextTest, GridMistakesAreReportedByLineAndRow) {
    // Lines 1 to 5 are the head; row y is on line 6 + y.
    EXPECT_EQ(Errors(kHead + Rows(3) + ". . . . . . . . . . . .\n" + Rows(9)),
              std::vector<std::string>{"t.txt:9: row 3 has 12 cells, expected 13"});
    EXPECT_EQ(Errors(kHead + Rows(12) + "..............\n"),
              std::vector<std::string>{"t.txt:18: row 12 has 14 cells, expected 13"});
    EXPECT_EQ(Errors(kHead + ". . a . . . . . . . . . .\n" + Rows(12)),
              std::vector<std::string>{"t.txt:6: row 0: 'a' is not a cell (use . for an empty "
                                       "cell, 1-9 or A-Z for a block type, * for a hidden cell, "
                                       "[n] for any value)"});
    EXPECT_EQ(Errors(kHead + Rows(5) + "0 . . . . . . . . . . . .\n" + Rows(7)).at(0),
              "t.txt:11: row 5: '0' is not a cell (use . for an empty cell, 1-9 or A-Z for a "
              "block type, * for a hidden cell, [n] for any value)");
    EXPECT_EQ(Errors(kHead + Rows(12) + "[128] . . . . . . . . . . . .\n"),
              std::vector<std::string>{"t.txt:18: row 12: [128] is not a cell value from -128 to "
                                       "127"});
    EXPECT_EQ(Errors(kHead + Rows(12) + "[-5 . . . . . . . . . . . .\n"),
              std::vector<std::string>{"t.txt:18: row 12: '[' without its ']'"});
    // A type without a picture: found wherever the block lines are.
    EXPECT_EQ(Errors(kHead + Rows(4) + ". . . . . . . . . 3 . . C\n" + Rows(8)),
              (std::vector<std::string>{
                  "t.txt:10: cell (9, 4): block type 3 has no block line (the blocks go up to 2)",
                  "t.txt:10: cell (12, 4): block type 12 has no block line (the blocks go up to "
                  "2)"}));
    // A grid cut short, by the end of the text or by a statement.
    EXPECT_EQ(Errors(kHead + Rows(11)),
              std::vector<std::string>{"t.txt:16: the text ends after 11 rows of the grid, "
                                       "expected 13"});
    EXPECT_EQ(Errors("speed 500\ntimer 60000\ngrid\n" + Rows(1) + "block 1 a.bmp\n"),
              std::vector<std::string>{"t.txt:5: the grid has 1 row, expected 13"});
    EXPECT_EQ(Errors(kHead + Rows(13) + "grid\n" + Rows(13)),
              std::vector<std::string>{"t.txt:19: a second grid (the first is on line 5)"});
}

TEST(LevelToolTextTest, StatementMistakesAreReportedByLine) {
    const std::string grid = "grid\n" + Rows(13);
    EXPECT_EQ(Errors("speed 500\nsped 5\ntimer 1\nblock 1 a\n" + grid),
              std::vector<std::string>{"t.txt:2: 'sped' is not a line of a level (expected "
                                       "speed, timer, block or grid)"});
    EXPECT_EQ(Errors("speed fast\ntimer 1\nblock 1 a\n" + grid),
              (std::vector<std::string>{
                  "t.txt:1: speed: 'fast' is not a whole number",
                  "t.txt: no speed line (the fall interval in milliseconds, as in 'speed 500')"}));
    EXPECT_EQ(Errors("speed 500\ntimer 2147483648\nblock 1 a\n" + grid).at(0),
              "t.txt:2: timer: 2147483648 is outside -2147483648 to 2147483647");
    EXPECT_EQ(Errors("speed 500\ntimer\nblock 1 a\n" + grid).at(0),
              "t.txt:2: timer needs a number of milliseconds, as in 'timer 60000'");
    EXPECT_EQ(Errors("speed 500 600\ntimer 1\nblock 1 a\n" + grid),
              std::vector<std::string>{"t.txt:1: unexpected '600' after the speed"});
    EXPECT_EQ(Errors("speed 500\ntimer 1\nspeed 400\nblock 1 a\n" + grid),
              std::vector<std::string>{"t.txt:3: a second speed line (the first is line 1)"});

    const std::string head = "speed 500\ntimer 1\n";
    EXPECT_EQ(Errors(head + "block 128 a\n" + grid).at(0),
              "t.txt:3: block 128: block types go from 1 to 127");
    EXPECT_EQ(Errors(head + "block 1 a\nblock 1 b\n" + grid),
              std::vector<std::string>{"t.txt:4: block 1 is given twice (first on line 3)"});
    EXPECT_EQ(Errors(head + "block 3 c\nblock 1 a\n" + grid),
              std::vector<std::string>{"t.txt: no line for block 2, though the blocks go up to 3"});
    EXPECT_EQ(Errors(head + "block 1\n" + grid).at(0),
              "t.txt:3: block 1 needs a picture name, as in 'block 1 blocks/red.bmp'");
    EXPECT_EQ(Errors(head + "block 1 my red.bmp\n" + grid),
              std::vector<std::string>{"t.txt:3: unexpected 'red.bmp' after the picture name (put "
                                       "a name with blanks in \"quotes\")"});
    EXPECT_EQ(Errors(head + "block 1 \"red.bmp\n" + grid).at(0),
              "t.txt:3: the picture name has no closing quote");
    EXPECT_EQ(Errors(head + "block 1 \"a\\tb\"\n" + grid).at(0),
              "t.txt:3: the picture name has an unknown escape '\\t' (the escapes are \\\", \\\\ "
              "and \\x with two hex digits)");
    EXPECT_EQ(Errors(head + "block 1 \"a\\x00b\"\n" + grid).at(0),
              "t.txt:3: block 1: a picture name cannot hold a zero byte");
    EXPECT_EQ(Errors(head + "block 1 " + std::string(255, 'n') + "\n" + grid).at(0),
              "t.txt:3: block 1: the picture name is 255 bytes long; at most 254 fit");
    EXPECT_EQ(Errors(head + "block 1 a.bmp\npadding 1 " + std::string(2 * 250, 'f') + "\n" + grid),
              std::vector<std::string>{"t.txt:4: padding 1 is 250 bytes; after the name and its "
                                       "zero only 249 fit"});
    EXPECT_EQ(Errors(head + "block 1 a.bmp\npadding 2 00\n" + grid),
              std::vector<std::string>{"t.txt:4: padding 2: there is no block 2"});
    EXPECT_EQ(Errors(head + "block 1 a.bmp\ntrailer abc\n" + grid),
              std::vector<std::string>{"t.txt:4: trailer: 'abc' is not hex bytes (two hex digits "
                                       "a byte)"});
    EXPECT_EQ(Errors("\n# nothing but a comment\n"),
              (std::vector<std::string>{
                  "t.txt: no speed line (the fall interval in milliseconds, as in 'speed 500')",
                  "t.txt: no timer line (the countdown in milliseconds, as in 'timer 60000')",
                  "t.txt: no block line (a level needs at least one block type, as in 'block 1 "
                  "blocks/red.bmp')",
                  "t.txt: no grid (a line 'grid' and 13 rows of 13 cells below it)"}));
}

TEST(LevelToolTextTest, ReadingStopsAfterFiftyMistakes) {
    // A text that is no level at all, 200 000 lines long, is told in 51 lines, not 200 000.
    std::string text;
    for (int line = 0; line < 200000; ++line)
        text += "x\n";
    LevelFile level;
    std::vector<std::string> errors;
    EXPECT_FALSE(LevelText::Parse(text, "t.txt", level, errors));
    ASSERT_EQ(errors.size(), 51u);
    EXPECT_EQ(errors[49],
              "t.txt:50: 'x' is not a line of a level (expected speed, timer, block or grid)");
    EXPECT_EQ(errors[50], "t.txt:50: stopped after 50 mistakes; the lines after this one were not "
                          "read");

    // Fifty mistakes that end the text are all told, with nothing left unread.
    std::string fifty = kHead + Rows(13);
    for (int line = 0; line < 50; ++line)
        fifty += "y\n";
    errors.clear();
    EXPECT_FALSE(LevelText::Parse(fifty, "t.txt", level, errors));
    ASSERT_EQ(errors.size(), 50u);
    EXPECT_EQ(errors[49],
              "t.txt:68: 'y' is not a line of a level (expected speed, timer, block or grid)");
}

TEST(LevelToolTextTest, ATextWithMistakesLeavesTheLevelAsItWas) {
    LevelFile level = ParseOrFail(kCanonical);
    const auto before = level.Bytes();
    std::vector<std::string> errors;
    EXPECT_FALSE(LevelText::Parse(kHead + Rows(12), "t.txt", level, errors));
    EXPECT_EQ(level.Bytes(), before);
}

} // namespace
