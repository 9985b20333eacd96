// DirectSound buffers and the mixer behind them, heard through the RenderMix seam.
#include <windows.h>
#include <dsound.h>

#include "SoundTestFiles.h"
#include "compat/Seams.h"
#include "compat/SoundSeams.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr DWORD kRate = 22050;
constexpr DWORD kControls = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

WAVEFORMATEX Pcm(int channels, int bits, DWORD rate = kRate) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.wBitsPerSample = static_cast<WORD>(bits);
    format.nSamplesPerSec = rate;
    format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

DSBUFFERDESC Desc(WAVEFORMATEX& format, DWORD bytes, DWORD flags = kControls) {
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = flags;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = &format;
    return desc;
}

std::vector<int16_t> Ramp(size_t count, int start, int step) {
    std::vector<int16_t> samples;
    for (size_t i = 0; i < count; ++i)
        samples.push_back(static_cast<int16_t>(start + step * static_cast<int>(i)));
    return samples;
}

std::vector<int16_t> Channel(const std::vector<int16_t>& mix, int channel) {
    std::vector<int16_t> out;
    for (size_t i = static_cast<size_t>(channel); i < mix.size(); i += 2)
        out.push_back(mix[i]);
    return out;
}

std::vector<int16_t> Left(const std::vector<int16_t>& mix) {
    return Channel(mix, 0);
}

std::vector<int16_t> Right(const std::vector<int16_t>& mix) {
    return Channel(mix, 1);
}

// Frames until the first silent one on the left.
size_t SoundingFrames(const std::vector<int16_t>& mix) {
    std::vector<int16_t> left = Left(mix);
    size_t n = 0;
    while (n < left.size() && left[n] != 0)
        ++n;
    return n;
}

class MixerTest : public testing::Test {
protected:
    void SetUp() override {
        compat::seams::MixWithoutDevice(kRate);
        ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DS_OK);
        ASSERT_NE(ds, nullptr);
        int window = 0;
        ASSERT_EQ(ds->SetCooperativeLevel(reinterpret_cast<HWND>(&window), DSSCL_NORMAL), DS_OK);
    }

    void TearDown() override {
        for (LPDIRECTSOUNDBUFFER buffer : buffers)
            buffer->Release();
        if (ds)
            ds->Release();
    }

    LPDIRECTSOUNDBUFFER Make(WAVEFORMATEX format, const void* bytes, DWORD size,
                             DWORD flags = kControls) {
        DSBUFFERDESC desc = Desc(format, size, flags);
        LPDIRECTSOUNDBUFFER buffer = nullptr;
        EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        if (!buffer)
            return nullptr;
        buffers.push_back(buffer);
        LPVOID first, second;
        DWORD firstBytes, secondBytes;
        EXPECT_EQ(buffer->Lock(0, size, &first, &firstBytes, &second, &secondBytes,
                               DSBLOCK_FROMWRITECURSOR),
                  DS_OK);
        EXPECT_EQ(firstBytes, size);
        std::memcpy(first, bytes, size);
        EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
        return buffer;
    }

    // A buffer of 16-bit samples (interleaved when stereo) at `rate`.
    LPDIRECTSOUNDBUFFER Make16(const std::vector<int16_t>& samples, int channels = 1,
                               DWORD rate = kRate, DWORD flags = kControls) {
        return Make(Pcm(channels, 16, rate), samples.data(), static_cast<DWORD>(samples.size() * 2),
                    flags);
    }

    static std::vector<int16_t> Render(size_t frames) { return compat::seams::RenderMix(frames); }

    LPDIRECTSOUND ds = nullptr;
    std::vector<LPDIRECTSOUNDBUFFER> buffers;
};

