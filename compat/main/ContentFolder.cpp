#include "ContentFolder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace compat {

namespace {

// A file every start needs: the main menu cannot be shown without it.
constexpr char kContentMark[] = "menu/menu_start.bmp";

bool HoldsContent(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(folder / kContentMark, error);
}

} // namespace

bool EnterContentFolder() {
    std::error_code error;
    const std::filesystem::path working = std::filesystem::current_path(error);
    if (!error && HoldsContent(working))
        return true;
    const std::filesystem::path program =
        std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    if (!error && HoldsContent(program)) {
        std::filesystem::current_path(program, error);
        if (!error)
            return true;
    }
    std::fprintf(stderr,
                 "Quibbo's Puzzle: Could not start: no game content (%s) in "
                 "%s or in %s\n",
                 kContentMark, working.c_str(), program.c_str());
    return false;
}

} // namespace compat
