// `expect FIELD VALUE`: the game's fields as CGameProbe reads them.
#include "Replay.h"

#include "CGameProbe.h"
#include "CLevelProbe.h"

namespace replay {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

int64_t LevelField(CLevel& level, Field field) {
    CLevelProbe probe{level};
    switch (field) {
    case Field::Timer:
        return level.GetTimer();
    case Field::FallingColumn:
        return probe.Column();
    case Field::FallingRow:
        return probe.Row();
    default:
        return probe.Interval();
    }
}

} // namespace

Replay::Outcome Replay::ExpectField(const Command& command) {
    const FieldKind kind = KindOf(command.field);
    const auto describe = [kind](int64_t value) {
        return kind == FieldKind::State ? DescribeState(static_cast<int32_t>(value))
                                        : std::to_string(value);
    };
    const std::string expected =
        FieldName(command.field, command.slot) + " " +
        (kind == FieldKind::Text ? Quoted(command.text) : describe(command.number));
    if (ended_ || !g_game)
        return NeedsGame(command, expected);
    const CGameProbe game{*g_game};
    if (kind == FieldKind::Text) {
        const std::string actual = command.field == Field::FileName ? game.FileName()
                                   : command.field == Field::PlayProblem
                                       ? game.PlayProblem()
                                       : game.KeyName(command.slot);
        if (actual != command.text)
            return Fail(command, expected, Quoted(actual));
        return Outcome::Done;
    }

    int64_t actual = 0;
    switch (command.field) {
    case Field::Score:
        actual = game.Score();
        break;
    case Field::Lives:
        actual = game.Lives();
        break;
    case Field::LevelIndex:
        actual = game.LevelIndex();
        break;
    case Field::LevelCount:
        actual = game.LevelCount();
        break;
    case Field::Difficulty:
        actual = game.Difficulty();
        break;
    case Field::Width:
        actual = game.Width();
        break;
    case Field::Height:
        actual = game.Height();
        break;
    case Field::BitDepth:
        actual = game.BitDepth();
        break;
    case Field::CustomLevel:
        actual = game.CustomLevel();
        break;
    case Field::FileNameLength:
        actual = game.FileNameLength();
        break;
    case Field::KeyCode:
        actual = game.KeyCode(command.slot);
        break;
    case Field::PreviousState:
        actual = game.PreviousState();
        break;
    case Field::Entered:
        actual = game.Entered();
        break;
    case Field::CursorShown:
        actual = game.CursorShown();
        break;
    case Field::MouseX:
        actual = game.MouseX();
        break;
    case Field::MouseY:
        actual = game.MouseY();
        break;
    case Field::NextLifeScore:
        actual = game.NextLifeScore();
        break;
    case Field::RedefineIndex:
        actual = game.RedefineIndex();
        break;
    case Field::CloudX:
        actual = game.CloudX(command.slot);
        break;
    case Field::BorderSide:
        actual = game.BorderSide(command.slot);
        break;
    case Field::HurryLocked:
        actual = game.HurryLocked();
        break;
    case Field::Timer:
    case Field::FallingColumn:
    case Field::FallingRow:
    case Field::FallInterval:
        if (!game.Level())
            return Fail(command, expected, "no playfield");
        actual = LevelField(*game.Level(), command.field);
        break;
    case Field::TitleX:
        actual = game.Title().x;
        break;
    case Field::TitleY:
        actual = game.Title().y;
        break;
    case Field::TitleDX:
        actual = game.Title().dx;
        break;
    case Field::TitleDY:
        actual = game.Title().dy;
        break;
    case Field::FileName:
    case Field::KeyName:
    case Field::PlayProblem:
        break;
    }
    if (actual != command.number)
        return Fail(command, expected, describe(actual));
    return Outcome::Done;
}

} // namespace replay
