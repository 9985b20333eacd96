// DirectSound buffers and the mixer behind them, heard through the RenderMix seam.
#include <windows.h>
#include <dsound.h>

#include "SoundTestFiles.h"
#include "compat/Seams.h"
#include "compat/SoundSeams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

using soundfiles::Side;
using Mix = std::vector<int16_t>;

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

DSBUFFERDESC Desc(WAVEFORMATEX& format, DWORD bytes) {
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = kControls;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = &format;
    return desc;
}

Mix Ramp(size_t count, int start, int step) {
    Mix samples;
    for (size_t i = 0; i < count; ++i)
        samples.push_back(static_cast<int16_t>(start + step * static_cast<int>(i)));
    return samples;
}

// Frames until the first silent one on the left.
size_t SoundingFrames(const Mix& mix) {
    Mix left = Side(mix, 0);
    return static_cast<size_t>(std::find(left.begin(), left.end(), 0) - left.begin());
}

Mix Render(size_t frames) {
    return compat::seams::RenderMix(frames);
}

class MixerTest : public testing::Test {
protected:
    void SetUp() override {
        compat::seams::MixWithoutDevice(kRate);
        ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DS_OK);
    }

    void TearDown() override {
        for (LPDIRECTSOUNDBUFFER buffer : buffers)
            buffer->Release();
        if (ds)
            ds->Release();
    }

    // A buffer holding `bytes`, written through Lock and Unlock.
    LPDIRECTSOUNDBUFFER Make(WAVEFORMATEX format, const void* bytes, DWORD size) {
        DSBUFFERDESC desc = Desc(format, size);
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

    // 16-bit samples, interleaved when stereo.
    LPDIRECTSOUNDBUFFER Make16(const Mix& samples, int channels = 1, DWORD rate = kRate) {
        return Make(Pcm(channels, 16, rate), samples.data(),
                    static_cast<DWORD>(samples.size() * 2));
    }

    LPDIRECTSOUND ds = nullptr;
    std::vector<LPDIRECTSOUNDBUFFER> buffers;
};

TEST_F(MixerTest, SamplesPlayUnchangedAtFullVolumeOnTheirSides) {
    Mix ramp = Ramp(100, -20000, 400);
    LPDIRECTSOUNDBUFFER mono = Make16(ramp);
    EXPECT_EQ(Side(Render(10), 0), Mix(10, 0)); // nothing before Play
    ASSERT_EQ(mono->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 1);
    Mix mix = Render(120);
    Mix expected = ramp;
    expected.resize(120, 0);
    EXPECT_EQ(Side(mix, 0), expected);
    EXPECT_EQ(Side(mix, 1), expected);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0); // played once, it stops at its end

    LPDIRECTSOUNDBUFFER stereo = Make16({10000, -7000, 10000, -7000}, 2);
    ASSERT_EQ(stereo->Play(0, 0, 0), DS_OK);
    mix = Render(3);
    EXPECT_EQ(Side(mix, 0), (Mix{10000, 10000, 0}));
    EXPECT_EQ(Side(mix, 1), (Mix{-7000, -7000, 0}));

    const uint8_t eight[] = {0x80, 0xC0, 0x00, 0xFF}; // unsigned around 128
    LPDIRECTSOUNDBUFFER mono8 = Make(Pcm(1, 8), eight, sizeof eight);
    ASSERT_EQ(mono8->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Side(Render(4), 0), (Mix{0, 16384, -32768, 32512}));
}

TEST_F(MixerTest, VolumeAndPanAreHundredthsOfADecibel) {
    LPDIRECTSOUNDBUFFER buffer = Make16(Mix(1000, 20000));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    struct {
        LONG volume, pan;
        double left, right;
    } cases[] = {
        {0, 0, 20000, 20000},    {-1500, 0, 3556.6, 3556.6}, // 10^(-1500/2000) = 0.178
        {-10000, 0, 0, 0},       {0, DSBPAN_LEFT, 20000, 0},    {0, DSBPAN_RIGHT, 0, 20000},
        {0, -2000, 20000, 2000}, {-600, 2000, 1002.4, 10023.7},
    };
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
        ASSERT_EQ(buffer->SetVolume(c.volume), DS_OK);
        ASSERT_EQ(buffer->SetPan(c.pan), DS_OK);
        Mix mix = Render(50);
        for (int16_t s : Side(mix, 0))
            ASSERT_NEAR(s, c.left, 1.0);
        for (int16_t s : Side(mix, 1))
            ASSERT_NEAR(s, c.right, 1.0);
    }
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(-10001), DSERR_INVALIDPARAM);
}

