// quibbo-content: draws the game's pictures and synthesises its sounds.
//
//   quibbo-content GAME_FOLDER [--sheet FILE.bmp] [--mockups FOLDER] [--icons FOLDER]
//
// writes every file the game loads into GAME_FOLDER; --sheet also writes a contact sheet of
// everything on the sky, and --mockups a title screen and a play screen composed from the
// pictures as the game would draw them (both for people to look at, not for the game);
// --icons writes the desktop's icons as an icon theme lays them out (FOLDER/NxN/apps/quibbo.png).
#include "content/ContactSheet.h"
#include "content/ContentSet.h"
#include "art/Icon.h"
#include "content/MockUps.h"
#include "io/Files.h"
#include "raster/Bmp.h"
#include "raster/Png.h"
#include "raster/Text.h"

#include <cstdio>
#include <string>

namespace {

bool WriteBmp(const std::string& file, const raster::Image& image) {
    std::string error;
    return io::WriteFile(file, raster::EncodeBmp(image), &error);
}

bool WriteDesktopIcons(const std::string& folder) {
    for (int size : art::DesktopIconSizes()) {
        const art::SoftIcon icon = art::DesktopIcon(size);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        std::string error;
        if (!io::WriteFile(folder + "/" + name + "/apps/quibbo.png",
                           raster::EncodePng(icon.colours, icon.alpha), &error)) {
            std::fprintf(stderr, "quibbo-content: %s\n", error.c_str());
            return false;
        }
    }
    return true;
}

int Usage() {
    std::fprintf(stderr, "usage: quibbo-content GAME_FOLDER [--sheet FILE.bmp] [--mockups FOLDER] "
                         "[--icons FOLDER]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        return Usage();
    }
    const std::string folder = argv[1];
    std::string sheet;
    std::string mockups;
    std::string icons;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) {
            return Usage();
        }
        if (option == "--sheet") {
            sheet = argv[++i];
        } else if (option == "--mockups") {
            mockups = argv[++i];
        } else if (option == "--icons") {
            icons = argv[++i];
        } else {
            return Usage();
        }
    }

    raster::Fonts fonts;
    if (!fonts.Ready()) {
        std::fprintf(stderr, "quibbo-content: %s\n", fonts.Problem().c_str());
        return 1;
    }
    const content::ContentSet set = content::MakeContent(fonts);
    std::string error;
    if (!content::WriteContent(set, folder, &error)) {
        std::fprintf(stderr, "quibbo-content: %s\n", error.c_str());
        return 1;
    }
    if (!mockups.empty()) {
        if (!WriteBmp(mockups + "/mockup_title.bmp", content::MockTitleScreen(set, fonts)) ||
            !WriteBmp(mockups + "/mockup_play.bmp", content::MockPlayScreen(set, fonts))) {
            std::fprintf(stderr, "quibbo-content: cannot write the mock-ups in %s\n",
                         mockups.c_str());
            return 1;
        }
    }
    if (!sheet.empty() && !WriteBmp(sheet, content::ContactSheet(set, fonts))) {
        std::fprintf(stderr, "quibbo-content: cannot write %s\n", sheet.c_str());
        return 1;
    }
    if (!icons.empty() && !WriteDesktopIcons(icons)) {
        return 1;
    }
    return 0;
}
