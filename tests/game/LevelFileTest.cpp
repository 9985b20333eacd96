#include "TestFiles.h"
#include "play/LevelFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A level file laid out by hand, byte by byte, so that the reader is checked against the format
// itself rather than against its own writer.
struct RawLevel {
    std::vector<uint8_t> bytes;

    void Int32(int32_t value) {
        const uint32_t bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(bits >> shift));
    }
    void Name(const std::string& name) {
        std::vector<uint8_t> field(255, 0);
        std::memcpy(field.data(), name.data(), name.size());
        bytes.insert(bytes.end(), field.begin(), field.end());
    }
    void Grid(const std::vector<uint8_t>& cells = std::vector<uint8_t>(169, 0)) {
        bytes.insert(bytes.end(), cells.begin(), cells.end());
    }
};

std::vector<uint8_t> Level(int blockTypes, int32_t speed = 500, int32_t timer = 60000) {
    RawLevel raw;
    raw.Int32(blockTypes);
    for (int type = 1; type <= blockTypes; ++type)
        raw.Name("blocks/" + std::to_string(type) + ".bmp");
    raw.Int32(speed);
    raw.Int32(timer);
    raw.Grid();
    return raw.bytes;
}

size_t GridOffset(int blockTypes) {
    return 12 + 255 * static_cast<size_t>(blockTypes);
}