TEST_F(MixerTest, FrequencyResamplesAndSetsTheDuration) {
    Mix ramp = Ramp(1000, 1000, 10);
    LPDIRECTSOUNDBUFFER buffer = Make16(ramp);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(SoundingFrames(Render(3000)), 1000u);

    // Twice the rate: every other sample, in half the time.
    ASSERT_EQ(buffer->SetFrequency(2 * kRate), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    Mix fast = Side(Render(3000), 0);
    EXPECT_EQ(fast[1], 1020);
    EXPECT_EQ(fast[499], ramp[998]);
    EXPECT_EQ(fast[500], 0);

    // Half the rate: twice as long, with the samples between interpolated.
    ASSERT_EQ(buffer->SetFrequency(kRate / 2), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    Mix slow = Side(Render(3000), 0);
    EXPECT_EQ(slow[101], 1505);
    EXPECT_EQ(slow[1999], ramp.back()); // the last sample has nothing after it to lean to
    EXPECT_EQ(slow[2000], 0);

    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MIN - 1), DSERR_INVALIDPARAM);
    ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK); // the format's own rate
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(SoundingFrames(Render(3000)), 1000u);
}

TEST_F(MixerTest, PlayOnAPlayingBufferNeitherRestartsItNorKeepsItLooping) {
    Mix ramp = Ramp(100, 100, 100);
    LPDIRECTSOUNDBUFFER buffer = Make16(ramp);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    Render(30);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Mix mix = Side(Render(250), 0);
    for (size_t i = 0; i < mix.size(); ++i)
        ASSERT_EQ(mix[i], ramp[(30 + i) % 100]) << i;

    // Played once while looping: it goes on from where it is and stops at the end.
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    mix = Side(Render(100), 0);
    EXPECT_EQ(mix[0], ramp[80]);
    EXPECT_EQ(mix[20], 0);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
    // Finished, it starts from the beginning.
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Render(1)[0], ramp[0]);
}

TEST_F(MixerTest, BuffersAreSummedAndClippedTo16Bits) {
    struct {
        int16_t a, b, sum;
    } cases[] = {{10000, 5000, 15000}, {30000, 30000, 32767}, {-30000, -30000, -32768}};
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " + " << c.b);
        ASSERT_EQ(Make16(Mix(10, c.a))->Play(0, 0, 0), DS_OK);
        ASSERT_EQ(Make16(Mix(10, c.b))->Play(0, 0, 0), DS_OK);
        EXPECT_EQ(Render(10), Mix(20, c.sum));
    }
}

