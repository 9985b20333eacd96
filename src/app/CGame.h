#pragma once

#include "app/GameState.h"
#include "gfx/CSprite.h"
#include "gfx/DisplayModeList.h"
#include "menu/CMenuItem.h"
#include "play/CBorder.h"

#include <windows.h>

#include <cstdint>

class CGraphics;
class CLevel;
class CLog;
class CMusic;
class CSound;

// The game: every setting and all game-wide state, the screens' pictures, and the state machine
// whose states are the screens. The entry point calls Frame once per pass of the message loop
// and forwards key-downs, mouse moves and left clicks.
class CGame {
public:
    static constexpr int kKeySlots = 4;
    static constexpr int kMenuItems = 12;
    static constexpr int kOkButton = 11;
    static constexpr int kClouds = 3;
    static constexpr int kPlaySounds = 3;
    static constexpr int kFileNameSize = 30;
    static constexpr int kKeyNameSize = 20;
    static constexpr int kActionNameSize = 30;
    // The border list, and the mascot behind the playfield and the title.
    static constexpr char kBorderList[] = "border.txt";
    static constexpr char kMascotPicture[] = "common/quibbo.bmp";

    CGame();
    ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    // Brings the game up on the main window: log, settings, display, sound, playfield, font,
    // main menu. False when the game cannot run; the reason is in the game log.
    bool Init(HWND mainWindow);
    // One frame of the current screen, presented. False when it could not be presented.
    bool Frame();
    void SetState(GameState newState);

    // --- Input, from the window procedure ---

    void OnKeyDown(int32_t key);
    void OnMouseMove(int32_t x, int32_t y);
    void OnLeftClick(int32_t x, int32_t y);

    // --- Settings ---

    void ReadSettings(const char* fileName);
    void WriteSettings(const char* fileName);

private:
    friend struct CGameProbe; // tests and the replay driver read the game's state

    // A cloud drifting across the sky behind the title, get-ready and play screens.
    struct Clouds {
        int32_t position[kClouds][2];
        DWORD stepTime[kClouds];
        DWORD stepInterval[kClouds];
        int32_t width[kClouds];
    };

    // --- Frame (app/CGame.cpp) ---

    void ResetGame();
    void DrawQuitConfirm();
    void ForgetEarlierAnswers();
    bool AnswerKeyWentDown(int key, bool& held);
    void TogglePause();
    bool InitDisplay();
    void PlacePlayfield();
    HFONT MakeInterfaceFont() const;
    void FilterModes();
    void FreeLevelNames();
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // --- Keys (app/GameSettings.cpp) ---

    void NameKey(int slot, int32_t key);
    void ForgetRedefinition();

    // --- Menus and the title screen (menu/) ---

    // The bouncing title of the title screen. One for the whole run: the font is made on the
    // first title frame, position and speeds restart on every entry into the main menu.
    struct Title {
        HFONT font;
        int32_t x;
        int32_t y;
        int32_t dx;
        int32_t dy;
    };
    static Title title;

    bool LoadMenus();
    void LayoutMenus();
    void DrawTitleScreen();
    void MoveTitle();
    void DrawOptionPage();
    void DrawMenuItem(CMenuItem& item);
    void DrawOkButton();

    // --- Controls, resolution list and custom level (app/) ---

    void DrawControls();
    void DrawResolutions();
    void DrawCustomLevel();
    void OnCustomLevelKey(int32_t key);
    bool BuildLevelPath();
    void PickKeyRow(int32_t y);
    void PickMode(int32_t x, int32_t y);
    bool RestoreDisplay(int32_t oldWidth, int32_t oldHeight, HFONT oldFont);
    void ReleasePictures();

    // --- Play (play/) ---

    bool LoadPlayResources();
    bool StopPlaySetup(const char* what, const char* file);
    bool LoadLevelList();
    bool LoadBorders(char* failedPicture, size_t size);
    bool LoadMascot();
    bool LoadClouds();
    void DrawClouds();
    bool LoadCompletePicture();
    bool LoadLoserPicture();
    bool LoadClosingPicture(const char* name, int32_t x, int32_t y);
    void DrawGetReady();
    void DrawPlaying();
    void DrawGameComplete();
    void DrawGameOver();
    bool LoadCurrentLevel();
    void ReplacePicture(int32_t x, int32_t y);
    void PlaySound(int slot);
    void DrawBorders();
    void TurnBorders(bool clockwise);
    void ReadPlayKeys();
    void ReadTurnKey(int32_t key, bool& held, bool clockwise);
    void DrawPlayDisplay(int32_t minutes, int32_t seconds);
    void DrawLives();
    void DrawLevelLabel();
    void LoseLife();
    bool WinLevel(int32_t secondsLeft);
    void DrawClosingScreen(bool (CGame::*loadPicture)());

    static constexpr int kPlayProblemSize = 300;
    // Why this get-ready cannot lead to play, shown on its screen; empty when it can. Set by the
    // play set-up and the level's load.
    char playProblem[kPlayProblemSize] = {};

    int32_t width;
    int32_t height;
    int32_t bitDepth;
    HWND window;
    HFONT font;
    int32_t score;
    int32_t playfieldX;
    int32_t playfieldY;
    GameState state;
    GameState previousState;
    DWORD timeStamp;
    DWORD moveDelay;
    bool hurryLocked;
    int32_t levelCount;
    int32_t levelIndex;
    char** levelNames;
    int32_t difficulty;
    bool rotateClockwiseHeld;
    bool rotateCounterHeld;
    bool cursorShown;
    bool entered;
    // Y and N were down at the quit question's last poll of them.
    bool yesHeld;
    bool noHeld;
    Clouds clouds;
    CSprite cloudSprites[kClouds];
    CBorder borders[4];
    CSprite mascot;
    CSprite* picture;
    CLevel* level;
    CMenuItem menuItems[kMenuItems];
    int32_t lives;
    CSprite livesIcon;
    int32_t nextLifeScore;
    CSound* sound;
    int32_t soundIds[kPlaySounds];
    DisplayModeList modes;
    CMusic* music;
    char actionNames[kKeySlots][kActionNameSize];
    char keyNames[kKeySlots][kKeyNameSize];
    int32_t* redefineKey;
    int32_t redefineIndex;
    bool customLevel;
    int32_t fileNameLength;
    char fileName[kFileNameSize];
    int32_t keyCodes[kKeySlots];
    int32_t mouseX;
    int32_t mouseY;
    CLog* log;
};

// The one game object, made by the entry point.
extern CGame* g_game;