TEST_F(MixerTest, FullVolumeCentredPlaysTheSamplesUnchangedOnBothSides) {
    std::vector<int16_t> ramp = Ramp(100, -20000, 400);
    LPDIRECTSOUNDBUFFER buffer = Make16(ramp);
    EXPECT_EQ(compat::seams::MixRate(), static_cast<int>(kRate));
    EXPECT_EQ(Left(Render(10)), std::vector<int16_t>(10, 0)); // nothing before Play

    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 1);
    std::vector<int16_t> mix = Render(120);
    std::vector<int16_t> expected = ramp;
    expected.resize(120, 0);
    EXPECT_EQ(Left(mix), expected);
    EXPECT_EQ(Right(mix), expected);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0); // a sound played once stops at its end
}

TEST_F(MixerTest, VolumeIsInHundredthsOfADecibel) {
    LPDIRECTSOUNDBUFFER buffer = Make16(std::vector<int16_t>(1000, 20000));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    struct {
        LONG volume;
        double gain;
    } levels[] = {{0, 1.0}, {-600, 0.501187}, {-1500, 0.17783}, {-2970, 0.032734}, {-10000, 0.0}};
    for (auto level : levels) {
        SCOPED_TRACE(level.volume);
        ASSERT_EQ(buffer->SetVolume(level.volume), DS_OK);
        std::vector<int16_t> mix = Render(4);
        EXPECT_NEAR(mix[0], 20000 * level.gain, 1.0);
        EXPECT_NEAR(mix[1], 20000 * level.gain, 1.0);
    }
}

TEST_F(MixerTest, PanAttenuatesOnlyTheSideTheSoundMovesAwayFrom) {
    LPDIRECTSOUNDBUFFER buffer = Make16(std::vector<int16_t>(1000, 20000));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    struct {
        LONG pan;
        LONG volume;
        double left, right;
    } cases[] = {
        {DSBPAN_LEFT, 0, 20000, 0},     {DSBPAN_RIGHT, 0, 0, 20000},
        {-2000, 0, 20000, 2000},        {2000, 0, 2000, 20000},
        {-2000, -600, 10023.8, 1002.4}, {DSBPAN_CENTER, -600, 10023.8, 10023.8},
    };
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << "pan " << c.pan << " volume " << c.volume);
        ASSERT_EQ(buffer->SetPan(c.pan), DS_OK);
        ASSERT_EQ(buffer->SetVolume(c.volume), DS_OK);
        std::vector<int16_t> mix = Render(50);
        for (int16_t s : Left(mix))
            ASSERT_NEAR(s, c.left, 1.0);
        for (int16_t s : Right(mix))
            ASSERT_NEAR(s, c.right, 1.0);
    }
}

TEST_F(MixerTest, SampleFormatsReachTheRightSides) {
    // Stereo: the left samples stay left, the right ones right; a mono sound sounds on both.
    LPDIRECTSOUNDBUFFER stereo = Make16({10000, -7000, 10000, -7000, 10000, -7000}, 2);
    ASSERT_EQ(stereo->Play(0, 0, 0), DS_OK);
    std::vector<int16_t> mix = Render(4);
    EXPECT_EQ(Left(mix), (std::vector<int16_t>{10000, 10000, 10000, 0}));
    EXPECT_EQ(Right(mix), (std::vector<int16_t>{-7000, -7000, -7000, 0}));

    // 8-bit samples are unsigned around 128.
    const uint8_t eight[] = {0x80, 0xC0, 0x00, 0xFF};
    LPDIRECTSOUNDBUFFER mono8 = Make(Pcm(1, 8), eight, sizeof eight);
    ASSERT_EQ(mono8->Play(0, 0, 0), DS_OK);
    mix = Render(4);
    EXPECT_EQ(Left(mix), (std::vector<int16_t>{0, 16384, -32768, 32512}));
    EXPECT_EQ(Right(mix), Left(mix));
}

