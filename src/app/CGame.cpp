// The game object: construction, start-up, the frame, the state machine, the quit
// confirmation, the pause and teardown.
#include "app/CGame.h"

#include "app/ScreenColours.h"
#include "gfx/CGraphics.h"
#include "log/CLog.h"
#include "play/CLevel.h"
#include "sound/CMusic.h"
#include "sound/CSound.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

CGame* g_game = nullptr;

namespace {

// The state the pause returns to; one for the whole program, none until the first pause.
GameState pausedFrom = 0;

// The mode a settings file can always fall back to.
constexpr int32_t kDefaultWidth = 640;
constexpr int32_t kDefaultHeight = 480;
constexpr int32_t kDefaultDepth = 16;

// GetAsyncKeyState: the key is down now; it went down since the previous poll of it.
constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);
constexpr SHORT kKeyPressedBit = 0x0001;

} // namespace

CGame::CGame()
    : width(kDefaultWidth), height(kDefaultHeight), bitDepth(kDefaultDepth), window(nullptr),
      font(nullptr), score(0), playfieldX(0), playfieldY(0), state(0), previousState(0),
      timeStamp(0), moveDelay(0), hurryLocked(false), levelCount(0), levelIndex(0),
      levelNames(nullptr), difficulty(100), rotateClockwiseHeld(false), rotateCounterHeld(false),
      cursorShown(true), entered(false), yesHeld(false), noHeld(false), clouds{}, picture(nullptr),
      level(nullptr), lives(0), nextLifeScore(0), sound(nullptr), soundIds{},
      music(nullptr), actionNames{}, keyNames{}, redefineKey(nullptr), redefineIndex(-1),
      customLevel(false), fileNameLength(0), fileName{}, keyCodes{VK_LEFT, VK_RIGHT, 'A', 'D'},
      mouseX(0), mouseY(0), log(nullptr) {
    snprintf(keyNames[0], sizeof(keyNames[0]), "%s", "Left Arrow");
    snprintf(keyNames[1], sizeof(keyNames[1]), "%s", "Right Arrow");
    snprintf(keyNames[2], sizeof(keyNames[2]), "%c", static_cast<char>(keyCodes[2]));
    snprintf(keyNames[3], sizeof(keyNames[3]), "%c", static_cast<char>(keyCodes[3]));
}

CGame::~CGame() {
    if (level) {
        level->Release();
        delete level;
        level = nullptr;
    }
    FreeLevelNames();
    if (picture) {
        picture->Release();
        delete picture;
        picture = nullptr;
    }
    if (music) {
        music->Release();
        delete music;
        music = nullptr;
    }
    if (sound) {
        sound->Release();
        delete sound;
        sound = nullptr;
    }
    if (log) {
        log->Write("NOTICE --- Shutting down log");
        log->Close();
        delete log;
        log = nullptr;
    }
    modes.Clear();
    // The sprites, the menu items and the border pieces go with the object, last made first.
}

void CGame::FreeLevelNames() {
    if (!levelNames)
        return;
    for (int32_t i = 0; i < levelCount; ++i)
        delete[] levelNames[i];
    delete[] levelNames;
    levelNames = nullptr;
}

void CGame::Log(const char* format, ...) {
    if (!log)
        return;
    va_list args;
    va_start(args, format);
    log->WriteArgs(format, args);
    va_end(args);
}

bool CGame::Init(HWND mainWindow) {
    log = new (std::nothrow) CLog;
    if (!log)
        return false;
    if (!log->Open("logs/GameLog.txt")) {
        delete log;
        log = nullptr;
        return false;
    }
    window = mainWindow;
    ReadSettings("quibbo.ini");

    // Name the keys read from the settings, as if each had just been chosen on the controls
    // screen.
    for (int slot = 0; slot < kKeySlots; ++slot) {
        state = Controls;
        redefineKey = &keyCodes[slot];
        redefineIndex = slot;
        OnKeyDown(keyCodes[slot]);
    }

    if (!InitDisplay())
        return false;
    g_graphics->EnumModes(modes);
    FilterModes();

    sound = new (std::nothrow) CSound;
    if (sound)
        sound->Init(window);
    level = new (std::nothrow) CLevel;
    if (level)
        level->Init();

    PlacePlayfield();
    SetState(MainMenu);
    // The display hid the cursor; the menus want it.
    ShowCursor(TRUE);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    font = MakeInterfaceFont();

    snprintf(actionNames[0], sizeof(actionNames[0]), "%s", "Left");
    snprintf(actionNames[1], sizeof(actionNames[1]), "%s", "Right");
    snprintf(actionNames[2], sizeof(actionNames[2]), "%s", "Rotate Clockwise");
    snprintf(actionNames[3], sizeof(actionNames[3]), "%s", "Rotate Counter Clockwise");
    nextLifeScore = 500;
    lives = 3;
    return true;
}

