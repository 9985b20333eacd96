// The play flow: the get-ready pause before each try at a level, the frames of play with the
// keys, countdown, score and lives, and the two closing screens, all levels complete and game
// over.
#include "app/CGame.h"

#include "app/ScreenColours.h"

#include "gfx/CGraphics.h"
#include "play/CLevel.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr COLORREF kSkyBlue = RGB(63, 187, 239);
constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr DWORD kGetReadyTime = 2000;
constexpr DWORD kClosingTime = 5000;
constexpr DWORD kWonLevelStop = 1000;
constexpr int32_t kExtraLifePoints = 500;
// Hurrying waits three move delays after the last sideways move or hurry.
constexpr DWORD kHurryDelays = 3;

// The playfield and the frame around it.
constexpr int32_t kFieldSize = 416;
constexpr int32_t kFrameThickness = 16;
// Texts beside the frame keep this far from it.
constexpr int32_t kFrameGap = 4;

// The entries of soundIds.
constexpr int kLandingSound = 0;
constexpr int kRunSound = 1;
constexpr int kTurnSound = 2;

} // namespace

void CGame::DrawGetReady() {
    if (!entered) {
        // A set-up that stopped leaves nothing to play: the screen says why.
        if (LoadPlayResources())
            LoadCurrentLevel();
        Log("left %d right %d", keyCodes[0], keyCodes[1]);
        timeStamp = timeGetTime();
        entered = true;
    }
    const bool playable = playProblem[0] == '\0';
    g_graphics->Fill(kSkyBlue);
    DrawClouds();
    mascot.Draw(*g_graphics);
    // Without a level there is no playfield to show, only why.
    if (playable)
        level->Draw(*g_graphics, playfieldX, playfieldY, height);
    DrawBorders();
    // Why, in lines that stay inside the frame.
    if (!playable)
        g_graphics->PrintLines(font, kBlack, playfieldX + 16, height / 2,
                               kFieldSize - 2 * kFrameThickness, false, playProblem);
    else if (picture)
        picture->Draw(*g_graphics);
    DrawLives();
    g_graphics->PrintText(font, screen::kWhite, 0, 0, "Score: %d", score);

    if (timeGetTime() - timeStamp > kGetReadyTime) {
        timeStamp = timeGetTime();
        SetState(playable ? Playing : MainMenu);
    }
}

void CGame::DrawPlaying() {
    if (!entered) {
        level->StartClock();
        // A turn key held as play begins does nothing until it is let go.
        rotateClockwiseHeld = true;
        rotateCounterHeld = true;
        entered = true;
    }
    ReadPlayKeys();
    g_graphics->Fill(kSkyBlue);
    DrawClouds();
    mascot.Draw(*g_graphics);

    // The countdown is looked at before the block and the runs: time running out in the frame
    // that empties the field still costs the life.
    if (level->UpdateTimer()) {
        LoseLife();
        return;
    }
    const int32_t timeLeft = level->GetTimer();
    const int32_t minutes = timeLeft / 1000 / 60;
    const int32_t seconds = (timeLeft - 60000 * minutes) / 1000;

    const LevelResult step = level->Step();
    if (step == LevelResult::EntryBlocked) {
        LoseLife();
        return;
    }
    if (step == LevelResult::BlockLanded) {
        PlaySound(kLandingSound);
        hurryLocked = true;
    }
    const LevelResult run = level->RemoveRun();
    if (run == LevelResult::RowRunRemoved || run == LevelResult::ColumnRunRemoved)
        PlaySound(kRunSound);
    else if (run == LevelResult::FieldCleared && !WinLevel(60 * minutes + seconds))
        return;
    DrawPlayDisplay(minutes, seconds);
}

// The turn keys act once per press; sideways moves and hurrying repeat while held, sharing one
// delay.
void CGame::ReadPlayKeys() {
    ReadTurnKey(keyCodes[2], rotateClockwiseHeld, true);
    ReadTurnKey(keyCodes[3], rotateCounterHeld, false);

    if (GetAsyncKeyState(keyCodes[0]) && timeGetTime() - timeStamp >= moveDelay) {
        timeStamp = timeGetTime();
        level->MoveLeft();
    }
    if (GetAsyncKeyState(keyCodes[1]) && timeGetTime() - timeStamp >= moveDelay) {
        timeStamp = timeGetTime();
        level->MoveRight();
    }
    // After a block comes to rest, Down hurries again only once it has been let go.
    if (GetAsyncKeyState(VK_DOWN) && timeGetTime() - timeStamp >= kHurryDelays * moveDelay &&
        !hurryLocked) {
        timeStamp = timeGetTime();
        level->FastDrop();
    }
    if (!GetAsyncKeyState(VK_DOWN)) {
        hurryLocked = false;
        level->EndFastDrop();
    }
}

