#include "LevelPlayer.h"

#include "CLevelProbe.h"
#include "FieldJudgement.h"
#include "compat/Seams.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace levelplay {
namespace {

using compat::seams::SetTicks;

constexpr DWORD kFrameMs = 16;    // about 60 frames a second
constexpr DWORD kMoveDelay = 125; // between sideways moves, as play sets it
constexpr DWORD kGetReady = 2000; // the pause before play
constexpr int kPlanFrames = 2000; // far longer than any block can take to come to rest

// A turn key acts once a press: when it goes down, not again until it has been let go.
bool Pressed(bool down, bool& held) {
    const bool pressed = down && !held;
    held = down;
    return pressed;
}

} // namespace

const char* EndingText(Ending ending) {
    switch (ending) {
    case Ending::Cleared:
        return "won";
    case Ending::TimeUp:
        return "lost, time up";
    default:
        return "lost, entry blocked";
    }
}

int Controls::Apply(CLevel& level, const Keys& keys, DWORD now) {
    int turns = 0;
    if (Pressed(keys.clockwise, clockwiseHeld)) {
        level.RotateClockwise();
        ++turns;
    }
    if (Pressed(keys.counter, counterHeld)) {
        level.RotateCounterClockwise();
        ++turns;
    }
    if (keys.left && now - timeStamp >= kMoveDelay) {
        timeStamp = now;
        level.MoveLeft();
    }
    if (keys.right && now - timeStamp >= kMoveDelay) {
        timeStamp = now;
        level.MoveRight();
    }
    if (keys.down) {
        if (now - timeStamp >= 3 * kMoveDelay && !hurryLocked) {
            timeStamp = now;
            level.FastDrop();
        }
    } else {
        hurryLocked = false;
        level.EndFastDrop();
    }
    return turns;
}

int Settle(CLevel& level) {
    int runs = 0;
    for (LevelResult r = level.RemoveRun();
         r == LevelResult::RowRunRemoved || r == LevelResult::ColumnRunRemoved;
         r = level.RemoveRun())
        ++runs;
    return runs;
}

namespace {

enum Turn { kNoTurn, kClockwise, kHalfTurn, kCounter };

// How to play one block: turn the field first, then steer to a column and let it fall.
struct Plan {
    Turn turn = kNoTurn;
    int column = kEntryX;
};

int TurnFrames(Turn turn) {
    // A half turn is two presses of the clockwise key with a release between.
    return turn == kNoTurn ? 0 : turn == kHalfTurn ? 3 : 1;
}

Keys KeysFor(const Plan& plan, int frame, int column, bool hurry) {
    Keys keys;
    const int turning = TurnFrames(plan.turn);
    if (frame < turning) {
        keys.clockwise = (plan.turn == kClockwise || plan.turn == kHalfTurn) && frame != 1;
        keys.counter = plan.turn == kCounter;
        return keys;
    }
    if (column < plan.column)
        keys.right = true;
    else if (column > plan.column)
        keys.left = true;
    else
        keys.down = hurry && frame > turning; // Down is let go for a frame after each landing
    return keys;
}

// What playing one block by a plan came to, on a copy of the playfield.
struct Outcome {
    bool possible = false; // false: a turn would have put a block into the falling one's cell
    bool lost = false;     // it came to rest with the entry cell occupied
    bool cleared = false;
    int x = 0;
    int y = 0;
    DWORD at = 0; // clock reading when it came to rest
    Controls controls;
};

// Plays the falling block of `level` by `plan` on `copy`, from the clock reading `now`, and
// takes every run that follows away at once.
Outcome Simulate(const CLevel& level, const Controls& controls, DWORD now, const Plan& plan,
                 bool hurry, CLevel& copy) {
    CLevelProbe probe{copy};
    probe.CopyPlay(level);
    Outcome out;
    out.controls = controls;
    const int turning = TurnFrames(plan.turn);
    for (int frame = 0; frame < kPlanFrames; ++frame) {
        now += kFrameMs;
        SetTicks(now);
        const Keys keys = KeysFor(plan, frame, probe.Column(), hurry);
        out.controls.Apply(copy, keys, now);
        if (Occupied(copy, probe.Column(), probe.Row()))
            return out;
        const bool resting =
            probe.Row() == kLast || Occupied(copy, probe.Column(), probe.Row() + 1);
        if (!resting && frame >= turning && probe.Column() == plan.column && !hurry) {
            // Nothing more to steer: it falls straight down. Count its time, not its frames.
            int rows = 0;
            while (probe.Row() + rows < kLast &&
                   !Occupied(copy, plan.column, probe.Row() + rows + 1))
                ++rows;
            const DWORD frames = (probe.Interval() + kFrameMs) / kFrameMs + 1;
            now += static_cast<DWORD>(rows) * frames * kFrameMs;
            probe.Place(plan.column, probe.Row() + rows, probe.Type());
            continue;
        }
        if (!resting) {
            copy.Step();
            continue;
        }
        out.possible = true;
        out.x = probe.Column();
        out.y = probe.Row();
        out.at = now;
        probe.Set(out.x, out.y, probe.Type());
        if (Occupied(copy, kEntryX, kEntryY)) {
            out.lost = true;
            return out;
        }
        out.controls.hurryLocked = true;
        Settle(copy);
        out.cleared = CountBlocks(copy) == 0;
        return out;
    }
    return out;
}

std::vector<Plan> AllPlans() {
    std::vector<Plan> plans;
    for (Turn turn : {kNoTurn, kClockwise, kCounter, kHalfTurn})
        for (int column = 0; column <= kLast; ++column)
            plans.push_back(Plan{turn, column});
    return plans;
}

// The playfield turned as a plan turns it.
void TurnAs(CLevel& level, Turn turn) {
    if (turn == kClockwise || turn == kHalfTurn)
        level.RotateClockwise();
    if (turn == kHalfTurn)
        level.RotateClockwise();
    if (turn == kCounter)
        level.RotateCounterClockwise();
}

class Planner {
public:
    Planner(int types, bool hurry)
        : types(types), hurry(hurry), plans(AllPlans()), outlook(types) {}