// The display in the mode of the settings. A mode the screen cannot show (a hand-edited or
// damaged settings file) would lock the player out for good, so the standard mode is tried once
// more; the settings file keeps what it holds until the player quits normally.
bool CGame::InitDisplay() {
    bool up = g_graphics->Init(window, width, height, bitDepth);
    const bool standardMode =
        width == kDefaultWidth && height == kDefaultHeight && bitDepth == kDefaultDepth;
    if (!up && !standardMode) {
        Log("ERROR --- Could not set display mode %dx%dx%d, trying %dx%dx%d", width, height,
            bitDepth, kDefaultWidth, kDefaultHeight, kDefaultDepth);
        width = kDefaultWidth;
        height = kDefaultHeight;
        bitDepth = kDefaultDepth;
        up = g_graphics->Init(window, width, height, bitDepth);
    }
    if (up)
        Log("gfx Init completed OK");
    else
        Log("gfx Init failed");
    return up;
}

// The playfield stands in the middle of the screen.
void CGame::PlacePlayfield() {
    playfieldX = (width - 416) / 2;
    playfieldY = (height - 416) / 2;
}

// The interface font grows with the screen width.
HFONT CGame::MakeInterfaceFont() const {
    return g_graphics->MakeFont("verdana", width / 27, 400);
}

// Only the modes the screens are laid out for: 16 bits per pixel, 640 to 1600 pixels wide and
// 480 to 1200 high.
void CGame::FilterModes() {
    DisplayMode* mode = modes.First();
    while (mode) {
        const bool usable = mode->BitsPerPixel() == 16 && mode->Width() >= 640 &&
                            mode->Width() <= 1600 && mode->Height() >= 480 &&
                            mode->Height() <= 1200;
        mode = usable ? modes.Next(mode) : modes.Remove(mode);
    }
}

void CGame::SetState(GameState newState) {
    previousState = state;
    entered = false;
    state = newState;
    Log("Target state: %d, State set: %d", newState, newState);
    if (newState == QuitConfirm)
        ForgetEarlierAnswers();
}

bool CGame::Frame() {
    if (GetAsyncKeyState(VK_ESCAPE) && state != QuitConfirm) {
        // Answering N goes straight back to the interrupted screen as it was: without its
        // entry work when that has run, with it on the next frame when it was still to come.
        const bool interruptedEntered = entered;
        SetState(QuitConfirm);
        entered = interruptedEntered;
    }

    switch (state) {
    case MainMenu:
        ResetGame();
        DrawTitleScreen();
        break;
    case Options:
    case Difficulty:
    case Graphics:
        DrawOptionPage();
        break;
    case GetReady:
        if (cursorShown) {
            ShowCursor(FALSE);
            cursorShown = false;
        }
        DrawGetReady();
        break;
    case Playing:
        DrawPlaying();
        break;
    case GameComplete:
        DrawGameComplete();
        break;
    case GameOver:
        DrawGameOver();
        break;
    case QuitConfirm:
        DrawQuitConfirm();
        break;
    case Controls:
        DrawControls();
        break;
    case Resolution:
        DrawResolutions();
        break;
    case CustomLevel:
        DrawCustomLevel();
        break;
    default:
        // Paused, and anything else: nothing is drawn.
        break;
    }
    return g_graphics->Flip();
}

// Every main-menu frame: a new game starts from here.
void CGame::ResetGame() {
    lives = 3;
    nextLifeScore = 500;
    score = 0;
    levelIndex = 0;
    customLevel = false;
    memset(fileName, 0, sizeof(fileName));
    fileNameLength = 0;
    ForgetRedefinition();
    if (!cursorShown) {
        ShowCursor(TRUE);
        cursorShown = true;
    }
}

// Y and N typed into a name, bound as control keys or pressed anywhere before the question
// opened are still counted as "pressed since the last poll"; this poll lets them go, and a key
// already down has to come up before it can answer.
void CGame::ForgetEarlierAnswers() {
    yesHeld = (GetAsyncKeyState('Y') & kKeyDownBit) != 0;
    noHeld = (GetAsyncKeyState('N') & kKeyDownBit) != 0;
}

// True when the key went down since the previous poll and was not already down then.
bool CGame::AnswerKeyWentDown(int key, bool& held) {
    const SHORT reading = GetAsyncKeyState(key);
    const bool down = (reading & kKeyDownBit) != 0;
    const bool wentDown = !held && (down || (reading & kKeyPressedBit) != 0);
    held = down;
    return wentDown;
}

void CGame::DrawQuitConfirm() {
    g_graphics->Fill(screen::kBackground);
    g_graphics->PrintText(font, screen::kWhite, width / 3, height / 2, "Really Quit? Y/N");
    // Y leaves the running game; on the main menu it leaves the program. Y is polled once a
    // frame, so a tap between two frames answers on either route.
    const bool yes = AnswerKeyWentDown('Y', yesHeld);
    const bool no = AnswerKeyWentDown('N', noHeld);
    if (yes && previousState != MainMenu) {
        SetState(MainMenu);
        return;
    }
    if (yes) {
        WriteSettings("quibbo.ini");
        PostQuitMessage(0);
        return;
    }
    if (no)
        state = previousState;
}

void CGame::TogglePause() {
    if (state == Paused) {
        state = pausedFrom;
    } else {
        pausedFrom = state;
        state = Paused;
    }
}
