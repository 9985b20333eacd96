// A stand-in for the game on the platform's main: tells what WinMain was given and ends with
// the code named by its first argument.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    const bool icon = LoadIconA(instance, MAKEINTRESOURCEA(102)) != nullptr;
    std::printf("instance %d previous %d show %d icon %d line [%s]\n", instance != nullptr,
                previous != nullptr, show, icon, commandLine);
    return std::atoi(commandLine);
}
