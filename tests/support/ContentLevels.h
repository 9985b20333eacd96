// Our level set as the build leaves it: the texts in the source tree, the level list and the
// level files in the game's folder.
#pragma once

#include "play/LevelFile.h"

#include "ContentFiles.h"
#include "TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace contentlevels {

// The level texts, in playing order (by file name).
inline std::vector<std::filesystem::path> Texts() {
    std::vector<std::filesystem::path> texts;
    for (const auto& entry : std::filesystem::directory_iterator(QUIBBO_LEVEL_TEXTS))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            texts.push_back(entry.path());
    std::sort(texts.begin(), texts.end());
    return texts;
}

// The words of the game's levels.txt: the count first, then the names.
inline std::vector<std::string> ListWords() {
    std::istringstream text(testfiles::ReadText(contentfiles::GameDir() + "/levels.txt"));
    std::vector<std::string> words;
    for (std::string word; text >> word;)
        words.push_back(word);
    return words;
}

// The level names of levels.txt, as many as its count says (none if it is unreadable).
inline std::vector<std::string> ListedLevels() {
    const std::vector<std::string> words = ListWords();
    if (words.empty())
        return {};
    const size_t count = static_cast<size_t>(std::max(0, std::atoi(words[0].c_str())));
    return std::vector<std::string>(words.begin() + 1,
                                    words.begin() + 1 + std::min(count, words.size() - 1));
}

// The built level file `name` (as levels.txt names it); false, with the faults, if unreadable.
inline bool Load(const std::string& name, LevelFile& level, std::vector<std::string>& faults) {
    const std::vector<uint8_t> bytes = testfiles::ReadBytes(contentfiles::GameDir() + "/" + name);
    return level.Parse(bytes.data(), bytes.size(), faults);
}

// "levels/07.lev" -> "Level07", for test names.
inline std::string TestName(const std::string& name) {
    std::string stem = std::filesystem::path(name).stem().string();
    stem.erase(std::remove_if(stem.begin(), stem.end(),
                              [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }),
               stem.end());
    return "Level" + stem;
}

} // namespace contentlevels
