// Building RIFF WAVE files byte by byte, well-formed or not, for the sound suites.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace soundfiles {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

inline void PutId(Bytes& out, const char* id) {
    out.insert(out.end(), id, id + 4);
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A chunk: identifier, size (the data's own unless `declared` says otherwise), data, and the pad
// byte after odd-sized data.
inline Bytes Chunk(const char* id, const Bytes& data, int64_t declared = -1) {
    Bytes out;
    PutId(out, id);
    Put32(out, declared < 0 ? static_cast<uint32_t>(data.size()) : static_cast<uint32_t>(declared));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2)
        out.push_back(0);
    return out;
}

// A RIFF or LIST chunk of the given form type around `body`.
inline Bytes Form(const char* id, const char* type, const Bytes& body, int64_t declared = -1) {
    Bytes data;
    PutId(data, type);
    data = data + body;
    return Chunk(id, data, declared);
}

struct Format {
    uint16_t tag = 1; // PCM
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    int32_t blockAlign = -1; // -1: channels * bits / 8
    size_t size = 16;        // bytes of the "fmt " chunk: 16 as most files have it, or 18
};

inline Bytes FormatData(const Format& f) {
    uint16_t align = f.blockAlign < 0 ? static_cast<uint16_t>(f.channels * f.bits / 8)
                                      : static_cast<uint16_t>(f.blockAlign);
    Bytes out;
    Put16(out, f.tag);
    Put16(out, f.channels);
    Put32(out, f.rate);
    Put32(out, f.rate * align);
    Put16(out, align);
    Put16(out, f.bits);
    Put16(out, 0); // no extra format bytes
    out.resize(f.size, 0);
    return out;
}

inline Bytes FmtChunk(const Format& f = {}) {
    return Chunk("fmt ", FormatData(f));
}

inline Bytes Wave(const Bytes& body) {
    return Form("RIFF", "WAVE", body);
}

// 16-bit little-endian samples, interleaved as given.
inline Bytes Samples16(const std::vector<int16_t>& samples) {
    Bytes out;
    for (int16_t s : samples)
        Put16(out, static_cast<uint16_t>(s));
    return out;
}

inline Bytes Constant16(size_t count, int16_t value) {
    return Samples16(std::vector<int16_t>(count, value));
}

// A plain PCM file: format chunk, then data chunk.
inline Bytes Wav(const Format& f, const Bytes& samples) {
    return Wave(FmtChunk(f) + Chunk("data", samples));
}

// One side of an interleaved stereo mix: 0 left, 1 right.
inline std::vector<int16_t> Side(const std::vector<int16_t>& mix, int side) {
    std::vector<int16_t> out;
    for (size_t i = static_cast<size_t>(side); i < mix.size(); i += 2)
        out.push_back(mix[i]);
    return out;
}

// The process environment, changed for one test (SDL_AUDIODRIVER, say).
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name))
            previous = old;
        setenv(name, value, 1);
    }
    ~ScopedEnvironment() {
        if (previous)
            setenv(name, previous->c_str(), 1);
        else
            unsetenv(name);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name;
    std::optional<std::string> previous;
};

} // namespace soundfiles