TEST_F(MixerTest, FrequencyResamplesAndSetsTheDuration) {
    std::vector<int16_t> ramp = Ramp(1000, 1000, 10);
    LPDIRECTSOUNDBUFFER buffer = Make16(ramp);

    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(SoundingFrames(Render(3000)), 1000u);

    // Twice the rate: every other sample, in half the time.
    ASSERT_EQ(buffer->SetFrequency(2 * kRate), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    std::vector<int16_t> fast = Left(Render(3000));
    EXPECT_EQ(fast[0], 1000);
    EXPECT_EQ(fast[1], 1020);
    EXPECT_EQ(fast[499], 1000 + 10 * 998);
    EXPECT_EQ(fast[500], 0);

    // Half the rate: twice as long, the samples between interpolated.
    ASSERT_EQ(buffer->SetFrequency(kRate / 2), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    std::vector<int16_t> slow = Left(Render(3000));
    EXPECT_EQ(slow[1], 1005);
    EXPECT_EQ(slow[101], 1505);
    EXPECT_EQ(slow[1999], ramp.back()); // the last sample has nothing after it to lean to
    EXPECT_EQ(slow[2000], 0);

    // 0 is the format's own rate again.
    ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(SoundingFrames(Render(3000)), 1000u);
}

TEST_F(MixerTest, ABufferResamplesToAnyOutputRate) {
    // 44100 Hz samples mixed at 22050: a sound of 2000 frames lasts 1000 output frames.
    LPDIRECTSOUNDBUFFER buffer = Make16(std::vector<int16_t>(2000, 5000), 1, 44100);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(SoundingFrames(Render(3000)), 1000u);
}

TEST_F(MixerTest, PlayOnAPlayingBufferDoesNotRestartIt) {
    std::vector<int16_t> ramp = Ramp(1000, 1, 20);
    LPDIRECTSOUNDBUFFER buffer = Make16(ramp);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    Render(300);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Left(Render(1))[0], ramp[300]);

    // Finished, it starts from the beginning again.
    Render(1000);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Left(Render(1))[0], ramp[0]);
}

TEST_F(MixerTest, LoopingRepeatsUntilPlayedOnceMore) {
    std::vector<int16_t> ramp = Ramp(100, 100, 100);
    LPDIRECTSOUNDBUFFER buffer = Make16(ramp);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    std::vector<int16_t> mix = Left(Render(250));
    for (size_t i = 0; i < mix.size(); ++i)
        ASSERT_EQ(mix[i], ramp[i % 100]) << i;
    EXPECT_EQ(compat::seams::PlayingBuffers(), 1);

    // Played once while looping: it goes on from where it is and stops at the end.
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    mix = Left(Render(100));
    EXPECT_EQ(mix[0], ramp[50]);
    EXPECT_EQ(mix[49], ramp[99]);
    EXPECT_EQ(mix[50], 0);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
}

TEST_F(MixerTest, BuffersAreSummedAndClippedTo16Bits) {
    struct {
        int16_t a, b, sum;
    } cases[] = {
        {10000, 5000, 15000}, {30000, 30000, 32767}, {-30000, -30000, -32768}, {30000, -30000, 0}};
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " + " << c.b);
        LPDIRECTSOUNDBUFFER a = Make16(std::vector<int16_t>(10, c.a));
        LPDIRECTSOUNDBUFFER b = Make16(std::vector<int16_t>(10, c.b));
        ASSERT_EQ(a->Play(0, 0, 0), DS_OK);
        ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
        EXPECT_EQ(compat::seams::PlayingBuffers(), 2);
        std::vector<int16_t> mix = Render(10);
        for (int16_t s : mix)
            ASSERT_EQ(s, c.sum);
    }
}

