// What every harness needs: a scratch folder to run in, the game folder beside it, and a way to
// hand the input to a reader that only takes file names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CGraphics;

namespace fuzzsupport {

// Everything a harness does first, from LLVMFuzzerInitialize with its arguments: the paths on
// the command line made absolute (KeepPathsAbsolute), SDL's dummy drivers chosen (unless the
// caller chose others), the scratch folder made (MakeScratchFolder) and the clock set, so that
// flips and waits go by it instead of sleeping.
void StartHarness(int* argc, char*** argv, bool linkGame, const char* input = nullptr);

// A display as the game makes its own, 640x480 in 16 bits on a window of its own, for the
// readers that load or draw pictures. Its log, which stays open for the whole run and gains a
// line with every picture, goes to /dev/null. Exits the process when the display does not come
// up.
CGraphics* StartDisplay();

// libFuzzer writes what it finds while the input that found it runs, and so inside the scratch
// folder: call this first, with LLVMFuzzerInitialize's arguments, to make the paths on the
// command line absolute, and to have findings written to the folder libFuzzer was started in
// when no -artifact_prefix says otherwise. The program's own name is left as it is.
void KeepPathsAbsolute(int* argc, char*** argv);

// Makes a scratch folder (under $TMPDIR, else /tmp), which is removed again when the process
// ends normally. It holds an empty logs/ folder. With `linkGame`, every entry of the game folder
// (scenery/, sound/, levels/, ...) is linked into it, so that the names the game uses
// ("scenery/next.bmp") find our content, except `input`: the harness writes its input there,
// never through a link into the game folder. The game folder is $QUIBBO_GAME_DIR when that is
// set, else the one this build made. Exits the process when any of it cannot be done.
void MakeScratchFolder(bool linkGame, const char* input = nullptr);

// The scratch folder is the working folder while one of these lives: readers name their files
// relative to it. Outside, the working folder is libFuzzer's own, so that it can run the program
// again (to minimise, to merge) by the name it was started with.
class InScratchFolder {
public:
    InScratchFolder();
    ~InScratchFolder();
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;
};

// The game folder that MakeScratchFolder links.
std::string GameFolder();

// From now on the log `name` (in the scratch folder's logs/) is written to /dev/null. For logs that
// stay open for the whole run and would otherwise grow with every input.
void DiscardLog(const char* name);

// Writes the input to `name` in the scratch folder, replacing what was there.
void WriteInput(const char* name, const uint8_t* data, size_t size);

// A broken promise of a reader: says what and where, then aborts, which libFuzzer reports as a
// crash with the input that caused it.
[[noreturn]] void Fail(const char* file, int line, const char* what);

} // namespace fuzzsupport

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::fuzzsupport::Fail(__FILE__, __LINE__, #condition);                                   \
    } while (0)
