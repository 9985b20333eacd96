// A stand-in for the game on the platform's main: tells what WinMain was given and ends with
// the code named by its first argument. Given "where", it tells the folder it runs in.
#include <windows.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    const bool icon = LoadIconA(instance, MAKEINTRESOURCEA(102)) != nullptr;
    std::printf("instance %d previous %d show %d icon %d line [%s]\n", instance != nullptr,
                previous != nullptr, show, icon, commandLine);
    char folder[PATH_MAX];
    if (std::strcmp(commandLine, "where") == 0 && getcwd(folder, sizeof(folder)))
        std::printf("folder %s\n", folder);
    return std::atoi(commandLine);
}