TEST_F(MixerTest, LockHandsOutOneOrTwoRegions) {
    std::vector<int16_t> silence(200, 0); // 400 bytes
    LPDIRECTSOUNDBUFFER buffer = Make16(silence);
    LPVOID first, second;
    DWORD firstBytes, secondBytes;

    // From an offset near the end, the rest wraps to the start.
    ASSERT_EQ(buffer->Lock(300, 200, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(firstBytes, 100u);
    EXPECT_EQ(secondBytes, 100u);
    EXPECT_EQ(static_cast<uint8_t*>(first) - static_cast<uint8_t*>(second), 300);
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);

    ASSERT_EQ(buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER),
              DS_OK);
    EXPECT_EQ(firstBytes, 400u);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(secondBytes, 0u);
    ASSERT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), DS_OK);

    // Playing, the write cursor runs about 10 ms ahead of the play cursor: 50 frames played
    // plus 221 frames at 22050 Hz, wrapped in 200 frames, is frame 71 (byte 142).
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Render(50);
    ASSERT_EQ(
        buffer->Lock(0, 400, &first, &firstBytes, &second, &secondBytes, DSBLOCK_FROMWRITECURSOR),
        DS_OK);
    EXPECT_EQ(static_cast<uint8_t*>(first) - static_cast<uint8_t*>(second), 142);
    EXPECT_EQ(firstBytes, 258u);
    EXPECT_EQ(secondBytes, 142u);
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
}

TEST_F(MixerTest, MalformedLocksAndUnlocksAreRefused) {
    LPDIRECTSOUNDBUFFER buffer = Make16(std::vector<int16_t>(200, 0));
    LPVOID first, second;
    DWORD firstBytes, secondBytes;
    EXPECT_EQ(buffer->Lock(0, 401, &first, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(400, 4, &first, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 4, nullptr, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);
    // A lock that wraps needs somewhere to put its second region.
    EXPECT_EQ(buffer->Lock(300, 200, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    // Nothing is locked after all those: an unlock has nothing to end.
    ASSERT_EQ(buffer->Lock(0, 4, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    int elsewhere[2];
    EXPECT_EQ(buffer->Unlock(elsewhere, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, 401, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), DS_OK);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), DSERR_INVALIDCALL);
}

TEST_F(MixerTest, ALockedBufferIsSilentUntilUnlockedAndThenPlaysWhatWasWritten) {
    LPDIRECTSOUNDBUFFER buffer = Make16(std::vector<int16_t>(100, 1000));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    LPVOID first, second;
    DWORD firstBytes, secondBytes;
    ASSERT_EQ(buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER),
              DS_OK);
    std::vector<int16_t> louder(100, 3000);
    std::memcpy(first, louder.data(), firstBytes);
    EXPECT_EQ(Left(Render(10)), std::vector<int16_t>(10, 0));
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    EXPECT_EQ(Left(Render(10)), std::vector<int16_t>(10, 3000));
}

TEST_F(MixerTest, ValuesOutOfRangeAreRefusedAndChangeNothing) {
    LPDIRECTSOUNDBUFFER buffer = Make16(std::vector<int16_t>(1000, 10000));
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MIN - 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MAX + 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(1, 0, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(0, 1, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(0, 0, 0x10), DSERR_INVALIDPARAM);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    std::vector<int16_t> mix = Render(1000);
    EXPECT_EQ(mix, std::vector<int16_t>(2000, 10000));

    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MIN), DS_OK);
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MAX), DS_OK);

    // Without the controls asked for at creation, there are none.
    LPDIRECTSOUNDBUFFER plain = Make16(std::vector<int16_t>(10, 0), 1, kRate, 0);
    EXPECT_EQ(plain->SetVolume(0), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetPan(0), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetFrequency(0), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->Play(0, 0, 0), DS_OK);
}

