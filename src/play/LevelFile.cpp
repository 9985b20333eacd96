#include "play/LevelFile.h"

#include <algorithm>
#include <utility>

namespace {

int32_t ReadInt32(const uint8_t* bytes) {
    const uint32_t value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                           static_cast<uint32_t>(bytes[2]) << 16 |
                           static_cast<uint32_t>(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

void AppendInt32(std::vector<uint8_t>& bytes, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(bits >> shift));
}

std::string PictureField(int32_t type) {
    return "block " + std::to_string(type) + " picture name";
}

std::string CellField(int index) {
    return "grid cell (" + std::to_string(index % LevelFile::kGridSize) + ", " +
           std::to_string(index / LevelFile::kGridSize) + ")";
}

// The file ends inside `field`: how long it is, and how long it had to be.
std::string EndsInside(const std::string& field, size_t size, int32_t blockTypes) {
    const std::string shortest =
        std::to_string(LevelFile::LevelBytes(LevelFile::kFewestBlockTypes));
    if (size == 0)
        return field + ": the file is empty (a level file is at least " + shortest + " bytes long)";
    std::string text = field + ": the file ends inside this field (it is " + std::to_string(size) +
                       " bytes long; ";
    if (blockTypes == 0)
        return text + "a level file is at least " + shortest + ")";
    return text + "a level with " + std::to_string(blockTypes) +
           (blockTypes == 1 ? " block type" : " block types") + " needs " +
           std::to_string(LevelFile::LevelBytes(blockTypes)) + ")";
}

} // namespace

std::string LevelFile::Name(int32_t type) const {
    const NameField& field = nameFields[type - 1];
    return std::string(field.begin(), std::find(field.begin(), field.end(), '\0'));
}

bool LevelFile::SetName(int32_t type, const std::string& name) {
    if (name.size() >= static_cast<size_t>(kNameFieldSize) || name.find('\0') != std::string::npos)
        return false;
    NameField& field = nameFields[type - 1];
    field.fill('\0');
    std::copy(name.begin(), name.end(), field.begin());
    return true;
}

bool LevelFile::Parse(const uint8_t* bytes, size_t size, std::vector<std::string>& faults) {
    const size_t faultsBefore = faults.size();

    if (size < 4) {
        faults.push_back(EndsInside("block-type count", size, 0));
        return false;
    }
    // The count is judged before anything is sized by it: a count of a million or below one
    // never reaches an allocation or a length calculation.
    const int32_t blockTypes = ReadInt32(bytes);
    if (blockTypes < kFewestBlockTypes || blockTypes > kMostBlockTypes) {
        faults.push_back("block-type count: " + std::to_string(blockTypes) + " is outside " +
                         std::to_string(kFewestBlockTypes) + " to " +
                         std::to_string(kMostBlockTypes));
        return false;
    }

    LevelFile level;
    size_t offset = 4;
    level.nameFields.resize(static_cast<size_t>(blockTypes));
    for (int32_t type = 1; type <= blockTypes; ++type, offset += kNameFieldSize) {
        if (size < offset + kNameFieldSize) {
            faults.push_back(EndsInside(PictureField(type), size, blockTypes));
            return false;
        }
        NameField& field = level.nameFields[static_cast<size_t>(type - 1)];
        std::copy(bytes + offset, bytes + offset + kNameFieldSize, field.begin());
        // The game passes the name on as a C string: it must end inside its own field.
        if (std::find(field.begin(), field.end(), '\0') == field.end())
            faults.push_back(PictureField(type) + ": no terminating zero in its " +
                             std::to_string(kNameFieldSize) + " bytes");
    }

    for (auto [field, value] : {std::pair{"speed", &level.speed}, {"timer", &level.timer}}) {
        if (size < offset + 4) {
            faults.push_back(EndsInside(field, size, blockTypes));
            return false;
        }
        *value = ReadInt32(bytes + offset);
        offset += 4;
    }

    for (int index = 0; index < kGridCells; ++index, ++offset) {
        if (size <= offset) {
            faults.push_back(EndsInside(CellField(index), size, blockTypes));
            return false;
        }
        const int8_t value = static_cast<int8_t>(bytes[offset]);
        // A block type without a picture could never be drawn.
        if (value > blockTypes)
            faults.push_back(CellField(index) + ": value " + std::to_string(value) +
                             " is above the block-type count " + std::to_string(blockTypes));
        level.grid[static_cast<size_t>(index)] = value;
    }
    level.trailer.assign(bytes + offset, bytes + size);

    if (faults.size() != faultsBefore)
        return false;
    *this = std::move(level);
    return true;
}

bool LevelFile::Read(std::FILE* file, std::vector<std::string>& faults) {
    // Bytes after a level's grid are never read by the game, so nothing past the longest level
    // is needed: the read is bounded whatever the file holds.
    std::vector<uint8_t> bytes(kLongestLevel);
    const size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
    if (std::ferror(file)) {
        faults.push_back("the file could not be read");
        return false;
    }
    return Parse(bytes.data(), size, faults);
}

std::vector<uint8_t> LevelFile::Bytes() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(LevelBytes(BlockTypeCount()) + trailer.size());
    AppendInt32(bytes, BlockTypeCount());
    for (const NameField& field : nameFields)
        bytes.insert(bytes.end(), field.begin(), field.end());
    AppendInt32(bytes, speed);
    AppendInt32(bytes, timer);
    for (int8_t value : grid)
        bytes.push_back(static_cast<uint8_t>(value));
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    return bytes;
}
