// The generator as a whole: its output is the same on every run, and a folder it cannot
// write is reported, not passed over.
#include "content/ContentSet.h"
#include "raster/Text.h"

#include "ContentFiles.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

TEST(ContentFolderTest, EveryRunWritesTheSameBytesAsTheBuild) {
    raster::Fonts fonts;
    ASSERT_TRUE(fonts.Ready()) << fonts.Problem();
    testfiles::ScratchDir dir;
    std::string error;
    ASSERT_TRUE(content::WriteContent(content::MakeContent(fonts), dir.Path(), &error)) << error;

    // The build ran the generator into the game's folder: this second run, in another
    // process, must agree with it byte for byte, file for file.
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
        if (!entry.is_regular_file()) {
            continue;
        }
        ++files;
        const fs::path relative = fs::relative(entry.path(), dir.Path());
        const fs::path built = fs::path(contentfiles::GameDir()) / relative;
        ASSERT_TRUE(fs::exists(built)) << relative;
        EXPECT_TRUE(testfiles::ReadBytes(entry.path().string()) ==
                    testfiles::ReadBytes(built.string()))
            << relative << " differs";
    }
    // Menus, screens, clouds, next, border, blocks, sounds, border.txt and the program's icon.
    EXPECT_EQ(files, 24u + 5 + 3 + 1 + 4 + 8 + 3 + 1 + 1);
    EXPECT_TRUE(fs::is_directory(dir.Path() / "levels"));
}

TEST(ContentFolderTest, AFolderThatCannotBeWrittenIsReported) {
    raster::Fonts fonts;
    ASSERT_TRUE(fonts.Ready()) << fonts.Problem();
    content::ContentSet set;
    set.pictures.push_back(
        content::Picture{"common/lives.bmp", raster::Image(2, 2), raster::Pixel{}});
    testfiles::ScratchDir dir;
    // A file where the "common" folder should be.
    testfiles::WriteBytes(dir / "common", {1});
    std::string error;
    EXPECT_FALSE(content::WriteContent(set, dir.Path(), &error));
    EXPECT_NE(error.find("common"), std::string::npos) << error;
}

} // namespace
