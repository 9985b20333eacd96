#include "content/ContentSet.h"

#include "art/Backdrops.h"
#include "art/Banners.h"
#include "art/Blocks.h"
#include "art/Border.h"
#include "art/Buttons.h"
#include "art/Clouds.h"
#include "art/Icon.h"
#include "art/Mascot.h"
#include "art/NextFrame.h"
#include "audio/Sounds.h"
#include "audio/Synth.h"
#include "audio/Wav.h"
#include "io/Files.h"
#include "raster/Bmp.h"
#include "raster/Ico.h"
#include "raster/Keying.h"

#include <stdexcept>

namespace content {
namespace {

using raster::kKeyBlack;
using raster::kKeyPink;

struct MenuEntry {
    const char* name; // menu/menu_<name>.bmp and menu/menu_<name>2.bmp
    const char* label;
    int width;
};

constexpr MenuEntry kMenu[] = {
    {"start", "Start", 224},           {"options", "Options", 224},
    {"custom", "Custom Level", 224},   {"quit", "Quit", 224},
    {"controls", "Controls", 224},     {"difficulty", "Difficulty", 224},
    {"graphics", "Graphics", 224},     {"easy", "Easy", 224},
    {"medium", "Medium", 224},         {"hard", "Hard", 224},
    {"resolution", "Resolution", 224}, {"ok", "OK", 64},
};
constexpr int kMenuHeight = 40;

} // namespace

const char* const kBorderPictures[4] = {"scenery/border_top.bmp", "scenery/border_right.bmp",
                                        "scenery/border_bottom.bmp", "scenery/border_left.bmp"};

std::vector<std::string> BlockPictures() {
    std::vector<std::string> names;
    for (const art::BlockType& type : art::BlockTypes()) {
        names.push_back(std::string("scenery/block_") + type.name + ".bmp");
    }
    return names;
}

const Picture& ContentSet::Find(const std::string& path) const {
    for (const Picture& p : pictures) {
        if (p.path == path) {
            return p;
        }
    }
    throw std::out_of_range("no picture " + path);
}

ContentSet MakeContent(const raster::Fonts& fonts) {
    ContentSet set;
    auto add = [&set](std::string path, raster::Image image, raster::Pixel key) {
        set.pictures.push_back(Picture{std::move(path), std::move(image), key});
    };

    for (const MenuEntry& entry : kMenu) {
        const std::string stem = std::string("menu/menu_") + entry.name;
        add(stem + ".bmp", art::MenuButton(fonts, entry.label, entry.width, kMenuHeight, false),
            kKeyPink);
        add(stem + "2.bmp", art::MenuButton(fonts, entry.label, entry.width, kMenuHeight, true),
            kKeyPink);
    }

    add("common/quibbo.bmp", art::Mascot(), kKeyPink);
    add("common/lives.bmp", art::LivesIcon(), kKeyPink);
    add("scenery/getrdy.bmp", art::GetReady(fonts), kKeyPink);
    add("backdrops/complete.bmp", art::AllComplete(fonts), kKeyPink);
    add("backdrops/loser.bmp", art::GameOver(fonts), kKeyPink);

    add("scenery/cloud1.bmp", art::Cloud(208, 90, 1), kKeyPink);
    add("scenery/cloud2.bmp", art::Cloud(200, 80, 2), kKeyPink);
    add("scenery/cloud3.bmp", art::Cloud(178, 84, 3), kKeyPink);

    add("scenery/next.bmp", art::NextFrame(fonts), kKeyBlack);
    for (int side = 0; side < 4; ++side) {
        add(kBorderPictures[side], art::BorderTile(side), kKeyBlack);
        set.borderList += std::string(kBorderPictures[side]) + "\n";
    }

    const std::vector<std::string> blockNames = BlockPictures();
    for (size_t i = 0; i < blockNames.size(); ++i) {
        add(blockNames[i], art::Block(art::BlockTypes()[i]), kKeyPink);
    }

    set.icon = art::Icon();

    set.sounds.push_back(Sound{"sound/pop.wav", audio::LandingPop()});
    set.sounds.push_back(Sound{"sound/bonkpopb.wav", audio::RunVanishes()});
    set.sounds.push_back(Sound{"sound/beep.wav", audio::FieldTurns()});
    return set;
}

bool WriteContent(const ContentSet& set, const std::filesystem::path& folder, std::string* error) {
    for (const Picture& p : set.pictures) {
        if (!io::WriteFile(folder / p.path, raster::EncodeBmp(p.image), error)) {
            return false;
        }
    }
    for (const Sound& s : set.sounds) {
        if (!io::WriteFile(folder / s.path, audio::EncodeWav(s.samples, audio::kSampleRate),
                           error)) {
            return false;
        }
    }
    if (!io::WriteFile(folder / "quibbo.ico", raster::EncodeIco(set.icon, art::kIconClear),
                       error)) {
        return false;
    }
    const std::vector<uint8_t> list(set.borderList.begin(), set.borderList.end());
    if (!io::WriteFile(folder / "border.txt", list, error)) {
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder / "levels", ec);
    if (ec) {
        *error = "cannot make " + (folder / "levels").string() + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace content