    // The plan for the falling block of `level`, whose state is that of the clock reading `now`;
    // `next` is the previewed type. Sets where the block should come to rest.
    Plan Choose(const CLevel& level, const Controls& controls, DWORD now, int next) {
        const Plan* best = nullptr;
        double bestScore = 0;
        std::vector<std::array<int, 3>> seen; // turn and resting cell of the plans tried
        for (const Plan& plan : plans) {
            const Outcome out = Simulate(level, controls, now, plan, hurry, first);
            if (!out.possible || out.lost)
                continue;
            const std::array<int, 3> key{plan.turn, out.x, out.y};
            if (std::find(seen.begin(), seen.end(), key) != seen.end())
                continue;
            seen.push_back(key);
            // Fewer blocks still to come first (one of them outweighs everything else), then a
            // safe middle, promising lines and fewer blocks on the field, then the sooner.
            const double score = out.cleared ? 1e9 - out.at
                                             : -1000.0 * Needed(first, next) + Shape(first) -
                                                   Danger(first) - 10.0 * CountBlocks(first) -
                                                   0.001 * (out.at - now);
            if (!best || score > bestScore) {
                best = &plan;
                bestScore = score;
                expected = {out.x, out.y};
            }
        }
        if (!best) {
            expected = {-1, -1};
            return Plan{};
        }
        return *best;
    }

    // Where the chosen plan brings the block to rest.
    std::array<int, 2> expected{-1, -1};

private:
    // The blocks still needed to empty `level`, the next block being of type `next`.
    double Needed(const CLevel& level, int next) {
        const std::vector<int> count = CountTypes(level);
        // Which types one more block can take away whole (its own, or others in a chain).
        std::vector<bool> ready(types + 1, false);
        std::vector<bool> carried(types + 1, false);
        for (int type = 1; type <= types; ++type) {
            if (count[type] == 0)
                continue;
            ForEachDrop(level, type, [&](const CLevel& dropped) {
                const std::vector<int> after = CountTypes(dropped);
                if (after[type] == 0)
                    ready[type] = true;
                for (int other = 1; other <= types; ++other)
                    if (other != type && count[other] > 0 && after[other] == 0)
                        carried[other] = true;
            });
        }
        int state = 0;
        double scattered = 0;
        for (int type = 1; type <= types; ++type) {
            int digit = 0;
            if (count[type] == 0 || carried[type]) {
                digit = 0;
            } else if (ready[type]) {
                digit = 3;
            } else {
                const int line = LongestLine(level, type);
                digit = std::min(line, 2);
                scattered += count[type] - line;
            }
            state = outlook.With(state, type - 1, digit);
        }
        // Blocks of a type in more than one place need more than one line.
        return outlook.After(state, next - 1) + 8.0 * scattered;
    }

    // The most blocks of `type` in four cells in a line that hold no other block.
    static int LongestLine(const CLevel& level, int type) {
        int most = 0;
        ForEachFour(level, [&](const Four& four) {
            if (four.clean && four.type == type)
                most = std::max(most, four.count);
        });
        return most;
    }

    // How many blocks of each type (1 to N) the playfield holds.
    std::vector<int> CountTypes(const CLevel& level) const {
        std::vector<int> count(types + 1, 0);
        for (int x = 0; x <= kLast; ++x)
            for (int y = 0; y <= kLast; ++y)
                if (level.Cell(x, y) > 0 && level.Cell(x, y) <= types)
                    ++count[level.Cell(x, y)];
        return count;
    }

