// The yardstick of the frame benchmarks: copying a 16-bit frame with memcpy, which no drawing of
// a frame can beat.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

// Copies a frame of state.range(0) x state.range(1) pixels, 2 bytes each, once an iteration.
inline void CopyFrames(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0) * state.range(1) * 2);
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
