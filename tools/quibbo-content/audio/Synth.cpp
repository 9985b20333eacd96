#include "audio/Synth.h"

#include <algorithm>
#include <cmath>

namespace audio {
namespace {

constexpr double kPi = 3.14159265358979323846;

size_t SampleAt(double seconds) {
    return static_cast<size_t>(std::lround(seconds * kSampleRate));
}

// A raised-cosine ramp from 0 to 1 over [0, 1].
double Ramp(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(kPi * x);
}

void GrowTo(Signal& signal, size_t end) {
    if (signal.size() < end) {
        signal.resize(end, 0.0);
    }
}

} // namespace

Strike Tone(double start, double length, double frequency, double decay, double amplitude,
            std::vector<Partial> partials) {
    Strike s;
    s.start = start;
    s.length = length;
    s.frequency = frequency;
    s.decay = decay;
    s.amplitude = amplitude;
    s.partials = std::move(partials);
    return s;
}

void Add(Signal& signal, const Strike& s) {
    const size_t first = SampleAt(s.start);
    const size_t count = SampleAt(s.length);
    GrowTo(signal, first + count);
    const double release = std::min(0.02, s.length / 4);
    double phase = 0.0; // in turns of the fundamental
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double pitch =
            s.frequency * (1.0 + (s.glide - 1.0) * std::exp(-t / std::max(s.glideTime, 1e-6)));
        const double envelope = Ramp(t / s.attack) * Ramp((s.length - t) / release) * s.amplitude;
        double value = 0.0;
        for (const Partial& p : s.partials) {
            value +=
                p.amplitude * std::exp(-t * p.fade / s.decay) * std::sin(2 * kPi * p.ratio * phase);
        }
        signal[first + i] += envelope * value;
        phase += pitch / kSampleRate;
    }
}

void AddNoise(Signal& signal, double start, double length, double decay, double amplitude,
              double cutoff, uint32_t seed) {
    const size_t first = SampleAt(start);
    const size_t count = SampleAt(length);
    GrowTo(signal, first + count);
    // One-pole low-pass: smooth factor from the cutoff.
    const double k = 1.0 - std::exp(-2 * kPi * cutoff / kSampleRate);
    uint32_t state = seed ? seed : 1u;
    double smooth = 0.0;
    for (size_t i = 0; i < count; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const double white = static_cast<double>(state) / 4294967295.0 * 2.0 - 1.0;
        smooth += k * (white - smooth);
        const double t = static_cast<double>(i) / kSampleRate;
        const double envelope = Ramp(t / 0.002) * std::exp(-t / decay) * Ramp((length - t) / 0.01);
        signal[first + i] += amplitude * envelope * smooth;
    }
}

void Finish(Signal& signal, double peak, double fadeIn, double fadeOut) {
    if (signal.empty()) {
        return;
    }
    double mean = 0.0;
    for (double v : signal) {
        mean += v;
    }
    mean /= static_cast<double>(signal.size());
    const double n = static_cast<double>(signal.size() - 1);
    for (size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double tail = (n - static_cast<double>(i)) / kSampleRate;
        signal[i] = (signal[i] - mean) * Ramp(t / fadeIn) * Ramp(tail / fadeOut);
    }
    double loudest = 0.0;
    for (double v : signal) {
        loudest = std::max(loudest, std::abs(v));
    }
    if (loudest > 0.0) {
        for (double& v : signal) {
            v *= peak / loudest;
        }
    }
}

std::vector<int16_t> ToPcm(const Signal& signal) {
    std::vector<int16_t> pcm;
    pcm.reserve(signal.size());
    for (double v : signal) {
        pcm.push_back(static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0)));
    }
    return pcm;
}

} // namespace audio
