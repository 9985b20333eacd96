// The replay driver's script reader and its PNG writer.
#include "ContentFiles.h"
#include "ReplayScript.h"
#include "raster/Png.h"

#include <gtest/gtest.h>

#include <string>

using replay::Op;

namespace {

replay::Script Parse(const std::string& text) {
    replay::Script script;
    replay::ParseError error;
    EXPECT_TRUE(replay::ParseScript(text, &script, &error))
        << "line " << error.line << ": " << error.message;
    return script;
}

// The line a faulty script is refused at, 0 when it is taken.
int RefusedAt(const std::string& text) {
    replay::Script script;
    replay::ParseError error;
    return replay::ParseScript(text, &script, &error) ? 0 : error.line;
}

} // namespace

TEST(ReplayScript, ReadsSetupAndCommandsInOrder) {
    const replay::Script script = Parse("# a comment\n"
                                        "seed 7\n"
                                        "clock 4294967000\r\n"
                                        "file quibbo.ini 30 00ff\n"
                                        "fail IDirectDraw7::SetDisplayMode 2\n"
                                        "\n"
                                        "until QuitConfirm\n"
                                        "  until 13 500  \n"
                                        "press vk48\n"
                                        "type a_\n"
                                        "click 10 20\n"
                                        "expect keyNames[0] Left Arrow\n"
                                        "expect log logs/GameLog.txt State set: 1\n"
                                        "expect pixel 0 479 3FBDF0\n"
                                        "shot out.PNG");
    EXPECT_EQ(script.seed, 7u);
    EXPECT_EQ(script.clock, 4294967000u);
    ASSERT_EQ(script.files.size(), 1u);
    EXPECT_EQ(script.files[0].path, "quibbo.ini");
    EXPECT_EQ(script.files[0].bytes, (std::vector<uint8_t>{0x30, 0x00, 0xFF}));
    ASSERT_EQ(script.failures.size(), 1u);
    EXPECT_EQ(script.failures[0].operation, "IDirectDraw7::SetDisplayMode");
    EXPECT_EQ(script.failures[0].times, 2);

    const auto& commands = script.commands;
    ASSERT_EQ(commands.size(), 9u);
    EXPECT_EQ(commands[0].op, Op::Until);
    EXPECT_EQ(commands[0].line, 7);
    EXPECT_EQ(commands[0].number, 7);
    EXPECT_EQ(commands[0].second, 60000);
    EXPECT_EQ(commands[1].number, 13);
    EXPECT_EQ(commands[1].second, 500);
    EXPECT_EQ(commands[2].op, Op::Press);
    EXPECT_EQ(commands[2].number, 48);
    // A letter is its capital's key; an underscore is the minus key with Shift held.
    const std::vector<std::pair<int, bool>> strokes{{'A', true}, {'A', false}, {16, true},
                                                    {189, true}, {189, false}, {16, false}};
    ASSERT_EQ(commands[3].strokes.size(), strokes.size());
    for (size_t i = 0; i < strokes.size(); ++i) {
        EXPECT_EQ(commands[3].strokes[i].key, strokes[i].first) << i;
        EXPECT_EQ(commands[3].strokes[i].down, strokes[i].second) << i;
    }
    EXPECT_EQ(commands[4].op, Op::Click);
    EXPECT_EQ(commands[4].second, 20);
    EXPECT_EQ(commands[5].op, Op::ExpectField);
    EXPECT_EQ(commands[5].field, replay::Field::KeyName);
    EXPECT_EQ(commands[5].slot, 0);
    EXPECT_EQ(commands[5].text, "Left Arrow");
    EXPECT_EQ(commands[6].path, "logs/GameLog.txt");
    EXPECT_EQ(commands[6].text, "State set: 1");
    EXPECT_EQ(commands[7].third, 0x3FBDF0);
    EXPECT_EQ(commands[8].op, Op::Shot);
    EXPECT_EQ(commands[8].line, 15);
}

TEST(ReplayScript, ReadsTheFilesOfPlayAndItsFields) {
    const replay::Script script = Parse("text levels.txt 2  a.lev b.lev\n"
                                        "remove border.txt\n"
                                        "start\n"
                                        "expect cloudX[2] -208\n"
                                        "expect borderSide[3] 1\n"
                                        "expect hurryLocked 1\n");
    ASSERT_EQ(script.files.size(), 2u);
    const std::string list = "2  a.lev b.lev\n";
    EXPECT_EQ(script.files[0].bytes, std::vector<uint8_t>(list.begin(), list.end()));
    EXPECT_FALSE(script.files[0].remove);
    EXPECT_EQ(script.files[1].path, "border.txt");
    EXPECT_TRUE(script.files[1].remove);
    ASSERT_EQ(script.commands.size(), 4u);
    EXPECT_EQ(script.commands[0].op, Op::Start);
    EXPECT_EQ(script.commands[1].field, replay::Field::CloudX);
    EXPECT_EQ(script.commands[1].slot, 2);
    EXPECT_EQ(script.commands[1].number, -208);
    EXPECT_EQ(replay::FieldName(script.commands[2].field, script.commands[2].slot),
              "borderSide[3]");

    // Three clouds, four border pieces; the setup files come before everything else.
    EXPECT_EQ(RefusedAt("frames 1\nexpect cloudX[3] 0\n"), 2);
    EXPECT_EQ(RefusedAt("frames 1\nexpect borderSide 0\n"), 2);
    EXPECT_EQ(RefusedAt("frames 1\ntext levels.txt 1 a.lev\n"), 2);
    EXPECT_EQ(RefusedAt("remove\n"), 1);
}

