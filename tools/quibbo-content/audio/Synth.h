// A very small synthesiser for short sound effects: struck tones with partials, pitch glides
// and exponential decays, soft noise bursts, and the finishing that makes a sample clean
// (no offset, silent ends, a set peak level).
#pragma once

#include <cstdint>
#include <vector>

namespace audio {

constexpr uint32_t kSampleRate = 22050;

// Samples from -1 to 1 at kSampleRate.
using Signal = std::vector<double>;

// Notes of C major used by the effects, in hertz, so the effects sound well together.
namespace note {
constexpr double G4 = 392.00;
constexpr double C5 = 523.25;
constexpr double E5 = 659.26;
constexpr double G5 = 783.99;
constexpr double C6 = 1046.50;
constexpr double E6 = 1318.51;
} // namespace note

struct Partial {
    double ratio;     // frequency as a multiple of the tone's
    double amplitude; // relative loudness
    double fade;      // decay speed relative to the tone's (higher partials die away sooner)
};

// One struck tone.
struct Strike {
    double start = 0;        // seconds into the signal
    double length = 0.1;     // seconds until it has faded out completely
    double frequency = 440;  // settled pitch, Hz
    double glide = 1;        // pitch at the strike as a multiple of `frequency` (1: none)
    double glideTime = 0.01; // seconds for the glide to settle (time constant)
    double attack = 0.002;   // seconds to full loudness
    double decay = 0.05;     // time constant of the exponential decay, seconds
    double amplitude = 1;    // peak loudness
    std::vector<Partial> partials{{1.0, 1.0, 1.0}};
};

// A tone without glide and with a quick attack; change the other fields as needed.
Strike Tone(double start, double length, double frequency, double decay, double amplitude,
            std::vector<Partial> partials);

// Adds the tone, growing the signal if it ends later.
void Add(Signal& signal, const Strike& strike);
// Adds a soft burst of noise (deterministic, from `seed`), smoothed to below `cutoff` hertz.
void AddNoise(Signal& signal, double start, double length, double decay, double amplitude,
              double cutoff, uint32_t seed);
// Makes the signal clean: removes any constant offset, fades the first `fadeIn` and last
// `fadeOut` seconds in and out so it starts and ends at exactly zero, and scales it to `peak`.
void Finish(Signal& signal, double peak, double fadeIn, double fadeOut);
// 16-bit samples, rounded and clamped.
std::vector<int16_t> ToPcm(const Signal& signal);

} // namespace audio