    // Calls `f` with the playfield after a block of `type` came to rest in each cell where one
    // could with the field turned some way (the way there left aside), and its runs vanished.
    template <typename F> void ForEachDrop(const CLevel& level, int type, F f) {
        for (Turn turn : {kNoTurn, kClockwise, kCounter, kHalfTurn}) {
            CLevelProbe turnedProbe{turned};
            turnedProbe.CopyPlay(level);
            TurnAs(turned, turn);
            if (Occupied(turned, kEntryX, kEntryY))
                continue;
            for (int x = 0; x <= kLast; ++x) {
                int y = kEntryY;
                if (Occupied(turned, x, y))
                    continue;
                while (y < kLast && !Occupied(turned, x, y + 1))
                    ++y;
                if (x == kEntryX && y <= kEntryY + 1)
                    continue;
                // Without a neighbour of its own type the block can start no run.
                const bool neighbour = (x > 0 && turned.Cell(x - 1, y) == type) ||
                                       (x < kLast && turned.Cell(x + 1, y) == type) ||
                                       (y < kLast && turned.Cell(x, y + 1) == type);
                if (!neighbour)
                    continue;
                CLevelProbe probe{second};
                probe.CopyPlay(turned);
                probe.Set(x, y, type);
                Settle(second);
                f(second);
            }
        }
    }

    int types;
    bool hurry;
    std::vector<Plan> plans;
    Outlook outlook;
    CLevel first;
    CLevel second;
    CLevel turned;
};

} // namespace

void LayOut(const LevelFile& file, CLevel& level, int first) {
    CLevelProbe probe{level};
    probe.Start(file.BlockTypeCount(), file.speed, file.timer, static_cast<int8_t>(first));
    for (int x = 0; x <= kLast; ++x)
        for (int y = 0; y <= kLast; ++y)
            probe.Set(x, y, file.Cell(x, y));
}

struct Player::Impl {
    Impl(int types, bool hurry) : planner(types, hurry), hurry(hurry) {}
    Planner planner;
    bool hurry;
    bool planned = false;
    Plan plan;
    int planFrame = 0;
};

Player::Player(int types, const Style& style) : impl(new Impl(types, style.hurry)) {}

Player::~Player() = default;

void Player::BlockLanded() {
    impl->planned = false;
}

Keys Player::Next(CLevel& level, const Controls& controls, DWORD now, bool settled) {
    CLevelProbe probe{level};
    if (!impl->planned && settled) {
        // Planning plays the block out on the test clock; it is set back afterwards.
        impl->plan = impl->planner.Choose(level, controls, now - kFrameMs, probe.Next());
        SetTicks(now);
        impl->planned = true;
        impl->planFrame = 0;
    }
    if (!impl->planned)
        return Keys{};
    return KeysFor(impl->plan, impl->planFrame++, probe.Column(), impl->hurry);
}

std::array<int, 2> Player::Expected() const {
    return impl->planned ? impl->planner.expected : std::array<int, 2>{-1, -1};
}

Game Play(const LevelFile& file, unsigned seed, const Style& style) {
    std::srand(seed);
    CLevel level;
    CLevelProbe probe{level};
    const int types = file.BlockTypeCount();
    Game game;
    if (types > kMostTypes)
        return game;
    DWORD now = 1000000;
    SetTicks(now);
    // As a load leaves it: a random preview, then the first block from it.
    LayOut(file, level, std::rand() % types + 1);
    level.ScaleSpeed(style.difficulty);

    Controls controls;
    controls.timeStamp = now;
    now += kGetReady + 1;
    const DWORD start = now;
    SetTicks(now);
    level.StartClock();

    Player player(types, style);
    bool settled = false; // no run was found on the last frame
    for (;;) {
        SetTicks(now);
        const Keys keys = player.Next(level, controls, now, settled);
        game.turns += controls.Apply(level, keys, now);
        game.playedMs = static_cast<int32_t>(now - start);
        const bool timeUp = level.UpdateTimer();
        game.timeLeftMs = level.GetTimer();
        if (timeUp) {
            game.ending = Ending::TimeUp;
            return game;
        }
        const std::array<int, 2> at{probe.Column(), probe.Row()};
        const LevelResult step = level.Step();
        if (step == LevelResult::EntryBlocked) {
            game.ending = Ending::EntryBlocked;
            return game;
        }
        if (step == LevelResult::BlockLanded) {
            ++game.blocks;
            controls.hurryLocked = true;
            if (at != player.Expected())
                ++game.mispredicted;
            player.BlockLanded();
        }

        const LevelResult run = level.RemoveRun();
        game.points += level.TakePoints();
        if (run == LevelResult::FieldCleared) {
            game.ending = Ending::Cleared;
            return game;
        }
        settled = run == LevelResult::Nothing;
        game.runs += settled ? 0 : 1;
        now += kFrameMs;
    }
}

} // namespace levelplay