// One turn key: the field and its borders turn when the key goes down, and not again until it
// has been let go.
void CGame::ReadTurnKey(int32_t key, bool& held, bool clockwise) {
    if (GetAsyncKeyState(key) && !held) {
        held = true;
        if (clockwise)
            level->RotateClockwise();
        else
            level->RotateCounterClockwise();
        TurnBorders(clockwise);
        PlaySound(kTurnSound);
    }
    if (!GetAsyncKeyState(key))
        held = false;
}

// The playfield, the borders and the texts of play, in the order they lie over each other.
void CGame::DrawPlayDisplay(int32_t minutes, int32_t seconds) {
    level->Draw(*g_graphics, playfieldX, playfieldY, height);
    DrawBorders();
    score += level->TakePoints();
    g_graphics->PrintText(font, screen::kWhite, 0, 0, "Score: %d", score);
    // Seconds are not padded: 65 seconds left read 1:5.
    g_graphics->PrintText(font, kBlack, width / 2 - 40, 0, "%d:%d", minutes, seconds);
    // One extra life a frame: a score past two marks at once earns the second on the next frame.
    if (score >= nextLifeScore) {
        ++lives;
        nextLifeScore += kExtraLifePoints;
    }
    DrawLives();
    DrawLevelLabel();
}

// The lives icon and the count beside it. A count too wide for the 64 pixels right of the icon
// (a large font, many lives) moves left to end at the screen's edge, and the icon moves with it
// so the count never covers it.
void CGame::DrawLives() {
    char count[32];
    snprintf(count, sizeof(count), "x %d", lives);
    const int32_t countX = std::min(width - 64, width - g_graphics->TextWidth(font, count));
    livesIcon.SetPosition(countX - 64, 0);
    livesIcon.Draw(*g_graphics);
    g_graphics->PrintText(font, screen::kWhite, countX, 0, "%s", count);
}

// The level's label in the bottom left corner, in as many lines as it takes to stay on the
// screen and off the frame: the last at (0, height - 64), or higher where a large font would
// take it off the bottom of the screen; the others above it.
void CGame::DrawLevelLabel() {
    char label[kFileNameSize + 8]; // "Level: " and the name
    if (customLevel)
        snprintf(label, sizeof(label), "Level: %s", fileName);
    else
        snprintf(label, sizeof(label), "Level: %d", levelIndex + 1);
    const int32_t lastY = std::min(height - 64, height - g_graphics->LineHeight(font));
    // Below the frame the whole width is free; beside it, only the space left of it.
    const bool besideFrame = lastY < playfieldY + kFieldSize + kFrameThickness;
    const int32_t maxWidth = besideFrame ? playfieldX - kFrameThickness - kFrameGap : width;
    g_graphics->PrintLines(font, screen::kWhite, 0, lastY, maxWidth, true, label);
}

// The countdown ran out or the entry is blocked: the level starts over from its file, or the
// game is over when no spare life was left.
void CGame::LoseLife() {
    const int32_t before = lives;
    --lives;
    SetState(before > 0 ? GetReady : GameOver);
}

// The field is empty. After the last level of the list the game is complete at once; otherwise
// the whole game stops for a second, the seconds left are added to the score and the next level
// is made ready. A custom level is played once for every entry of the list. True when the frame
// goes on to be drawn.
bool CGame::WinLevel(int32_t secondsLeft) {
    const int32_t finished = levelIndex;
    ++levelIndex;
    if (finished >= levelCount - 1) {
        SetState(GameComplete);
        return false;
    }
    Sleep(kWonLevelStop);
    score += secondsLeft;
    timeStamp = timeGetTime();
    SetState(GetReady);
    return true;
}

void CGame::DrawGameComplete() {
    DrawClosingScreen(&CGame::LoadCompletePicture);
}

void CGame::DrawGameOver() {
    DrawClosingScreen(&CGame::LoadLoserPicture);
}

// Either closing picture is loaded on entry and stays five seconds, then the main menu comes
// back.
void CGame::DrawClosingScreen(bool (CGame::*loadPicture)()) {
    if (!entered) {
        (this->*loadPicture)();
        timeStamp = timeGetTime();
        entered = true;
    }
    g_graphics->Fill(screen::kBackground);
    if (picture)
        picture->Draw(*g_graphics);
    if (timeGetTime() - timeStamp >= kClosingTime)
        SetState(MainMenu);
}