TEST_F(MixerTest, CreateSoundBufferRefusesWhatItCannotPlay) {
    struct Case {
        const char* what;
        WAVEFORMATEX format;
        DWORD bytes;
        HRESULT result;
    };
    auto with = [](WAVEFORMATEX f, auto change) {
        change(f);
        return f;
    };
    const WAVEFORMATEX good = Pcm(2, 16);
    Case cases[] = {
        {"mono 8-bit", Pcm(1, 8), 100, DS_OK},
        {"stereo 16-bit", good, 100, DS_OK},
        {"4 kHz", Pcm(1, 16, 4000), 100, DS_OK},
        {"192 kHz", Pcm(1, 16, 192000), 100, DS_OK},
        {"odd size", good, 101, DS_OK},
        {"smallest", good, DSBSIZE_MIN, DS_OK},
        {"float samples", with(good, [](auto& f) { f.wFormatTag = 3; }), 100, DSERR_BADFORMAT},
        {"no channels", with(good, [](auto& f) { f.nChannels = 0; }), 100, DSERR_BADFORMAT},
        {"three channels", Pcm(3, 16), 100, DSERR_BADFORMAT},
        {"24-bit", Pcm(2, 24), 120, DSERR_BADFORMAT},
        {"no bits", with(good, [](auto& f) { f.wBitsPerSample = 0; }), 100, DSERR_BADFORMAT},
        {"3999 Hz", Pcm(1, 16, 3999), 100, DSERR_BADFORMAT},
        {"192001 Hz", Pcm(1, 16, 192001), 100, DSERR_BADFORMAT},
        {"no rate", Pcm(1, 16, 0), 100, DSERR_BADFORMAT},
        {"no block alignment", with(good, [](auto& f) { f.nBlockAlign = 0; }), 100,
         DSERR_INVALIDPARAM},
        {"wrong block alignment", with(good, [](auto& f) { f.nBlockAlign = 2; }), 100,
         DSERR_INVALIDPARAM},
        {"too small", good, DSBSIZE_MIN - 1, DSERR_INVALIDPARAM},
        {"too large", good, DSBSIZE_MAX + 1u, DSERR_INVALIDPARAM},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        DSBUFFERDESC desc = Desc(c.format, c.bytes);
        LPDIRECTSOUNDBUFFER buffer = reinterpret_cast<LPDIRECTSOUNDBUFFER>(&desc);
        EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), c.result);
        EXPECT_EQ(buffer != nullptr, c.result == DS_OK);
        if (buffer)
            buffer->Release();
    }

    WAVEFORMATEX format = good;
    DSBUFFERDESC desc = Desc(format, 100);
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    EXPECT_EQ(ds->CreateSoundBuffer(nullptr, &buffer, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, nullptr, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, reinterpret_cast<LPUNKNOWN>(ds)),
              DSERR_NOAGGREGATION);
    desc.dwSize = 36;
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    desc = Desc(format, 100);
    desc.lpwfxFormat = nullptr;
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    desc = Desc(format, 100, DSBCAPS_PRIMARYBUFFER);
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_UNSUPPORTED);
    desc = Desc(format, 100, kControls | DSBCAPS_CTRL3D);
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_UNSUPPORTED);
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(MixerTest, EveryCallHonoursForcedFailures) {
    LPDIRECTSOUNDBUFFER buffer = Make16(std::vector<int16_t>(100, 1000));
    const HRESULT code = DSERR_GENERIC;
    using compat::seams::FailNext;

    FailNext("IDirectSoundBuffer::Play", code);
    EXPECT_EQ(buffer->Play(0, 0, 0), code);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
    FailNext("IDirectSoundBuffer::SetVolume", code);
    EXPECT_EQ(buffer->SetVolume(-10000), code);
    FailNext("IDirectSoundBuffer::SetPan", code);
    EXPECT_EQ(buffer->SetPan(DSBPAN_RIGHT), code);
    FailNext("IDirectSoundBuffer::SetFrequency", code);
    EXPECT_EQ(buffer->SetFrequency(2 * kRate), code);
    // None of them changed the sound.
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(SoundingFrames(Render(200)), 100u);

    LPVOID first, second;
    DWORD firstBytes, secondBytes;
    FailNext("IDirectSoundBuffer::Lock", code);
    EXPECT_EQ(buffer->Lock(0, 4, &first, &firstBytes, &second, &secondBytes, 0), code);
    ASSERT_EQ(buffer->Lock(0, 4, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    FailNext("IDirectSoundBuffer::Unlock", code);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), code);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);

    WAVEFORMATEX format = Pcm(1, 16);
    DSBUFFERDESC desc = Desc(format, 100);
    LPDIRECTSOUNDBUFFER none = nullptr;
    FailNext("IDirectSound::CreateSoundBuffer", DSERR_OUTOFMEMORY);
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &none, nullptr), DSERR_OUTOFMEMORY);
    EXPECT_EQ(none, nullptr);
    int window = 0;
    FailNext("IDirectSound::SetCooperativeLevel", DSERR_ALLOCATED);
    EXPECT_EQ(ds->SetCooperativeLevel(reinterpret_cast<HWND>(&window), DSSCL_NORMAL),
              DSERR_ALLOCATED);
}

