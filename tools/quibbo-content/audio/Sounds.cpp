#include "audio/Sounds.h"

#include "audio/Synth.h"

namespace audio {
namespace {

// A tone whose pitch starts at `glide` times its note and settles there.
Strike Gliding(Strike s, double glide, double glideTime) {
    s.glide = glide;
    s.glideTime = glideTime;
    return s;
}

// A bubble bursting: short, its pitch rising into the note.
Strike Bubble(double start, double frequency) {
    return Gliding(Tone(start, 0.12, frequency, 0.045, 0.6, {{1.0, 1.0, 1.0}, {2.0, 0.15, 2.0}}),
                   0.7, 0.018);
}

} // namespace

std::vector<int16_t> LandingPop() {
    Signal s;
    // A wooden knock on G4: the pitch drops quickly into the note, the overtones die sooner.
    Strike knock = Tone(0.0, 0.13, note::G4, 0.032, 1.0,
                        {{1.0, 1.0, 1.0}, {2.0, 0.35, 2.2}, {3.0, 0.12, 3.5}});
    knock.attack = 0.0015;
    Add(s, Gliding(knock, 1.7, 0.010));
    // The soft thud of the contact.
    AddNoise(s, 0.0, 0.03, 0.006, 0.25, 1800.0, 0x51A7u);
    Finish(s, 0.55, 0.0015, 0.015);
    return ToPcm(s);
}

std::vector<int16_t> RunVanishes() {
    Signal s;
    // "Bonk": a marimba bar on C5 (the bar's fourth partial is tuned two octaves up).
    Add(s, Gliding(Tone(0.0, 0.22, note::C5, 0.07, 0.9,
                        {{1.0, 1.0, 1.0}, {4.0, 0.22, 2.5}, {9.2, 0.05, 5.0}}),
                   1.15, 0.006));
    // "Pop, pop": bubbles on E5 and G5, up through the chord.
    Add(s, Bubble(0.075, note::E5));
    Add(s, Bubble(0.145, note::G5));
    // "B...": a small bell on C6 with a touch of E6 that rings the run away.
    Strike bell = Tone(0.215, 0.36, note::C6, 0.12, 0.55,
                       {{1.0, 1.0, 1.0}, {2.0, 0.3, 1.8}, {3.0, 0.1, 2.6}});
    bell.attack = 0.003;
    Add(s, bell);
    Strike shimmer = Tone(0.215, 0.30, note::E6, 0.09, 0.18, {{1.0, 1.0, 1.0}});
    shimmer.attack = 0.004;
    Add(s, shimmer);
    Finish(s, 0.70, 0.002, 0.04);
    return ToPcm(s);
}

std::vector<int16_t> FieldTurns() {
    Signal s;
    // Two soft, slightly hollow tones (a little third harmonic), G5 then C6, the second
    // gliding up into its note like a quick swing.
    const std::vector<Partial> hollow{{1.0, 1.0, 1.0}, {3.0, 0.12, 2.0}};
    Strike first = Tone(0.0, 0.07, note::G5, 0.06, 0.8, hollow);
    first.attack = 0.003;
    Add(s, first);
    Strike second = Gliding(Tone(0.055, 0.10, note::C6, 0.06, 0.8, hollow), 0.94, 0.012);
    second.attack = 0.003;
    Add(s, second);
    Finish(s, 0.45, 0.002, 0.02);
    return ToPcm(s);
}

} // namespace audio
