// The program's entry outside Windows: main hands over to the game's WinMain as Windows would,
// with the program's module handle, no previous instance, the arguments as one command line
// and the normal show command, and returns its result as the exit code. Without a display
// there is nothing to run on: it ends at once with exit code 1, after the one line on stderr
// that says so; so it does when the game's content is neither in the working folder nor beside
// the program (ContentFolder.h). A closed terminal (SIGHUP) ends it as SIGTERM does, and its
// window destroyed by another program as a close by the window manager does.
#include "ContentFolder.h"
#include "window/Icon.h"
#include "record/Recorder.h"
#include "ddraw/Screen.h"

#include "platform/Display.h"

#include <windows.h>

#include <string>

int main(int argc, char** argv) {
    if (!platform::StartVideo() || !compat::EnterContentFolder())
        return 1;
    platform::WatchForOutsideEnd();
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            commandLine += ' ';
        commandLine += argv[i];
    }
    // Every run is recorded (logs/replay-1.txt), so that a fault met in play can be replayed.
    compat::StartRunRecording();
    const int exitCode =
        WinMain(compat::ProgramModule(), nullptr, commandLine.data(), SW_SHOWNORMAL);
    compat::FinishRunRecording(exitCode);
    return exitCode;
}
