// Everything the game loads from its folder, made in memory and then written out, laid out as
// the game reads it: common/, menu/, backdrops/, scenery/, sound/, levels/ and border.txt, and
// the program's icon quibbo.ico beside the program.
#pragma once

#include "raster/Image.h"
#include "raster/Text.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace content {

struct Picture {
    std::string path; // relative to the game's folder, forward slashes
    raster::Image image;
    raster::Pixel key; // the colour the game leaves out when drawing it
};

struct Sound {
    std::string path;
    std::vector<int16_t> samples; // 16-bit mono at audio::kSampleRate
};

struct ContentSet {
    std::vector<Picture> pictures;
    std::vector<Sound> sounds;
    std::string borderList; // the text of border.txt
    raster::Image icon;     // quibbo.ico, its see-through corners art::kIconClear

    // The picture at `path`; it must be one of the set's.
    const Picture& Find(const std::string& path) const;
};

// The four border pieces, in the order border.txt names them: top, right, bottom, left.
extern const char* const kBorderPictures[4];
// The block pictures, one per block type, in type order.
std::vector<std::string> BlockPictures();

// Draws every picture and synthesises every sound.
ContentSet MakeContent(const raster::Fonts& fonts);
// Writes the set into `folder` (made if missing), with an empty levels/ folder for the level
// files. False, with the reason in `error`, at the first file that cannot be written.
bool WriteContent(const ContentSet& set, const std::filesystem::path& folder, std::string* error);

} // namespace content
