// The program's entry outside Windows: main hands over to the game's WinMain as Windows would,
// with the program's module handle, no previous instance, the arguments as one command line
// and the normal show command, and returns its result as the exit code.
#include "Icon.h"

#include <windows.h>

#include <string>

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            commandLine += ' ';
        commandLine += argv[i];
    }
    return WinMain(compat::ProgramModule(), nullptr, commandLine.data(), SW_SHOWNORMAL);
}
