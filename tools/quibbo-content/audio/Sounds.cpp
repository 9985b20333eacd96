#include "audio/Sounds.h"

#include "audio/Synth.h"

namespace audio {

std::vector<int16_t> LandingPop() {
    Signal s;
    // A wooden knock on G4: the pitch drops quickly into the note, the octave dies sooner.
    Add(s, Strike{0.0,
                  0.13,
                  note::G4,
                  1.7,
                  0.010,
                  0.0015,
                  0.032,
                  1.0,
                  {{1.0, 1.0, 1.0}, {2.0, 0.35, 2.2}, {3.0, 0.12, 3.5}}});
    // The soft thud of the contact.
    AddNoise(s, 0.0, 0.03, 0.006, 0.25, 1800.0, 0x51A7u);
    Finish(s, 0.55, 0.0015, 0.015);
    return ToPcm(s);
}

std::vector<int16_t> RunVanishes() {
    Signal s;
    // "Bonk": a marimba bar on C5 (the bar's fourth partial is tuned to two octaves up).
    Add(s, Strike{0.0,
                  0.22,
                  note::C5,
                  1.15,
                  0.006,
                  0.002,
                  0.07,
                  0.9,
                  {{1.0, 1.0, 1.0}, {4.0, 0.22, 2.5}, {9.2, 0.05, 5.0}}});
    // "Pop, pop": bubbles whose pitch rises as they burst, on E5 and G5.
    Add(s, Strike{0.075,
                  0.12,
                  note::E5,
                  0.7,
                  0.018,
                  0.002,
                  0.045,
                  0.6,
                  {{1.0, 1.0, 1.0}, {2.0, 0.15, 2.0}}});
    Add(s, Strike{0.145,
                  0.12,
                  note::G5,
                  0.7,
                  0.018,
                  0.002,
                  0.045,
                  0.6,
                  {{1.0, 1.0, 1.0}, {2.0, 0.15, 2.0}}});
    // "B...": a small bell on C6 with a touch of E6 that rings the run away.
    Add(s, Strike{0.215,
                  0.36,
                  note::C6,
                  1.0,
                  0.01,
                  0.003,
                  0.12,
                  0.55,
                  {{1.0, 1.0, 1.0}, {2.0, 0.3, 1.8}, {3.0, 0.1, 2.6}}});
    Add(s, Strike{0.215, 0.30, note::E6, 1.0, 0.01, 0.004, 0.09, 0.18, {{1.0, 1.0, 1.0}}});
    Finish(s, 0.70, 0.002, 0.04);
    return ToPcm(s);
}

std::vector<int16_t> FieldTurns() {
    Signal s;
    // Two soft, slightly hollow tones (a little third harmonic), G5 then C6, the second
    // gliding up into its note like a quick swing.
    const std::vector<Partial> hollow{{1.0, 1.0, 1.0}, {3.0, 0.12, 2.0}};
    Add(s, Strike{0.0, 0.07, note::G5, 1.0, 0.01, 0.003, 0.06, 0.8, hollow});
    Add(s, Strike{0.055, 0.10, note::C6, 0.94, 0.012, 0.003, 0.06, 0.8, hollow});
    Finish(s, 0.45, 0.002, 0.02);
    return ToPcm(s);
}

} // namespace audio
