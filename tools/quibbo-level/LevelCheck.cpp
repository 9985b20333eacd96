#include "LevelCheck.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Where the first falling block comes in, and the cell it lands on if it cannot fall.
constexpr int kEntryX = 6;
constexpr int kEntryY = 7;

} // namespace

LevelCheck LevelCheck::Bytes(const std::vector<uint8_t>& bytes, const std::string& dataFolder) {
    LevelCheck check;
    LevelFile level;
    if (!level.Parse(bytes.data(), bytes.size(), check.errors))
        return check;
    check.Play(level);
    if (!dataFolder.empty())
        check.Pictures(level, dataFolder);
    return check;
}

void LevelCheck::Play(const LevelFile& level) {
    if (level.speed == 0)
        warnings.push_back("speed: 0 ms: the falling block drops a row on every frame");
    else if (level.speed < 0)
        warnings.push_back("speed: " + std::to_string(level.speed) +
                           " ms is below zero: the block falls only while it is hurried");
    if (level.timer <= 0)
        warnings.push_back("timer: " + std::to_string(level.timer) +
                           " ms: the countdown runs out as soon as play starts");

    if (level.Cell(kEntryX, kEntryY) != 0)
        warnings.push_back("grid cell (6, 7): the entry cell is occupied: the first block to come "
                           "to rest costs a life");
    if (level.Cell(kEntryX, kEntryY + 1) != 0)
        warnings.push_back("grid cell (6, 8): occupied below the entry cell: the first block comes "
                           "to rest in the entry cell at once and costs a life");
    if (std::all_of(level.grid.begin(), level.grid.end(), [](int8_t cell) { return cell == 0; }))
        warnings.push_back("grid: no blocks at all: the level is won as soon as play starts");

    if (!level.trailer.empty())
        warnings.push_back("after the grid: " + std::to_string(level.trailer.size()) +
                           (level.trailer.size() == 1 ? " byte" : " bytes") +
                           " that the game does not read (is the block-type count right?)");
}

void LevelCheck::Pictures(const LevelFile& level, const std::string& dataFolder) {
    for (int32_t type = 1; type <= level.BlockTypeCount(); ++type) {
        const std::string field = "block " + std::to_string(type) + " picture name: ";
        const std::string unloadable = ": the game cannot load this level";
        const std::string name = level.Name(type);
        if (name.empty()) {
            warnings.push_back(field + "empty" + unloadable);
            continue;
        }
        // The game names its pictures relative to the folder it runs in.
        const fs::path path = dataFolder == "." ? fs::path(name) : fs::path(dataFolder) / name;
        std::error_code error;
        if (!fs::exists(path, error)) {
            warnings.push_back(field + "no file " + path.string() + unloadable);
            continue;
        }
        if (!fs::is_regular_file(path, error)) {
            warnings.push_back(field + path.string() + " is not a file" + unloadable);
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        char magic[2] = {};
        if (!in.read(magic, sizeof magic) || magic[0] != 'B' || magic[1] != 'M')
            warnings.push_back(field + path.string() + " is not a Windows bitmap" + unloadable);
    }
}
