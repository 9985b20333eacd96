// Replay scripts: the commands that drive the game in quibbo-replay, read from text (see
// docs/replay.md). Reading a script touches nothing of the game; the driver runs it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace replay {

enum class Op {
    // Before the first pass
    Seed,
    Clock,
    File,
    Text,
    Remove,
    // Forced failures: before every other command from start-up, later at their place
    Fail,
    // Letting passes go by
    Frames,
    Wait,
    Until,
    // Input
    Down,
    Up,
    Press,
    Type,
    Move,
    Click,
    Close,
    Start,
    Pad, // a virtual controller: `slot` the pad (0 to 3), `number` the PadAction
    // Output
    Shot,
    // Expectations
    ExpectState,
    ExpectField,
    ExpectLog,
    ExpectCount,
    ExpectLast,
    ExpectFile,
    ExpectExit,
    ExpectPresented,
    ExpectPixel,
    ExpectCursor,
    // Recordings: `recording` (before the first pass), `p` with its `r`, `c`
    Recording,
    Pass,
    Repeat, // `r N`: the reader adds N passes to the `p` line before it
    Check,
};

// The game's fields an `expect` can name.
enum class Field {
    Score,
    Lives,
    LevelIndex,
    LevelCount,
    Difficulty,
    Width,
    Height,
    BitDepth,
    CustomLevel,
    FileName,
    FileNameLength,
    KeyCode,
    KeyName,
    PreviousState,
    Entered,
    CursorShown,
    MouseX,
    MouseY,
    NextLifeScore,
    RedefineIndex,
    // Play
    Timer,
    FallingColumn,
    FallingRow,
    FallInterval,
    HurryLocked,
    PlayProblem,
    CloudX,
    BorderSide,
    // The title screen
    TitleX,
    TitleY,
    TitleDX,
    TitleDY,
};

// How a field's value is written: a decimal number, a flag (0 or 1), a state (a name or a
// number) or text.
enum class FieldKind { Number, Flag, State, Text };

// What a `pad` command does; `second` is the button or axis (SDL's numbering), `third` the
// axis's value.
enum class PadAction { Attach, AttachJoystick, Detach, Down, Up, Axis };

// One key going down or up, as `type` makes them.
struct KeyStroke {
    int key = 0;
    bool down = false;
};

// A pass of a recorded run: what the game read in it (docs/replay.md, "Recordings").
struct KeyPoll {
    int key = 0;
    uint16_t answer = 0;
};
struct RecordedPass {
    int64_t step = -1; // the clock's step into the pass, in ms; -1: the 60 Hz step
    bool hasMessage = false;
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    std::vector<KeyPoll> answers; // the polls answered other than 0, in their order
};

struct Command {
    Op op = Op::Frames;
    int line = 0;
    // Numbers, by command: the count, milliseconds, state, key code, position, exit code, colour.
    int64_t number = 0;
    int64_t second = 0;
    int64_t third = 0;
    Field field = Field::Score;
    int slot = 0; // keyCodes[slot], keyNames[slot], cloudX[slot], borderSide[slot]
    std::string path;
    std::string text; // expected text of a field or a log line; the typed text
    std::string mark; // `expect last`: the word that picks the lines
    std::vector<uint8_t> bytes;
    std::vector<KeyStroke> strokes;
    // `p`: the pass, `number` times over (with its `r`). `c`: pass `number`, `second` frames
    // presented, state `third`, the game's log so far, the frame's hash `hash` (unless
    // `frameHashed` is false: the frame was drawn while nobody could see it), the texts of the
    // pass in `text`.
    RecordedPass pass;
    uint32_t logLines = 0;
    uint32_t logHash = 0;
    uint64_t hash = 0;
    bool frameHashed = true;
};

struct SetupFile {
    int line = 0;
    std::string path;
    std::vector<uint8_t> bytes;
    bool remove = false; // `remove`: no such file
};

// A platform operation made to fail, by its SDK name ("IDirectDraw7::SetDisplayMode").
struct ForcedFailure {
    std::string operation;
    int times = 1;
};

struct Script {
    bool recording = false; // a recorded run, played back pass by pass
    uint32_t seed = 1;
    uint32_t clock = 0;
    std::vector<SetupFile> files;
    std::vector<ForcedFailure> failures;
    std::vector<Command> commands;
};

struct ParseError {
    int line = 0;
    std::string message;
};

// Reads a whole script. False, with the first faulty line and why, when it cannot be read.
bool ParseScript(std::string_view text, Script* script, ParseError* error);

// A key name (LEFT, ESCAPE, A, 7, ...) or "vkNN"; false for anything else.
bool KeyFromName(std::string_view name, int* key);
// A GameState name (MainMenu, ...) or a decimal number.
bool StateFromName(std::string_view name, int32_t* state);
// "MainMenu (1)", or the number alone when it names no state.
std::string DescribeState(int32_t state);
// The name by which a script names a field ("keyNames[2]" for KeyName slot 2).
std::string FieldName(Field field, int slot);
FieldKind KindOf(Field field);

} // namespace replay