TEST(ReplayScript, RefusesAFaultyLineByItsNumber) {
    const char* const faulty[] = {
        "jump 3",
        "frames",
        "frames -1",
        "frames 2 3",
        "wait soon",
        "until Sleeping",
        "until 1 -5",
        "press F13",
        "press vk0",
        "press vk256",
        "type a+b",
        "move 10",
        "click 1 70000",
        "shot frame.gif",
        "expect",
        "expect colour 3",
        "expect keyNames[4] A",
        "expect keyCodes 37",
        "expect score",
        "expect score 1.5",
        "expect customLevel 2",
        "expect file quibbo.ini 123",
        "expect log logs/GameLog.txt",
        "expect last logs/GameLog.txt ERROR",
        "expect pixel 1 1 12345",
        "expect exit",
        "fail",
        "fail IDirectDraw7::Blt 0",
        "seed -1",
        "clock 4294967296",
    };
    for (const char* line : faulty)
        EXPECT_EQ(RefusedAt("# header\n\n" + std::string(line) + "\nframes 1\n"), 3) << line;
    // Setup comes first, once.
    EXPECT_EQ(RefusedAt("frames 1\nseed 1\n"), 2);
    EXPECT_EQ(RefusedAt("frames 1\nfile quibbo.ini\n"), 2);
    EXPECT_EQ(RefusedAt("seed 1\nclock 5\nclock 6\n"), 3);
    EXPECT_EQ(RefusedAt("seed 1\nclock 5\nfile a 00\nfail CreateRectRgn\nframes 1\n"), 0);
}

// A failure before every other command is forced from start-up; a later one at its place.
TEST(ReplayScript, ForcesFailuresFromStartUpOrAtTheirPlace) {
    const replay::Script script = Parse("seed 3\n"
                                        "fail IDirectDraw7::EnumDisplayModes\n"
                                        "file quibbo.ini\n"
                                        "frames 1\n"
                                        "fail IDirectDraw7::SetDisplayMode 2\n"
                                        "expect titleDX -4\n");
    ASSERT_EQ(script.failures.size(), 1u);
    EXPECT_EQ(script.failures[0].operation, "IDirectDraw7::EnumDisplayModes");
    EXPECT_EQ(script.failures[0].times, 1);
    ASSERT_EQ(script.commands.size(), 3u);
    EXPECT_EQ(script.commands[1].op, Op::Fail);
    EXPECT_EQ(script.commands[1].path, "IDirectDraw7::SetDisplayMode");
    EXPECT_EQ(script.commands[1].number, 2);
    EXPECT_EQ(script.commands[2].field, replay::Field::TitleDX);
    EXPECT_EQ(script.commands[2].number, -4);

    EXPECT_EQ(RefusedAt("fail Blt 1 2\n"), 1);
}

TEST(ReplayScript, KnowsKeysAndStatesByName) {
    int key = 0;
    ASSERT_TRUE(replay::KeyFromName("ESCAPE", &key));
    EXPECT_EQ(key, 27);
    ASSERT_TRUE(replay::KeyFromName("pause", &key));
    EXPECT_EQ(key, 19);
    ASSERT_TRUE(replay::KeyFromName("0", &key));
    EXPECT_EQ(key, 48);
    ASSERT_TRUE(replay::KeyFromName("vk254", &key));
    EXPECT_EQ(key, 254);

    int32_t state = 0;
    ASSERT_TRUE(replay::StateFromName("Paused", &state));
    EXPECT_EQ(state, 13);
    ASSERT_TRUE(replay::StateFromName("0", &state));
    EXPECT_EQ(state, 0);
    EXPECT_EQ(replay::DescribeState(7), "QuitConfirm (7)");
    EXPECT_EQ(replay::DescribeState(42), "42");
    EXPECT_EQ(replay::FieldName(replay::Field::KeyCode, 3), "keyCodes[3]");
}

TEST(ReplayPng, ChecksumsMatchTheirStandards) {
    const std::string check = "123456789";
    EXPECT_EQ(raster::Crc32(reinterpret_cast<const uint8_t*>(check.data()), check.size()),
              0xCBF43926u);
    const std::string wiki = "Wikipedia";
    EXPECT_EQ(raster::Adler32(reinterpret_cast<const uint8_t*>(wiki.data()), wiki.size()),
              0x11E60398u);
}

TEST(ReplayPng, StoresRowsBehindTheirFilterBytesInOneLastBlock) {
    const std::vector<uint8_t> rgb{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    std::string why;
    const auto png = contentfiles::ParsePng(raster::EncodePng(2, 2, 3, rgb), &why);
    ASSERT_TRUE(png) << why;
    EXPECT_EQ(png->width, 2);
    EXPECT_EQ(png->height, 2);
    EXPECT_EQ(png->channels, 3);
    EXPECT_EQ(png->storedBlocks, 1);
    EXPECT_EQ(png->bytes, rgb);
}
