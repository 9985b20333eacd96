// The game's sound effects: well-formed, short and clean, and the synthesis steps that make
// them so.
#include "audio/Synth.h"

#include "ContentFiles.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

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

} // namespace
