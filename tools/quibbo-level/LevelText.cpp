#include "LevelText.h"
#include "LevelTextEscape.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

namespace LevelText {

namespace {

constexpr int kSize = LevelFile::kGridSize;
constexpr size_t kLongestName = LevelFile::kNameFieldSize - 1; // its zero takes the last byte
// Reading stops at this many mistakes: a text that is no level at all (a picture or a level
// file given by mistake) says so in a screenful, not in a line for each of its lines.
constexpr size_t kMostMistakes = 50;
constexpr char kCellHelp[] =
    "use . for an empty cell, 1-9 or A-Z for a block type, * for a hidden cell, [n] for any value";

// ---- reading ----

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A word as messages show it: between quotes, with anything unprintable as \xHH.
std::string Quoted(const std::string& word) {
    std::string text = "'";
    for (unsigned char c : word) {
        if (c >= 0x20 && c <= 0x7E)
            text += static_cast<char>(c);
        else
            AppendEscaped(text, c);
    }
    return text + "'";
}

std::string Rows(int count) {
    return std::to_string(count) + (count == 1 ? " row" : " rows");
}

bool IsKeyword(const std::string& word) {
    return word == "speed" || word == "timer" || word == "block" || word == "padding" ||
           word == "trailer" || word == "grid";
}

// Reads one line word by word; a '#' where a word or a cell could start begins a comment. The
// line is a view into the text: reading it copies only the words it takes.
struct Cursor {
    std::string_view line;
    size_t pos = 0;

