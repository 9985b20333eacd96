// Read access to the game object's state, and a click on its Start item, for the replay driver,
// the tests and the fuzzing harnesses.
#pragma once

#include "app/CGame.h"
#include "play/CLevel.h"

#include "compat/InputSeams.h"

#include <cstring>
#include <string>

struct CGameProbe {
    const CGame& game;

    GameState State() const { return game.state; }
    GameState PreviousState() const { return game.previousState; }
    bool Entered() const { return game.entered; }
    bool CursorShown() const { return game.cursorShown; }
    int32_t Score() const { return game.score; }
    int32_t Lives() const { return game.lives; }
    int32_t NextLifeScore() const { return game.nextLifeScore; }
    int32_t LevelIndex() const { return game.levelIndex; }
    int32_t LevelCount() const { return game.levelCount; }
    // The level list's names, levelCount of them; null when there is no list.
    const char* const* LevelNames() const { return game.levelNames; }
    int32_t Difficulty() const { return game.difficulty; }
    int32_t Width() const { return game.width; }
    int32_t Height() const { return game.height; }
    int32_t BitDepth() const { return game.bitDepth; }
    bool CustomLevel() const { return game.customLevel; }
    int32_t FileNameLength() const { return game.fileNameLength; }
    int32_t MouseX() const { return game.mouseX; }
    int32_t MouseY() const { return game.mouseY; }
    int32_t RedefineIndex() const { return game.redefineIndex; }
    int32_t KeyCode(int slot) const { return game.keyCodes[slot]; }
    // The title screen's bouncing title, one for the whole run.
    const CGame::Title& Title() const { return CGame::title; }
    const DisplayModeList& Modes() const { return game.modes; }
    // A click in the middle of the main menu's Start item; false, and no click, until the title
    // screen has laid its items out.
    bool ClickStart() const {
        POINT centre{};
        if (!StartItemCentre(&centre))
            return false;
        compat::seams::MouseMove(centre.x, centre.y);
        compat::seams::LeftButtonDown(centre.x, centre.y);
        compat::seams::LeftButtonUp(centre.x, centre.y);
        return true;
    }
    // The middle of the main menu's Start item; false until the title screen has laid it out.
    bool StartItemCentre(POINT* centre) const {
        const CMenuItem& start = game.menuItems[0];
        if (game.state != MainMenu || !game.entered || start.width <= 0 || start.height <= 0)
            return false;
        *centre = POINT{start.x + start.width / 2, start.y + start.height / 2};
        return true;
    }

    // --- Play ---

    // The playfield object; null only when the game could not make one.
    CLevel* Level() const { return game.level; }
    DWORD TimeStamp() const { return game.timeStamp; }
    bool HurryLocked() const { return game.hurryLocked; }
    bool RotateClockwiseHeld() const { return game.rotateClockwiseHeld; }
    bool RotateCounterHeld() const { return game.rotateCounterHeld; }
    int32_t CloudX(int cloud) const { return game.clouds.position[cloud][0]; }
    int32_t BorderSide(int piece) const { return game.borders[piece].Side(); }

    // The texts up to their terminating zero, or the whole array should it lack one.
    std::string FileName() const { return Text(game.fileName, sizeof(game.fileName)); }
    // Why this get-ready cannot lead to play, as its screen shows it; empty when it can.
    std::string PlayProblem() const { return Text(game.playProblem, sizeof(game.playProblem)); }
    std::string KeyName(int slot) const {
        return Text(game.keyNames[slot], sizeof(game.keyNames[slot]));
    }

    // The game's readers of its lists, for the fuzzing harnesses.
    static bool LoadLevelList(CGame& game) { return game.LoadLevelList(); }
    static bool LoadBorders(CGame& game) {
        char failedPicture[256];
        return game.LoadBorders(failedPicture, sizeof(failedPicture));
    }

private:
    static std::string Text(const char* text, size_t size) {
        return std::string(text, strnlen(text, size));
    }
};
