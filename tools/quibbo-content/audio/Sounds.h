// The game's three sound effects, all in C major so they sound well together.
#pragma once

#include <cstdint>
#include <vector>

namespace audio {

// sound/pop.wav: a block comes to rest. Heard often, so short and soft: a round wooden "tok".
std::vector<int16_t> LandingPop();
// sound/bonkpopb.wav: a run of blocks vanishes. A marimba "bonk", two bubbly pops rising
// through the chord and a bright bell on top.
std::vector<int16_t> RunVanishes();
// sound/beep.wav: the field turns. A quick, friendly two-note "bip-bip" upwards.
std::vector<int16_t> FieldTurns();

} // namespace audio
