// Every level of our set can be won: a computer player (LevelPlayer.h), who sees only the
// falling block and the preview, empties the field within the countdown with random blocks,
// playing through the playfield object with the keys and timing of play. It plays each level
// as a quick player would, hurrying every block down; the first levels it also plays as a
// beginner would, never hurrying, and must still be done well within their countdown.
//
// The block types come from the C library's generator with fixed seeds, so every run plays the
// same games. Set QUIBBO_LEVEL_GAMES to play more of them and print how each level went: how
// often it was won and how long that took (for tuning a level's countdown); set
// QUIBBO_LEVEL_DIFFICULTY as well to play at another difficulty than medium (125 easy, 75 hard).
#include "ContentLevels.h"
#include "LevelPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using levelplay::Ending;
using levelplay::Game;
using levelplay::Style;

// The games every build plays.
constexpr unsigned kGames = 8;
// The levels a beginner should find easy.
constexpr size_t kFirstLevels = 3;

// The difficulty played at: the game's percentage of the level's speed.
int32_t Difficulty() {
    const char* asked = std::getenv("QUIBBO_LEVEL_DIFFICULTY");
    const int percent = asked ? std::atoi(asked) : 0;
    return percent > 0 ? percent : 100;
}

unsigned Games() {
    const char* asked = std::getenv("QUIBBO_LEVEL_GAMES");
    const int games = asked ? std::atoi(asked) : 0;
    return games > 0 ? static_cast<unsigned>(games) : kGames;
}

struct Record {
    std::vector<Game> games;
    size_t Cleared() const {
        return static_cast<size_t>(std::count_if(
            games.begin(), games.end(), [](const Game& g) { return g.ending == Ending::Cleared; }));
    }
    // The time that the given share of the games took at most to clear the level; a game not
    // cleared counts as longer than any.
    int32_t Seconds(double share) const {
        std::vector<int32_t> times;
        for (const Game& g : games)
            times.push_back(g.ending == Ending::Cleared ? g.playedMs : INT32_MAX);
        std::sort(times.begin(), times.end());
        const int32_t ms =
            times[std::min(times.size() - 1, static_cast<size_t>(share * times.size()))];
        return ms == INT32_MAX ? -1 : ms / 1000;
    }
};

Record PlayAll(const std::string& name, const Style& style) {
    LevelFile level;
    std::vector<std::string> faults;
    Record record;
    if (!contentlevels::Load(name, level, faults)) {
        ADD_FAILURE() << name << ": " << ::testing::PrintToString(faults);
        return record;
    }
    const unsigned games = Games();
    for (unsigned seed = 1; seed <= games; ++seed) {
        const Game game = levelplay::Play(level, seed, Style{Difficulty(), style.hurry});
        // The player's copy of the playfield foresaw every block's resting place.
        EXPECT_EQ(game.mispredicted, 0) << "game " << seed;
        // A careful player never loses a life to a full entry.
        EXPECT_NE(game.ending, Ending::EntryBlocked) << "game " << seed;
        record.games.push_back(game);
    }
    if (std::getenv("QUIBBO_LEVEL_GAMES")) {
        std::printf(
            "%s %s at %d%%: won %zu of %zu; seconds to win, half of the games %d, nine in ten %d, "
            "countdown %d\n",
            name.c_str(), style.hurry ? "quick" : "beginner", Difficulty(), record.Cleared(),
            record.games.size(), record.Seconds(0.5), record.Seconds(0.9), level.timer / 1000);
    }
    return record;
}

class ContentLevelPlayTest : public testing::TestWithParam<std::string> {};

TEST_P(ContentLevelPlayTest, AQuickPlayerWinsItWithinTheCountdown) {
    Style quick;
    quick.hurry = true;
    const Record record = PlayAll(GetParam(), quick);
    // Luck plays its part: the last blocks must come in an order that lets the field empty.
    EXPECT_GE(record.Cleared(), record.games.size() - record.games.size() / 4);
}

// A beginner never hurries, so every block takes its full time to fall.
class ContentLevelBeginnerTest : public testing::TestWithParam<std::string> {};

TEST_P(ContentLevelBeginnerTest, WinsTheLevelWellWithinTheCountdown) {
    LevelFile level;
    std::vector<std::string> faults;
    ASSERT_TRUE(contentlevels::Load(GetParam(), level, faults));
    const Record record = PlayAll(GetParam(), Style{});
    // Half of the games are won in a third of the countdown or less.
    const int32_t half = record.Seconds(0.5);
    EXPECT_GE(half, 0);
    EXPECT_LE(half, level.timer / 1000 / 3);
}

std::string LevelName(const testing::TestParamInfo<std::string>& info) {
    return contentlevels::TestName(info.param);
}

std::vector<std::string> FirstLevels() {
    std::vector<std::string> levels = contentlevels::ListedLevels();
    levels.resize(std::min(levels.size(), kFirstLevels));
    return levels;
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, ContentLevelPlayTest,
                         testing::ValuesIn(contentlevels::ListedLevels()), LevelName);
INSTANTIATE_TEST_SUITE_P(FirstLevels, ContentLevelBeginnerTest, testing::ValuesIn(FirstLevels()),
                         LevelName);

} // namespace