TEST_F(MixerTest, LocksWrapAndALockedBufferIsSilentUntilUnlocked) {
    LPDIRECTSOUNDBUFFER buffer = Make16(Mix(200, 1000)); // 400 bytes
    LPVOID first, second;
    DWORD firstBytes, secondBytes;
    ASSERT_EQ(buffer->Lock(300, 200, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(static_cast<uint8_t*>(first) - static_cast<uint8_t*>(second), 300);
    EXPECT_EQ(firstBytes, 100u);
    EXPECT_EQ(secondBytes, 100u);
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DSERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(0, 401, &first, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);

    // Playing, the write cursor runs about 10 ms ahead: 50 frames played and 221 at 22050 Hz,
    // wrapped in 200 frames, is frame 71, byte 142.
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Render(50);
    ASSERT_EQ(
        buffer->Lock(0, 400, &first, &firstBytes, &second, &secondBytes, DSBLOCK_FROMWRITECURSOR),
        DS_OK);
    EXPECT_EQ(static_cast<uint8_t*>(first) - static_cast<uint8_t*>(second), 142);
    EXPECT_EQ(firstBytes, 258u);
    EXPECT_EQ(secondBytes, 142u);
    Mix louder(200, 3000);
    std::memcpy(first, louder.data(), firstBytes);
    std::memcpy(second, louder.data(), secondBytes);
    EXPECT_EQ(Side(Render(10), 0), Mix(10, 0));
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    EXPECT_EQ(Side(Render(10), 0), Mix(10, 3000));
}

TEST_F(MixerTest, CreateSoundBufferRefusesWhatItCannotPlay) {
    auto with = [](WAVEFORMATEX f, auto change) {
        change(f);
        return f;
    };
    const WAVEFORMATEX good = Pcm(2, 16);
    struct {
        const char* what;
        WAVEFORMATEX format;
        DWORD bytes;
        HRESULT result;
    } cases[] = {
        {"mono 8-bit at 4 kHz", Pcm(1, 8, 4000), 101, DS_OK},
        {"stereo 16-bit at 192 kHz", Pcm(2, 16, 192000), DSBSIZE_MIN, DS_OK},
        {"float samples", with(good, [](auto& f) { f.wFormatTag = 3; }), 100, DSERR_BADFORMAT},
        {"no channels", with(good, [](auto& f) { f.nChannels = 0; }), 100, DSERR_BADFORMAT},
        {"24-bit", Pcm(2, 24), 120, DSERR_BADFORMAT},
        {"192001 Hz", Pcm(1, 16, 192001), 100, DSERR_BADFORMAT},
        {"no block alignment", with(good, [](auto& f) { f.nBlockAlign = 0; }), 100,
         DSERR_INVALIDPARAM},
        {"too small", good, DSBSIZE_MIN - 1, DSERR_INVALIDPARAM},
        {"too large", good, DSBSIZE_MAX + 1u, DSERR_INVALIDPARAM},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        DSBUFFERDESC desc = Desc(c.format, c.bytes);
        LPDIRECTSOUNDBUFFER buffer = reinterpret_cast<LPDIRECTSOUNDBUFFER>(&desc);
        EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), c.result);
        EXPECT_EQ(buffer != nullptr, c.result == DS_OK);
        if (buffer)
            buffer->Release();
    }
}

TEST_F(MixerTest, BuffersOutliveTheirDirectSoundObject) {
    LPDIRECTSOUNDBUFFER buffer = Make16(Mix(100, 1000));
    EXPECT_EQ(ds->Release(), 0u);
    ds = nullptr;
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Render(1)[0], 1000);
}

TEST(MixerDeviceTest, ADriverWithoutADeviceFailsWithNoDriver) {
    // ALSA loads on a machine without a sound card, but its default device does not open.
    soundfiles::ScopedEnvironment driver("SDL_AUDIODRIVER", "alsa");
    LPDIRECTSOUND ds = nullptr;
    HRESULT result = DirectSoundCreate(nullptr, &ds, nullptr);
    if (result == DS_OK) {
        ds->Release();
        GTEST_SKIP() << "this machine has a sound device";
    }
    EXPECT_EQ(result, DSERR_NODRIVER);
    EXPECT_EQ(ds, nullptr);
    EXPECT_EQ(compat::seams::MixRate(), 0);
}

TEST(MixerDeviceTest, TheAudioDevicesCallbackMixesOnItsOwnThread) {
    soundfiles::ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    LPDIRECTSOUND ds = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DS_OK);
    EXPECT_GT(compat::seams::MixRate(), 0);
    EXPECT_TRUE(compat::seams::RenderMix(16).empty()); // the device has the mix, not the test

    // 50 ms of sound plays to its end in real time, twice: once from the start, once after the
    // device has rested, asking for at most one period (not nine) while nothing sounded.
    WAVEFORMATEX format = Pcm(1, 16);
    DSBUFFERDESC desc = Desc(format, kRate / 20 * 2);
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    auto playToTheEnd = [&] {
        const uint64_t fills = compat::seams::DeviceFills();
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (compat::seams::PlayingBuffers() > 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
        EXPECT_GT(compat::seams::DeviceFills(), fills);
    };
    playToTheEnd();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const uint64_t quiet = compat::seams::DeviceFills();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_LE(compat::seams::DeviceFills() - quiet, 1u);
    playToTheEnd();
    buffer->Release();
    EXPECT_EQ(ds->Release(), 0u);           // closes the resting device
    EXPECT_EQ(compat::seams::MixRate(), 0); // the device is closed
}

} // namespace