    void SkipBlanks() {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos >= line.size() || line[pos] == '#';
    }
    std::string Word() {
        SkipBlanks();
        const size_t start = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t')
            ++pos;
        return std::string(line.substr(start, pos - start));
    }
};

enum class Number { Ok, Missing, NotANumber, OutOfRange };

Number ReadNumber(const std::string& word, long long lowest, long long highest, long long& value) {
    if (word.empty())
        return Number::Missing;
    const char* end = word.data() + word.size();
    const auto [stop, fault] = std::from_chars(word.data(), end, value);
    if (fault == std::errc::result_out_of_range)
        return Number::OutOfRange;
    if (fault != std::errc() || stop != end)
        return Number::NotANumber;
    return value < lowest || value > highest ? Number::OutOfRange : Number::Ok;
}

bool ReadHex(const std::string& word, std::vector<uint8_t>& bytes) {
    if (word.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < word.size(); i += 2) {
        const int high = HexValue(word[i]);
        const int low = HexValue(word[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}

class Parser {
public:
    Parser(const std::string& source, std::vector<std::string>& errors)
        : source(source), errors(errors) {}

    void Line(int number, std::string_view line);
    void End(int lastLine);
    bool Build(LevelFile& level);
    // True once there are so many mistakes that reading stops; later ones are not kept.
    bool Stopped() const { return errors.size() >= kMostMistakes; }

private:
    struct Block {
        int line;
        std::string name;
    };
    struct Padding {
        int line;
        std::vector<uint8_t> bytes;
    };

    void Error(int line, const std::string& message) {
        if (!Stopped())
            errors.push_back(source + ":" + std::to_string(line) + ": " + message);
    }
    void Missing(const std::string& message) {
        if (!Stopped())
            errors.push_back(source + ": " + message);
    }

    void Statement(int number, Cursor& cursor);
    void Value(int number, Cursor& cursor, const char* keyword, const char* example,
               std::optional<int>& seenOn, int32_t& value);
    void BlockLine(int number, Cursor& cursor);
    void PaddingLine(int number, Cursor& cursor);
    void TrailerLine(int number, Cursor& cursor);
    void GridLine(int number, Cursor& cursor);
    bool Row(int number, Cursor& cursor);
    bool QuotedName(int number, Cursor& cursor, std::string& name);
    bool BlockType(int number, const std::string& word, const char* keyword, const char* example,
                   int32_t& type);
    void ExpectEnd(int number, Cursor& cursor, const std::string& after);

    const std::string& source;
    std::vector<std::string>& errors;

    std::optional<int> speedLine, timerLine, gridLine;
    int32_t speed = 0;
    int32_t timer = 0;
    std::map<int32_t, Block> blocks;
    std::map<int32_t, Padding> paddings;
    std::vector<uint8_t> trailer;

    bool inGrid = false;
    int rows = 0;
    std::array<int8_t, LevelFile::kGridCells> cells{};
    std::array<int, kSize> rowLines{}; // 0 for a row that could not be read
};

void Parser::Line(int number, std::string_view line) {
    Cursor cursor{line};
    if (cursor.AtEnd())
        return;
    if (inGrid) {
        if (Row(number, cursor))
            return;
        // Not a row but a statement: the grid stopped short of its 13 rows.
        Error(number, "the grid has " + Rows(rows) + ", expected 13");
        inGrid = false;
        cursor.pos = 0;
    }
    Statement(number, cursor);
}

void Parser::End(int lastLine) {
    if (inGrid)
        Error(lastLine, "the text ends after " + Rows(rows) + " of the grid, expected 13");
    inGrid = false;
}

void Parser::Statement(int number, Cursor& cursor) {
    const std::string keyword = cursor.Word();
    if (keyword == "speed")
        Value(number, cursor, "speed", "speed 500", speedLine, speed);
    else if (keyword == "timer")
        Value(number, cursor, "timer", "timer 60000", timerLine, timer);
    else if (keyword == "block")
        BlockLine(number, cursor);
    else if (keyword == "padding")
        PaddingLine(number, cursor);
    else if (keyword == "trailer")
        TrailerLine(number, cursor);
    else if (keyword == "grid")
        GridLine(number, cursor);
    else
        Error(number, Quoted(keyword) + " is not a line of a level (expected speed, timer, "
                                        "block or grid)");
}

void Parser::ExpectEnd(int number, Cursor& cursor, const std::string& after) {
    if (!cursor.AtEnd())
        Error(number, "unexpected " + Quoted(cursor.Word()) + " after " + after);
}

void Parser::Value(int number, Cursor& cursor, const char* keyword, const char* example,
                   std::optional<int>& seenOn, int32_t& value) {
    if (seenOn) {
        Error(number, std::string("a second ") + keyword + " line (the first is line " +
                          std::to_string(*seenOn) + ")");
        return;
    }
    const std::string word = cursor.AtEnd() ? std::string() : cursor.Word();
    long long read = 0;
    switch (ReadNumber(word, INT32_MIN, INT32_MAX, read)) {
    case Number::Missing:
        Error(number,
              std::string(keyword) + " needs a number of milliseconds, as in '" + example + "'");
        return;
    case Number::NotANumber:
        Error(number, std::string(keyword) + ": " + Quoted(word) + " is not a whole number");
        return;
    case Number::OutOfRange:
        Error(number, std::string(keyword) + ": " + word + " is outside -2147483648 to 2147483647");
        return;
    case Number::Ok:
        break;
    }
    seenOn = number;
    value = static_cast<int32_t>(read);
    ExpectEnd(number, cursor, std::string("the ") + keyword);
}

bool Parser::BlockType(int number, const std::string& word, const char* keyword,
                       const char* example, int32_t& type) {
    long long read = 0;
    switch (ReadNumber(word, LevelFile::kFewestBlockTypes, LevelFile::kMostBlockTypes, read)) {
    case Number::Missing:
        Error(number, std::string(keyword) + " needs a block type, as in '" + example + "'");
        return false;
    case Number::NotANumber:
        Error(number, std::string(keyword) + ": " + Quoted(word) + " is not a block type number");
        return false;
    case Number::OutOfRange:
        Error(number, std::string(keyword) + " " + word + ": block types go from 1 to 127");
        return false;
    case Number::Ok:
        break;
    }
    type = static_cast<int32_t>(read);
    return true;
}

bool Parser::QuotedName(int number, Cursor& cursor, std::string& name) {
    const std::string_view line = cursor.line;
    size_t& pos = cursor.pos;
    ++pos; // the opening quote
    for (;;) {
        if (pos >= line.size()) {
            Error(number, "the picture name has no closing quote");
            return false;
        }
        const char c = line[pos++];
        if (c == '"')
            return true;
        if (c != '\\') {
            name += c;
            continue;
        }
        const char escaped = pos < line.size() ? line[pos] : '\0';
        if (escaped == '"' || escaped == '\\') {
            name += escaped;
            ++pos;
        } else if (escaped == 'x' && pos + 2 < line.size() && HexValue(line[pos + 1]) >= 0 &&
                   HexValue(line[pos + 2]) >= 0) {
            name += static_cast<char>(HexValue(line[pos + 1]) * 16 + HexValue(line[pos + 2]));
            pos += 3;
        } else {
            Error(number, "the picture name has an unknown escape " +
                              Quoted(std::string(line.substr(pos - 1, 2))) +
                              " (the escapes are \\\", \\\\ and \\x with two hex digits)");
            return false;
        }
    }
}

void Parser::BlockLine(int number, Cursor& cursor) {
    int32_t type = 0;
    if (!BlockType(number, cursor.AtEnd() ? std::string() : cursor.Word(), "block",
                   "block 1 blocks/red.bmp", type))
        return;
    const std::string what = "block " + std::to_string(type);
    std::string name;
    if (cursor.AtEnd()) {
        Error(number, what + " needs a picture name, as in 'block " + std::to_string(type) +
                          " blocks/red.bmp'");
        return;
    }
    if (cursor.line[cursor.pos] == '"') {
        if (!QuotedName(number, cursor, name))
            return;
    } else {
        name = cursor.Word();
    }
    ExpectEnd(number, cursor, "the picture name (put a name with blanks in \"quotes\")");
    if (name.find('\0') != std::string::npos) {
        Error(number, what + ": a picture name cannot hold a zero byte");
        return;
    }
    if (name.size() > kLongestName) {
        Error(number, what + ": the picture name is " + std::to_string(name.size()) +
                          " bytes long; at most " + std::to_string(kLongestName) + " fit");
        return;
    }
    const auto [first, added] = blocks.emplace(type, Block{number, name});
    if (!added)
        Error(number,
              what + " is given twice (first on line " + std::to_string(first->second.line) + ")");
}

void Parser::PaddingLine(int number, Cursor& cursor) {
    int32_t type = 0;
    if (!BlockType(number, cursor.AtEnd() ? std::string() : cursor.Word(), "padding",
                   "padding 1 00ff", type))
        return;
    const std::string word = cursor.AtEnd() ? std::string() : cursor.Word();
    std::vector<uint8_t> bytes;
    if (!ReadHex(word, bytes)) {
        Error(number, "padding " + std::to_string(type) + ": " + Quoted(word) +
                          " is not hex bytes (two hex digits a byte)");
        return;
    }
    ExpectEnd(number, cursor, "the padding");
    const auto [first, added] = paddings.emplace(type, Padding{number, std::move(bytes)});
    if (!added)
        Error(number, "padding " + std::to_string(type) + " is given twice (first on line " +
                          std::to_string(first->second.line) + ")");
}

void Parser::TrailerLine(int number, Cursor& cursor) {
    const std::string word = cursor.AtEnd() ? std::string() : cursor.Word();
    if (!ReadHex(word, trailer)) {
        Error(number, "trailer: " + Quoted(word) + " is not hex bytes (two hex digits a byte)");
        return;
    }
    ExpectEnd(number, cursor, "the trailer");
}

void Parser::GridLine(int number, Cursor& cursor) {
    ExpectEnd(number, cursor, "grid (the rows go on the lines below it)");
    if (gridLine)
        Error(number, "a second grid (the first is on line " + std::to_string(*gridLine) + ")");
    else
        gridLine = number;
    inGrid = true;
    rows = 0;
}

// False when the line is no row at all but a statement; true when it was taken as a row, read
// or refused.
bool Parser::Row(int number, Cursor& cursor) {
    const int y = rows;
    std::array<int8_t, kSize> values{};
    int count = 0;
    std::string fault;
    while (fault.empty() && !cursor.AtEnd()) {
        const char c = cursor.line[cursor.pos++];
        int value = 0;
        if (c == '.') {
            value = 0;
        } else if (c == '*') {
            value = -1;
        } else if (c >= '1' && c <= '9') {
            value = c - '0';
        } else if (c >= 'A' && c <= 'Z') {
            value = c - 'A' + 10;
        } else if (c == '[') {
            const size_t close = cursor.line.find(']', cursor.pos);
            if (close == std::string::npos) {
                fault = "'[' without its ']'";
                break;
            }
            const std::string inside(cursor.line.substr(cursor.pos, close - cursor.pos));
            long long read = 0;
            if (ReadNumber(inside, INT8_MIN, INT8_MAX, read) != Number::Ok)
                fault = "[" + inside + "] is not a cell value from -128 to 127";
            value = static_cast<int>(read);
            cursor.pos = close + 1;
        } else {
            Cursor first{cursor.line};
            if (count == 0 && IsKeyword(first.Word()))
                return false;
            fault = Quoted(std::string(1, c)) + " is not a cell (" + kCellHelp + ")";
        }
        if (count < kSize)
            values[count] = static_cast<int8_t>(value);
        ++count;
    }
    const std::string row = "row " + std::to_string(y);
    if (!fault.empty()) {
        Error(number, row + ": " + fault);
    } else if (count != kSize) {
        Error(number, row + " has " + std::to_string(count) + " cells, expected 13");
    } else {
        std::copy(values.begin(), values.end(), cells.begin() + kSize * y);
        rowLines[y] = number;
    }
    if (++rows == kSize)
        inGrid = false;
    return true;
}

bool Parser::Build(LevelFile& level) {
    if (!speedLine)
        Missing("no speed line (the fall interval in milliseconds, as in 'speed 500')");
    if (!timerLine)
        Missing("no timer line (the countdown in milliseconds, as in 'timer 60000')");
    if (blocks.empty())
        Missing("no block line (a level needs at least one block type, as in "
                "'block 1 blocks/red.bmp')");
    if (!gridLine)
        Missing("no grid (a line 'grid' and 13 rows of 13 cells below it)");

    const int32_t blockTypes = blocks.empty() ? 0 : blocks.rbegin()->first;
    for (int32_t type = 1; type < blockTypes; ++type)
        if (blocks.count(type) == 0)
            Missing("no line for block " + std::to_string(type) + ", though the blocks go up to " +
                    std::to_string(blockTypes));
    for (const auto& [type, padding] : paddings) {
        const auto block = blocks.find(type);
        if (block == blocks.end()) {
            Error(padding.line, "padding " + std::to_string(type) + ": there is no block " +
                                    std::to_string(type));
            continue;
        }
        const size_t room = kLongestName - block->second.name.size();
        if (padding.bytes.size() > room)
            Error(padding.line, "padding " + std::to_string(type) + " is " +
                                    std::to_string(padding.bytes.size()) +
                                    " bytes; after the name and its zero only " +
                                    std::to_string(room) + " fit");
    }
    if (blockTypes > 0) {
        for (int y = 0; y < kSize; ++y) {
            if (rowLines[y] == 0)
                continue;
            for (int x = 0; x < kSize; ++x) {
                const int value = cells[kSize * y + x];
                if (value > blockTypes)
                    Error(rowLines[y], "cell (" + std::to_string(x) + ", " + std::to_string(y) +
                                           "): block type " + std::to_string(value) +
                                           " has no block line (the blocks go up to " +
                                           std::to_string(blockTypes) + ")");
            }
        }
    }
    if (!errors.empty())
        return false;

    LevelFile built;
    built.nameFields.resize(static_cast<size_t>(blockTypes));
    for (const auto& [type, block] : blocks) {
        built.SetName(type, block.name);
        const auto padding = paddings.find(type);
        if (padding != paddings.end()) {
            const auto& bytes = padding->second.bytes;
            auto& field = built.nameFields[static_cast<size_t>(type - 1)];
            std::copy(bytes.begin(), bytes.end(), field.begin() + block.name.size() + 1);
        }
    }
    built.speed = speed;
    built.timer = timer;
    built.grid = cells;
    built.trailer = trailer;
    level = std::move(built);
    return true;
}

} // namespace

bool Parse(const std::string& text, const std::string& source, LevelFile& level,
           std::vector<std::string>& errors) {
    std::vector<std::string> found;
    Parser parser(source, found);
    // A text saved with a byte-order mark starts with it; it is no part of the first line.
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    int number = 0;
    while (start < text.size() && !parser.Stopped()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line = std::string_view(text).substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        parser.Line(++number, line);
        start = end + 1;
    }
    const bool stopped = parser.Stopped() && start < text.size();
    parser.End(number);
    const bool built = parser.Build(level);
    errors.insert(errors.end(), found.begin(), found.end());
    if (stopped)
        errors.push_back(source + ":" + std::to_string(number) + ": stopped after " +
                         std::to_string(kMostMistakes) +
                         " mistakes; the lines after this one were not read");
    return built;
}

} // namespace LevelText