TEST_F(MixerTest, CooperativeLevelsAndCreationArguments) {
    int window = 0;
    HWND hwnd = reinterpret_cast<HWND>(&window);
    for (DWORD level : {DSSCL_NORMAL, DSSCL_PRIORITY, DSSCL_EXCLUSIVE, DSSCL_WRITEPRIMARY})
        EXPECT_EQ(ds->SetCooperativeLevel(hwnd, level), DS_OK);
    EXPECT_EQ(ds->SetCooperativeLevel(hwnd, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(ds->SetCooperativeLevel(hwnd, 5), DSERR_INVALIDPARAM);
    EXPECT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DSERR_INVALIDPARAM);

    LPDIRECTSOUND other = reinterpret_cast<LPDIRECTSOUND>(&window);
    GUID device{};
    EXPECT_EQ(DirectSoundCreate(&device, &other, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(DirectSoundCreate(nullptr, &other, reinterpret_cast<LPUNKNOWN>(ds)),
              DSERR_NOAGGREGATION);
    EXPECT_EQ(DirectSoundCreate(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
    compat::seams::FailNext("DirectSoundCreate", DSERR_NODRIVER);
    EXPECT_EQ(DirectSoundCreate(nullptr, &other, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(other, nullptr);
}

TEST_F(MixerTest, BuffersOutliveTheirDirectSoundObject) {
    LPDIRECTSOUNDBUFFER buffer = Make16(std::vector<int16_t>(100, 1000));
    EXPECT_EQ(ds->Release(), 0u);
    ds = nullptr;
    // The buffer keeps the mix alive until it goes itself.
    EXPECT_EQ(buffer->AddRef(), 2u);
    EXPECT_EQ(buffer->Release(), 1u);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Left(Render(1))[0], 1000);
}

TEST(MixerDeviceTest, WithoutAnAudioDeviceDirectSoundCannotBeCreated) {
    // No such driver: SDL has no device to open, as on a machine without a sound card.
    soundfiles::ScopedEnvironment driver("SDL_AUDIODRIVER", "no-such-driver");
    LPDIRECTSOUND ds = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(ds, nullptr);
    EXPECT_EQ(compat::seams::MixRate(), 0);
}

TEST(MixerDeviceTest, TheAudioDevicesCallbackMixesOnItsOwnThread) {
    soundfiles::ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    LPDIRECTSOUND ds = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DS_OK);
    EXPECT_GT(compat::seams::MixRate(), 0);
    EXPECT_TRUE(compat::seams::RenderMix(16).empty()); // the device has the mix, not the test

    // 50 ms of sound plays to its end in real time.
    std::vector<int16_t> samples(kRate / 20, 8000);
    WAVEFORMATEX format = Pcm(1, 16);
    DSBUFFERDESC desc = Desc(format, static_cast<DWORD>(samples.size() * 2));
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    LPVOID first, second;
    DWORD firstBytes, secondBytes;
    ASSERT_EQ(buffer->Lock(0, desc.dwBufferBytes, &first, &firstBytes, &second, &secondBytes,
                           DSBLOCK_FROMWRITECURSOR),
              DS_OK);
    std::memcpy(first, samples.data(), firstBytes);
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (compat::seams::PlayingBuffers() > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0);

    buffer->Release();
    EXPECT_EQ(ds->Release(), 0u);
    EXPECT_EQ(compat::seams::MixRate(), 0); // the device is closed
}

} // namespace