void SetCount(std::vector<uint8_t>& bytes, int32_t count) {
    const uint32_t bits = static_cast<uint32_t>(count);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

// Reads a level the way the game does: from an open file.
bool ReadFromDisk(const std::string& fileName, LevelFile& level, std::vector<std::string>& faults) {
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    EXPECT_NE(file, nullptr) << fileName;
    if (!file)
        return false;
    const bool read = level.Read(file, faults);
    std::fclose(file);
    return read;
}

TEST(LevelFileTest, TheSmallestLevelReadsAndWritesBackUnchanged) {
    const auto bytes = Level(1, 500, 60000);
    ASSERT_EQ(bytes.size(), 436u);
    EXPECT_EQ(LevelFile::LevelBytes(1), 436u);

    LevelFile level;
    std::vector<std::string> faults;
    ASSERT_TRUE(level.Parse(bytes.data(), bytes.size(), faults));
    EXPECT_TRUE(faults.empty());
    EXPECT_EQ(level.BlockTypeCount(), 1);
    EXPECT_EQ(level.Name(1), "blocks/1.bmp");
    EXPECT_EQ(level.speed, 500);
    EXPECT_EQ(level.timer, 60000);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(level.Cell(x, y), 0) << x << ", " << y;
    EXPECT_TRUE(level.trailer.empty());
    EXPECT_EQ(level.Bytes(), bytes);
}

TEST(LevelFileTest, TheGridIsStoredRowByRowFromTheTopAndNumbersAreLittleEndian) {
    auto bytes = Level(3, -7, 0x01020304);
    EXPECT_EQ(bytes[GridOffset(3) - 4], 0x04);
    const size_t grid = GridOffset(3);
    bytes[grid + 13] = 3;                                // second row, left column
    bytes[grid + 1] = 2;                                 // first row, second column
    bytes[grid + 168] = 1;                               // the last byte: bottom right
    bytes[grid + 13 * 7 + 4] = static_cast<uint8_t>(-1); // hidden: occupied, never drawn
    bytes[grid + 13 * 2 + 9] = static_cast<uint8_t>(-128);

    LevelFile level;
    std::vector<std::string> faults;
    ASSERT_TRUE(level.Parse(bytes.data(), bytes.size(), faults)) << faults.front();
    EXPECT_EQ(level.Cell(0, 1), 3);
    EXPECT_EQ(level.Cell(1, 0), 2);
    EXPECT_EQ(level.Cell(12, 12), 1);
    EXPECT_EQ(level.Cell(4, 7), -1);
    EXPECT_EQ(level.Cell(9, 2), -128);
    EXPECT_EQ(level.speed, -7);
    EXPECT_EQ(level.timer, 0x01020304);

    // Writing goes the same way round.
    level.SetCell(5, 11, 2);
    EXPECT_EQ(level.Bytes()[grid + 13 * 11 + 5], 2);
}

TEST(LevelFileTest, BytesTheGameNeverReadsAreKeptForWritingBack) {
    auto bytes = Level(2);
    bytes[4 + 255 + 20] = 0xAB; // padding after block 2's name and its zero
    bytes[4 + 254] = 0x7F;      // the last byte of block 1's field
    const std::vector<uint8_t> tail = {9, 8, 7, 0, 6};
    bytes.insert(bytes.end(), tail.begin(), tail.end());

    LevelFile level;
    std::vector<std::string> faults;
    ASSERT_TRUE(level.Parse(bytes.data(), bytes.size(), faults));
    EXPECT_EQ(level.Name(1), "blocks/1.bmp");
    EXPECT_EQ(level.Name(2), "blocks/2.bmp");
    EXPECT_EQ(level.trailer, tail);
    EXPECT_EQ(level.Bytes(), bytes);
}

TEST(LevelFileTest, ANameFillsItsFieldWithZerosAndMustLeaveRoomForOne) {
    LevelFile level;
    level.nameFields.resize(1);
    level.nameFields[0].fill('x');
    ASSERT_TRUE(level.SetName(1, "a.bmp"));
    EXPECT_EQ(level.Name(1), "a.bmp");
    EXPECT_EQ(level.nameFields[0][5], '\0');
    EXPECT_EQ(level.nameFields[0][254], '\0');

    EXPECT_TRUE(level.SetName(1, std::string(254, 'n')));
    EXPECT_FALSE(level.SetName(1, std::string(255, 'n')));
    EXPECT_FALSE(level.SetName(1, std::string("a\0b", 3)));
    EXPECT_EQ(level.Name(1), std::string(254, 'n')); // a refused name changes nothing
}

struct Malformed {
    const char* what;
    std::vector<uint8_t> bytes;
    std::string fault;
};

std::vector<Malformed> MalformedFiles() {
    std::vector<Malformed> cases;
    const auto one = Level(1);
    const auto two = Level(2);
    auto endsInside = [](const std::string& field, size_t size, int types, size_t needs) {
        return field + ": the file ends inside this field (it is " + std::to_string(size) +
               " bytes long; a level with " + std::to_string(types) +
               (types == 1 ? " block type" : " block types") + " needs " + std::to_string(needs) +
               ")";
    };

    cases.push_back({"empty file",
                     {},
                     "block-type count: the file is empty (a level file is at least 436 bytes "
                     "long)"});
    cases.push_back({"cut inside the count", Cut(one, 3),
                     "block-type count: the file ends inside this field (it is 3 bytes long; a "
                     "level file is at least 436)"});
    for (int32_t count : {0, -1, 128, 1000000, INT32_MIN}) {
        auto bytes = one;
        SetCount(bytes, count);
        cases.push_back({"count out of range", bytes,
                         "block-type count: " + std::to_string(count) + " is outside 1 to 127"});
    }
    // A huge count is refused from its four bytes alone: nothing is sized by it.
    {
        std::vector<uint8_t> bytes(4);
        SetCount(bytes, 1000000);
        cases.push_back(
            {"huge count alone", bytes, "block-type count: 1000000 is outside 1 to 127"});
    }
    cases.push_back({"cut inside the first name", Cut(one, 100),
                     endsInside("block 1 picture name", 100, 1, 436)});
    cases.push_back({"cut one byte short of the second name", Cut(two, 4 + 255 + 254),
                     endsInside("block 2 picture name", 513, 2, 691)});
    cases.push_back(
        {"cut inside the speed", Cut(one, 4 + 255 + 2), endsInside("speed", 261, 1, 436)});
    cases.push_back(
        {"cut inside the timer", Cut(one, 4 + 255 + 4 + 3), endsInside("timer", 266, 1, 436)});
    cases.push_back({"cut at the grid", Cut(one, GridOffset(1)),
                     endsInside("grid cell (0, 0)", GridOffset(1), 1, 436)});
    cases.push_back({"cut inside the grid", Cut(one, GridOffset(1) + 14),
                     endsInside("grid cell (1, 1)", GridOffset(1) + 14, 1, 436)});
    cases.push_back(
        {"one byte short", Cut(one, 435), endsInside("grid cell (12, 12)", 435, 1, 436)});
    {
        auto bytes = two;
        std::memset(bytes.data() + 4 + 255, 'x', 255);
        cases.push_back({"unterminated name", bytes,
                         "block 2 picture name: no terminating zero in its 255 bytes"});
    }
    {
        auto bytes = two;
        bytes[GridOffset(2) + 13 * 7 + 4] = 3;
        cases.push_back({"grid value N + 1", bytes,
                         "grid cell (4, 7): value 3 is above the block-type count 2"});
    }
    return cases;
}

TEST(LevelFileTest, EveryMalformedFileIsRefusedWithItsFaultAndChangesNothing) {
    const auto good = Level(2, 777, 1234);
    for (const auto& bad : MalformedFiles()) {
        SCOPED_TRACE(bad.what);
        LevelFile level;
        std::vector<std::string> faults;
        ASSERT_TRUE(level.Parse(good.data(), good.size(), faults));

        EXPECT_FALSE(level.Parse(bad.bytes.data(), bad.bytes.size(), faults));
        ASSERT_EQ(faults.size(), 1u);
        EXPECT_EQ(faults[0], bad.fault);
        // The level read before is still whole.
        EXPECT_EQ(level.BlockTypeCount(), 2);
        EXPECT_EQ(level.speed, 777);
        EXPECT_EQ(level.Bytes(), good);
    }
}

TEST(LevelFileTest, TheHighestBlockTypeAndEveryNegativeValueAreAccepted) {
    auto bytes = Level(127);
    bytes[GridOffset(127)] = 127;
    bytes[GridOffset(127) + 1] = 0x80; // a signed byte: -128, a hidden cell
    bytes[GridOffset(127) + 2] = 0xFF; // -1
    LevelFile level;
    std::vector<std::string> faults;
    ASSERT_TRUE(level.Parse(bytes.data(), bytes.size(), faults));
    EXPECT_EQ(level.Cell(0, 0), 127);
    EXPECT_EQ(level.Cell(1, 0), -128);
    EXPECT_EQ(level.Cell(2, 0), -1);
}

TEST(LevelFileTest, EveryFaultIsListedInFileOrder) {
    auto bytes = Level(2);
    std::memset(bytes.data() + 4, 'x', 255);
    bytes[GridOffset(2) + 13 * 12 + 0] = 5;
    bytes[GridOffset(2) + 13 * 0 + 12] = 3;
    LevelFile level;
    std::vector<std::string> faults = {"earlier"};
    EXPECT_FALSE(level.Parse(bytes.data(), bytes.size(), faults));
    EXPECT_EQ(faults, (std::vector<std::string>{
                          "earlier",
                          "block 1 picture name: no terminating zero in its 255 bytes",
                          "grid cell (12, 0): value 3 is above the block-type count 2",
                          "grid cell (0, 12): value 5 is above the block-type count 2",
                      }));
    EXPECT_EQ(level.BlockTypeCount(), 0);

    // A name without its zero and a file that ends early are both reported.
    faults.clear();
    auto cut = Cut(bytes, 300);
    EXPECT_FALSE(level.Parse(cut.data(), cut.size(), faults));
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_EQ(faults[1].rfind("block 2 picture name: the file ends inside", 0), 0u) << faults[1];
}

TEST(LevelFileTest, ReadingFromDiskStopsWhereTheLongestLevelEnds) {
    testfiles::ScratchDir dir;
    // The longest level there can be, then far more than the game would ever need.
    auto bytes = Level(127, 300, 90000);
    bytes[GridOffset(127) + 13 * 6 + 6] = 42;
    ASSERT_EQ(bytes.size(), LevelFile::kLongestLevel);
    bytes.resize(bytes.size() + 100000, 0xEE);
    testfiles::WriteBytes(dir / "long.lev", bytes);

    LevelFile level;
    std::vector<std::string> faults;
    EXPECT_TRUE(ReadFromDisk(dir / "long.lev", level, faults));
    EXPECT_EQ(level.BlockTypeCount(), 127);
    EXPECT_EQ(level.Name(127), "blocks/127.bmp");
    EXPECT_EQ(level.timer, 90000);
    EXPECT_EQ(level.Cell(6, 6), 42);
    EXPECT_TRUE(level.trailer.empty()); // nothing past the longest level was read

    // A small level keeps what follows its grid within that reach.
    auto small = Level(1);
    small.resize(small.size() + 100000, 0x11);
    testfiles::WriteBytes(dir / "small.lev", small);
    EXPECT_TRUE(ReadFromDisk(dir / "small.lev", level, faults));
    EXPECT_EQ(level.trailer.size(), LevelFile::kLongestLevel - 436);
    EXPECT_TRUE(faults.empty());

    testfiles::WriteBytes(dir / "cut.lev", Cut(Level(1), 300));
    EXPECT_FALSE(ReadFromDisk(dir / "cut.lev", level, faults));
    EXPECT_EQ(faults, std::vector<std::string>{"grid cell (7, 2): the file ends inside this field "
                                               "(it is 300 bytes long; a level with 1 block type "
                                               "needs 436)"});
}

} // namespace
