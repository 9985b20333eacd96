// The game's sound effects: well-formed, short and clean, loaded by the game's own sound
// object, and the synthesis steps that make them so.
#include "audio/Synth.h"
#include "sound/CSound.h"

#include "ContentFiles.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

TEST(ContentSynthTest, FinishRemovesOffsetSilencesBothEndsAndSetsThePeak) {
    audio::Signal s(2000);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = 0.4 + 0.3 * std::sin(static_cast<double>(i) * 0.05);
    }
    audio::Finish(s, 0.5, 0.002, 0.005);
    double mean = 0, peak = 0;
    for (double v : s) {
        mean += v;
        peak = std::max(peak, std::abs(v));
    }
    EXPECT_NEAR(mean / s.size(), 0.0, 0.01);
    EXPECT_NEAR(peak, 0.5, 1e-9);
    EXPECT_EQ(s.front(), 0.0);
    EXPECT_EQ(s.back(), 0.0);

    const std::vector<int16_t> pcm = audio::ToPcm({-2.0, -1.0, 0.0, 0.5, 1.0, 3.0});
    EXPECT_EQ(pcm, (std::vector<int16_t>{-32767, -32767, 0, 16384, 32767, 32767}));
}

// Frequency from the upward zero crossings between two times.
double MeasuredPitch(const audio::Signal& s, double from, double to) {
    const size_t a = static_cast<size_t>(from * audio::kSampleRate);
    const size_t b = static_cast<size_t>(to * audio::kSampleRate);
    int crossings = 0;
    for (size_t i = a; i + 1 < b; ++i) {
        crossings += (s[i] <= 0 && s[i + 1] > 0) ? 1 : 0;
    }
    return crossings / (to - from);
}

TEST(ContentSynthTest, ToneGlidesIntoItsNoteAndLandsWhereAsked) {
    audio::Strike tone = audio::Tone(0.1, 0.5, 440.0, 10.0, 0.8, {{1.0, 1.0, 1.0}});
    tone.glide = 2.0;
    tone.glideTime = 0.02;
    audio::Signal s;
    audio::Add(s, tone);
    EXPECT_EQ(s.size(), static_cast<size_t>(0.6 * audio::kSampleRate));
    for (size_t i = 0; i < static_cast<size_t>(0.1 * audio::kSampleRate); ++i) {
        ASSERT_EQ(s[i], 0.0) << "before its start, at " << i;
    }
    EXPECT_NEAR(MeasuredPitch(s, 0.35, 0.55), 440.0, 10.0);
    EXPECT_GT(MeasuredPitch(s, 0.1, 0.12), 700.0); // an octave up at the strike
    // A second tone mixes into the same signal rather than replacing it.
    audio::Signal twice = s;
    audio::Add(twice, tone);
    EXPECT_NEAR(twice[static_cast<size_t>(0.3 * audio::kSampleRate)],
                2 * s[static_cast<size_t>(0.3 * audio::kSampleRate)], 1e-12);
}

TEST(ContentSynthTest, NoiseIsRepeatableFromItsSeed) {
    audio::Signal a, b, c;
    audio::AddNoise(a, 0.0, 0.05, 0.02, 0.5, 3000.0, 7);
    audio::AddNoise(b, 0.0, 0.05, 0.02, 0.5, 3000.0, 7);
    audio::AddNoise(c, 0.0, 0.05, 0.02, 0.5, 3000.0, 8);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    for (double v : a) {
        EXPECT_LE(std::abs(v), 0.5);
    }
}

TEST(ContentSoundTest, EveryEffectIsShortClean16BitMonoPcm) {
    for (const char* name : {"sound/pop.wav", "sound/bonkpopb.wav", "sound/beep.wav"}) {
        std::string why;
        const auto wav = contentfiles::ParseWav(
            testfiles::ReadBytes(contentfiles::GameDir() + "/" + name), &why);
        ASSERT_TRUE(wav) << name << ": " << why;
        EXPECT_EQ(wav->formatTag, 1) << name;
        EXPECT_EQ(wav->channels, 1) << name;
        EXPECT_EQ(wav->bits, 16) << name;
        EXPECT_TRUE(wav->rate == 22050 || wav->rate == 44100) << name;
        EXPECT_EQ(wav->byteRate, wav->rate * 2) << name;
        EXPECT_EQ(wav->blockAlign, 2) << name;

        const std::vector<int16_t>& s = wav->samples;
        const double seconds = static_cast<double>(s.size()) / wav->rate;
        EXPECT_GT(seconds, 0.05) << name;
        EXPECT_LT(seconds, 1.0) << name;

        int peak = 0;
        double sum = 0;
        for (int16_t v : s) {
            peak = std::max(peak, std::abs(static_cast<int>(v)));
            sum += v;
        }
        // Loud enough to hear, never clipped, no offset that would thump at start and stop.
        EXPECT_GT(peak, 32767 / 4) << name;
        EXPECT_LT(peak, 32000) << name;
        EXPECT_LT(std::abs(sum / s.size()), 0.002 * 32767) << name;
        // Starts and ends in silence, reached smoothly: no click.
        EXPECT_EQ(s.front(), 0) << name;
        EXPECT_EQ(s.back(), 0) << name;
        const size_t millisecond = wav->rate / 1000;
        for (size_t i = 0; i < millisecond / 2; ++i) {
            EXPECT_LT(std::abs(s[i]), peak / 10) << name << " sample " << i;
            EXPECT_LT(std::abs(s[s.size() - 1 - i]), peak / 10) << name << " from the end " << i;
        }
    }
}

TEST(ContentSoundTest, EveryEffectLoadsThroughTheGamesSoundLoader) {
    // Where the game looks for them: sound/ under the folder it runs in, which gets its logs.
    testfiles::ScratchDir dir(/*enter=*/true);
    std::filesystem::create_directory("sound");
    const char* const effects[] = {"sound/pop.wav", "sound/bonkpopb.wav", "sound/beep.wav"};
    for (const char* name : effects)
        std::filesystem::copy_file(contentfiles::GameDir() + "/" + name, name);

    int windowObject = 0;
    CSound sound;
    ASSERT_TRUE(sound.Init(reinterpret_cast<HWND>(&windowObject)));
    std::vector<std::string> expected = {"CSOUND --- NOTICE --- Init evaluated OK"};
    int32_t id = 0;
    for (const char* name : effects) {
        ++id;
        EXPECT_EQ(sound.LoadWav(name), id) << name;
        expected.push_back(std::string("CSOUND --- NOTICE --- Successfully loaded sound ") + name +
                           " into buffer " + std::to_string(id));
    }
    // The log is flushed line by line: after its own header, the successes (and the table
    // growing as it goes).
    std::vector<std::string> messages;
    for (const std::string& m : testfiles::LogMessages("logs/sound.txt"))
        if (m.rfind("CLOG --- ", 0) != 0 && m.rfind("Reallocated sound buffers", 0) != 0)
            messages.push_back(m);
    sound.Release();
    EXPECT_EQ(messages, expected);
}

} // namespace
