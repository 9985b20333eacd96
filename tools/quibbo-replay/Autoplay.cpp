#include "Autoplay.h"

#include "CGameProbe.h"
#include "CLevelProbe.h"

#include "compat/InputSeams.h"
#include "compat/PadSeams.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdlib>

namespace replay {

namespace {

namespace seams = compat::seams;

// The pad's buttons, numbered as SDL numbers a game controller's.
constexpr int kSouth = 0;
constexpr int kEast = 1;
constexpr int kDpadUp = 11;
constexpr int kDpadDown = 12;
constexpr int kDpadLeft = 13;
constexpr int kDpadRight = 14;
// Near enough the middle of Start to click: well inside the item, beyond a pass's move.
constexpr int kClickReach = 12;

const char* StateName(int32_t state) {
    return state == GameComplete ? "GameComplete" : state == GameOver ? "GameOver" : "MainMenu";
}

} // namespace

Autoplay::Autoplay(unsigned seed, int levels, FILE* out, bool pad)
    : seed_(seed), levels_(levels), out_(out), pad_(pad) {}

Autoplay::~Autoplay() = default;

void Autoplay::OnPeek() {
    if (!seeded_) {
        // The game seeded with the time before its first pass; nothing random is drawn yet.
        std::srand(seed_);
        seeded_ = true;
    }
    if (finished_ || !g_game)
        return;
    const int32_t state = CGameProbe{*g_game}.State();
    // The quit confirmation and the pause interrupt a try; every other state ends it.
    if (lastState_ == Playing && state != Playing && state != Paused && state != QuitConfirm)
        EndTry(state);
    lastState_ = state;
    if (finished_)
        return;
    inGame_ = inGame_ || (started_ && state != MainMenu);
    if (state == MainMenu) {
        if (inGame_)
            Finish("back at the main menu");
        else if (!started_ && pad_)
            StartGameWithPad();
        else if (!started_)
            StartGame();
    } else if (state == Playing) {
        Play();
    } else {
        Release();
    }
}

// A click in the middle of the main menu's Start item, once the title screen has laid it out.
void Autoplay::StartGame() {
    started_ = CGameProbe{*g_game}.ClickStart();
}

// The pointer steered with the D-pad onto the middle of Start, then a click of south.
void Autoplay::StartGameWithPad() {
    if (!padAttached_) {
        // It arrives at the next pass.
        padAttached_ = seams::AttachPad(0);
        return;
    }
    if (clicking_) {
        Release();
        started_ = true;
        return;
    }
    POINT target{};
    if (!CGameProbe{*g_game}.StartItemCentre(&target))
        return;
    const CGameProbe game{*g_game};
    const int dx = target.x - game.MouseX();
    const int dy = target.y - game.MouseY();
    std::vector<int> wanted;
    if (dx > kClickReach)
        wanted.push_back(kDpadRight);
    else if (dx < -kClickReach)
        wanted.push_back(kDpadLeft);
    if (dy > kClickReach)
        wanted.push_back(kDpadDown);
    else if (dy < -kClickReach)
        wanted.push_back(kDpadUp);
    if (wanted.empty() && held_.empty()) {
        wanted.push_back(kSouth);
        clicking_ = true;
    }
    HoldOnly(wanted);
}

void Autoplay::Play() {
    const CGameProbe game{*g_game};
    CLevel* level = game.Level();
    if (!level)
        return;
    const bool locked = game.HurryLocked();
    if (!player_) {
        // The first pass of a try: the level is as the get-ready screen loaded it.
        tryLevel_ = game.LevelIndex();
        const int types = CLevelProbe{*level}.BlockTypes();
        if (types > levelplay::kMostTypes)
            return;
        player_ = std::make_unique<levelplay::Player>(types, levelplay::Quick());
        grid_ = Snapshot();
        hurryLocked_ = locked;
    }
    // The play flow locks hurrying when a block comes to rest, and the player lets go of Down
    // after every landing, so a lock that appears means a landing.
    if (locked && !hurryLocked_)
        player_->BlockLanded();
    hurryLocked_ = locked;
    // A frame that took no run away leaves the field as it was (the player turns nothing while
    // it waits for the field to settle).
    const Grid now = Snapshot();
    const bool settled = now == grid_;
    grid_ = now;

    levelplay::Controls controls;
    controls.timeStamp = game.TimeStamp();
    // Play's first frame sets both turn latches before it reads the keys.
    controls.clockwiseHeld = !game.Entered() || game.RotateClockwiseHeld();
    controls.counterHeld = !game.Entered() || game.RotateCounterHeld();
    controls.hurryLocked = locked;
    Hold(player_->Next(*level, controls, timeGetTime(), settled));
}

void Autoplay::EndTry(int32_t state) {
    Release();
    const CGameProbe game{*g_game};
    const bool won = game.LevelIndex() > tryLevel_;
    const int32_t timeLeft = game.Level() ? game.Level()->GetTimer() : 0;
    const char* ending = levelplay::EndingText(won             ? levelplay::Ending::Cleared
                                               : timeLeft <= 0 ? levelplay::Ending::TimeUp
                                                               : levelplay::Ending::EntryBlocked);
    fprintf(out_, "level %d: %s, %d seconds left, score %d\n", tryLevel_ + 1, ending,
            std::max(timeLeft, 0) / 1000, game.Score());
    fflush(out_);
    player_.reset();
    won_ += won ? 1 : 0;
    if (state == GameComplete || state == GameOver) {
        succeeded_ = state == GameComplete;
        Finish(StateName(state));
    } else if (won && levels_ > 0 && won_ >= levels_) {
        succeeded_ = true;
        Finish("levels played");
    }
}

void Autoplay::Finish(const char* how) {
    const CGameProbe game{*g_game};
    fprintf(out_, "end: %s, %d levels won, score %d, lives %d\n", how, won_, game.Score(),
            game.Lives());
    fflush(out_);
    finished_ = true;
    Release();
    if (HWND window = seams::GameWindow())
        seams::CloseWindow(window);
}

void Autoplay::Hold(const levelplay::Keys& keys) {
    const CGameProbe game{*g_game};
    std::vector<int> wanted;
    if (keys.left)
        wanted.push_back(pad_ ? kDpadLeft : game.KeyCode(0));
    if (keys.right)
        wanted.push_back(pad_ ? kDpadRight : game.KeyCode(1));
    if (keys.clockwise)
        wanted.push_back(pad_ ? kSouth : game.KeyCode(2));
    if (keys.counter)
        wanted.push_back(pad_ ? kEast : game.KeyCode(3));
    if (keys.down)
        wanted.push_back(pad_ ? kDpadDown : VK_DOWN);
    HoldOnly(wanted);
}

// Lets go of what is not wanted, then presses what is newly wanted: keys, or the pad's buttons.
void Autoplay::HoldOnly(const std::vector<int>& wanted) {
    const auto set = [this](int key, bool down) {
        if (pad_)
            seams::SetPadButton(0, key, down);
        else if (down)
            seams::KeyDown(key);
        else
            seams::KeyUp(key);
    };
    for (int key : held_)
        if (std::find(wanted.begin(), wanted.end(), key) == wanted.end())
            set(key, false);
    for (int key : wanted)
        if (std::find(held_.begin(), held_.end(), key) == held_.end())
            set(key, true);
    held_ = wanted;
}

void Autoplay::Release() {
    HoldOnly({});
}

Autoplay::Grid Autoplay::Snapshot() const {
    Grid grid{};
    const CLevel* level = CGameProbe{*g_game}.Level();
    for (int x = 0; level && x < CLevel::kSize; ++x)
        for (int y = 0; y < CLevel::kSize; ++y)
            grid[CLevel::kSize * x + y] = level->Cell(x, y);
    return grid;
}

} // namespace replay
