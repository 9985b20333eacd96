// quibbo-level: makes, shows and checks level files (see LevelTool.h and docs/levels.md).
#include "LevelTool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return LevelTool::Run(args, std::cout, std::cerr);
}
