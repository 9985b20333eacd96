// The sound effects: the sound table and its IDs, loading WAV files, playing them, and the log.
#include "sound/CSound.h"

#include "SoundTestFiles.h"
#include "TestFiles.h"
#include "compat/Seams.h"
#include "compat/SoundSeams.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <new>

#include <sys/resource.h>

// While a sound loads, the only arrays made with new (std::nothrow) are the sound table and the
// data block: a test can make one of them fail. Every other allocation goes on as usual.
namespace {
std::atomic<int> arraysBeforeFailure{-1}; // -1: none fails
} // namespace

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    int before = arraysBeforeFailure.load();
    while (before >= 0 && !arraysBeforeFailure.compare_exchange_weak(before, before - 1)) {
    }
    if (before == 0)
        return nullptr;
    try {
        return ::operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Test access to the sound table.
struct CSoundProbe {
    const CSound& sound;
    int32_t Count() const { return sound.soundCount; }
    const SoundRecord& Record(int32_t id) const { return sound.sounds[id - 1]; }
    bool HasDirectSound() const { return sound.directSound != nullptr; }
    HRESULT LastResult() const { return sound.lastResult; }
};

namespace {

using namespace soundfiles;
using Lines = std::vector<std::string>;

constexpr int kMixRate = 22050;
const char* const kLogFile = "logs/sound.txt";

// The log's messages after its header line.
Lines Messages() {
    Lines all = testfiles::LogMessages(kLogFile);
    if (all.empty())
        return all;
    EXPECT_EQ(all.front().rfind("CLOG --- NOTICE --- Log logs/sound.txt opened at ", 0), 0u)
        << all.front();
    return Lines(all.begin() + 1, all.end());
}

// The messages written since `before` messages.
Lines MessagesSince(size_t before) {
    Lines all = Messages();
    return before < all.size() ? Lines(all.begin() + static_cast<long>(before), all.end())
                               : Lines{};
}

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        // The mix is heard through RenderMix; no device thread takes it away.
        compat::seams::MixWithoutDevice(kMixRate);
        std::filesystem::create_directory("sound");
    }

    void TearDown() override { sound.Release(); }

    // Writes "sound/<name>" and returns that name.
    static std::string File(const std::string& name, const Bytes& bytes) {
        std::string path = "sound/" + name;
        testfiles::WriteBytes(path, bytes);
        return path;
    }

    static std::string GoodFile(const std::string& name = "pop.wav") {
        Format format;
        format.rate = kMixRate;
        return File(name, Wav(format, Constant16(100, 12000)));
    }

    void Init() { ASSERT_TRUE(sound.Init(window)); }

    CSoundProbe Probe() const { return CSoundProbe{sound}; }

    testfiles::ScratchDir dir{true};
    int windowObject = 0;
    HWND window = reinterpret_cast<HWND>(&windowObject);
    CSound sound;
};

TEST_F(SoundTest, InitOpensTheLogAndDirectSound) {
    ASSERT_TRUE(sound.Init(window));
    EXPECT_EQ(Messages(), Lines{"CSOUND --- NOTICE --- Init evaluated OK"});
    EXPECT_TRUE(Probe().HasDirectSound());
    EXPECT_EQ(Probe().Count(), 0);
    EXPECT_EQ(compat::seams::MixRate(), kMixRate);
}

TEST_F(SoundTest, InitWithoutAWindowFailsAndReleaseThenWritesOnlyTheShutdownLine) {
    EXPECT_FALSE(sound.Init(nullptr));
    EXPECT_EQ(Messages(), Lines{"CSOUND --- ERROR --- A valid hWnd was not supplied"});
    EXPECT_EQ(compat::seams::MixRate(), 0); // DirectSound was never asked for

    sound.Release();
    EXPECT_EQ(Messages(), (Lines{"CSOUND --- ERROR --- A valid hWnd was not supplied",
                                 "CSOUND --- NOTICE --- Shutting down log"}));
    // Released and closed: nothing more is written.
    sound.Release();
    EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(SoundTest, FailedInitLeavesNoDirectSoundAndTheGameGoesOnSilently) {
    struct {
        const char* operation;
        HRESULT code;
        const char* message;
    } cases[] = {
        {"DirectSoundCreate", DSERR_NODRIVER,
         "CSOUND --- ERROR --- Could not create DirectSound oject"},
        // Handed back with a code that is not DS_OK: the object is released, not kept.
        {"DirectSoundCreate", S_FALSE, "CSOUND --- ERROR --- Could not create DirectSound oject"},
        {"IDirectSound::SetCooperativeLevel", DSERR_ALLOCATED,
         "CSOUND --- ERROR --- Could not set cooperative level of DirectSound"},
    };
    const std::string file = GoodFile();
    for (auto c : cases) {
        SCOPED_TRACE(c.operation);
        CSound failed;
        compat::seams::FailNext(c.operation, c.code);
        EXPECT_FALSE(failed.Init(window));
        CSoundProbe probe{failed};
        EXPECT_FALSE(probe.HasDirectSound());
        EXPECT_EQ(probe.LastResult(), c.code);
        EXPECT_EQ(compat::seams::MixRate(), 0); // nothing is left open

        // Loads fail without touching the table; plays find nothing to play.
        EXPECT_EQ(failed.LoadWav(file.c_str()), 0);
        EXPECT_EQ(probe.Count(), 0);
        EXPECT_FALSE(failed.Play(1, 0, 0, 0, 0));
        failed.Release();
        EXPECT_EQ(Messages(),
                  (Lines{c.message,
                         "CSOUND --- ERROR --- No DirectSound to load sound into: sound/pop.wav, "
                         "number of buffers: 0",
                         "CSOUND --- ERROR --- Invalid ID supplied for play: 0",
                         "CSOUND --- NOTICE --- Shutting down log"}));
    }
}

TEST(SoundDeviceTest, WithoutAnAudioDeviceInitFailsAndLoadsAreRefused) {
    testfiles::ScratchDir dir(true);
    ScopedEnvironment driver("SDL_AUDIODRIVER", "no-such-driver");
    int windowObject = 0;
    CSound sound;
    EXPECT_FALSE(sound.Init(reinterpret_cast<HWND>(&windowObject)));
    EXPECT_EQ(CSoundProbe{sound}.LastResult(), DSERR_NODRIVER);
    EXPECT_EQ(sound.LoadWav("sound/pop.wav"), 0);
    sound.Release();
    EXPECT_EQ(Messages(),
              (Lines{"CSOUND --- ERROR --- Could not create DirectSound oject",
                     "CSOUND --- ERROR --- No DirectSound to load sound into: sound/pop.wav, "
                     "number of buffers: 0",
                     "CSOUND --- NOTICE --- Shutting down log"}));
}

TEST_F(SoundTest, LoadsAreNumberedFromOneAndEachLogsTheGrowthFirst) {
    Init();
    const std::string file = GoodFile();
    EXPECT_EQ(sound.LoadWav(file.c_str()), 1);
    // The same file again is a new sound.
    EXPECT_EQ(sound.LoadWav(file.c_str()), 2);
    EXPECT_EQ(MessagesSince(1),
              (Lines{"Reallocated sound buffers, number of buffers: 1",
                     "CSOUND --- NOTICE --- Successfully loaded sound sound/pop.wav into buffer 1",
                     "Reallocated sound buffers, number of buffers: 2",
                     "CSOUND --- NOTICE --- Successfully loaded sound sound/pop.wav into buffer "
                     "2"}));

    const SoundRecord& record = Probe().Record(2);
    EXPECT_STREQ(record.fileName, "sound/pop.wav");
    EXPECT_EQ(record.state, kSoundLoaded);
    EXPECT_EQ(record.sampleRate, static_cast<DWORD>(kMixRate));
    EXPECT_EQ(record.dataSize, 200u);
    EXPECT_NE(record.buffer, nullptr);
    EXPECT_NE(Probe().Record(1).buffer, record.buffer);
}

TEST_F(SoundTest, AFailedLoadDropsItsRecordAndTheNextLoadGetsItsId) {
    Init();
    const std::string file = GoodFile();
    ASSERT_EQ(sound.LoadWav(file.c_str()), 1);
    EXPECT_EQ(sound.LoadWav("sound/missing.wav"), 0);
    EXPECT_EQ(Probe().Count(), 1);
    EXPECT_FALSE(sound.Play(2, 0, 0, 0, 0));
    EXPECT_EQ(sound.LoadWav(file.c_str()), 2);
    EXPECT_EQ(MessagesSince(3),
              (Lines{"Reallocated sound buffers, number of buffers: 2",
                     "CSOUND --- ERROR --- Could not open WAV sound file: sound/missing.wav, "
                     "number of buffers: 1",
                     "CSOUND --- ERROR --- Invalid ID supplied for play: 1",
                     "Reallocated sound buffers, number of buffers: 2",
                     "CSOUND --- NOTICE --- Successfully loaded sound sound/pop.wav into buffer "
                     "2"}));
}

TEST_F(SoundTest, ChunksBeforeTheFormatAndLongFormatChunksLoad) {
    Init();
    Format format;
    format.size = 18;
    Bytes list = Form("LIST", "INFO", Chunk("ICMT", {'o', 'd', 'd'}));
    std::string listed =
        File("listed.wav", Wave(list + Chunk("fact", {1, 0, 0, 0}) + FmtChunk(format) +
                                Chunk("data", Constant16(8, 1))));
    EXPECT_EQ(sound.LoadWav(listed.c_str()), 1);
    // Something between the format and the data is passed over too.
    std::string between = File("between.wav", Wave(FmtChunk() + Chunk("cue ", {1, 2, 3}) +
                                                   Chunk("data", Constant16(8, 1))));
    EXPECT_EQ(sound.LoadWav(between.c_str()), 2);
    EXPECT_EQ(Probe().Record(2).dataSize, 16u);
}

TEST_F(SoundTest, MalformedFilesAreRefusedCleanly) {
    Init();
    auto format = [](auto change) {
        Format f;
        change(f);
        return FmtChunk(f);
    };
    const Bytes fmt = FmtChunk();
    // With the two extra bytes that the 18 bytes read from it take, when nothing follows it.
    const Bytes fmt18 = format([](Format& f) { f.size = 18; });
    const Bytes data = Chunk("data", Constant16(10, 500));
    const Bytes good = Wave(fmt + data);
    struct Case {
        const char* what;
        Bytes file;
        const char* error;
        HRESULT result = DS_OK; // the DirectSound result where DirectSound refused
    } cases[] = {
        {"empty file", {}, "No wave section"},
        {"cut in the RIFF header", Bytes(good.begin(), good.begin() + 10), "No wave section"},
        {"not a WAVE form", Form("RIFF", "AVI ", fmt + data), "No wave section"},
        {"not a RIFF file", Form("LIST", "WAVE", fmt + data), "No wave section"},
        {"cut in the format header", Bytes(good.begin(), good.begin() + 16), "No format section"},
        {"cut in the format data", Bytes(good.begin(), good.begin() + 30), "No wave format data"},
        {"cut in the data header", Bytes(good.begin(), good.begin() + 40), "No data"},
        {"no format chunk", Wave(data), "No format section"},
        {"no data chunk", Wave(fmt18), "No data"},
        {"data before the format", Wave(data + fmt18), "No data"},
        // Found with the size it claims, as on Windows: its 16 bytes are all the file has.
        {"format claims more than the RIFF chunk", Wave(Chunk("fmt ", FormatData({}), 5000)),
         "No wave format data"},
        {"RIFF chunk claims less than it holds", Form("RIFF", "WAVE", fmt + data, 30), "No data"},
        {"list before the format claims the rest of the file",
         Wave(Chunk("LIST", {'I', 'N', 'F', 'O'}, 0x10000) + fmt + data), "No format section"},
        {"format chunk of 10 bytes at the end of the file",
         Wave(data + Chunk("fmt ", Bytes(10, 1))), "No wave format data"},
        {"format chunk cut by the end of the file",
         Form("RIFF", "WAVE", Chunk("fmt ", FormatData(Format{1, 1, 22050, 16, -1, 20}), 40),
              4 + 8 + 40 + 8 + 20),
         "No data"},
        {"format tag 3", Wave(format([](Format& f) { f.tag = 3; }) + data),
         "Not correct data format"},
        {"zero channels", Wave(format([](Format& f) { f.channels = 0; }) + data),
         "Could not create sound buffer", DSERR_BADFORMAT},
        {"zero block alignment", Wave(format([](Format& f) { f.blockAlign = 0; }) + data),
         "Could not create sound buffer", DSERR_INVALIDPARAM},
        {"24-bit samples", Wave(format([](Format& f) { f.bits = 24; }) + data),
         "Could not create sound buffer", DSERR_BADFORMAT},
        {"zero sample rate", Wave(format([](Format& f) { f.rate = 0; }) + data),
         "Could not create sound buffer", DSERR_BADFORMAT},
        {"empty data", Wave(fmt + Chunk("data", {})), "Could not create sound buffer",
         DSERR_INVALIDPARAM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = File("bad.wav", c.file);
        const size_t before = Messages().size();
        EXPECT_EQ(sound.LoadWav(file.c_str()), 0);
        EXPECT_EQ(Probe().Count(), 0);
        EXPECT_EQ(MessagesSince(before), (Lines{"Reallocated sound buffers, number of buffers: 1",
                                                std::string("CSOUND --- ERROR --- ") + c.error +
                                                    ": sound/bad.wav, number of buffers: 0"}));
        if (c.result != DS_OK) {
            EXPECT_EQ(Probe().LastResult(), c.result);
        }
    }
    // The first good file after all of them is still sound 1.
    const std::string file = File("good.wav", good);
    EXPECT_EQ(sound.LoadWav(file.c_str()), 1);
}

TEST_F(SoundTest, AFailureAtAnyStepOfALoadLeavesNothingBehind) {
    Init();
    const std::string file = GoodFile();
    struct {
        const char* operation;
        const char* message;
    } cases[] = {
        {"mmioOpenA", "Could not open WAV sound file"},
        {"mmioDescend", "No wave section"},
        {"mmioRead", "No wave format data"},
        {"mmioAscend", "Could not ascend"},
        {"IDirectSound::CreateSoundBuffer", "Could not create sound buffer"},
        {"IDirectSoundBuffer::Lock", "Could not lock sound buffer for data copy"},
        {"IDirectSoundBuffer::Unlock", "Could not unlock sound buffer"},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.operation);
        compat::seams::FailNext(c.operation, DSERR_GENERIC);
        EXPECT_EQ(sound.LoadWav(file.c_str()), 0);
        EXPECT_EQ(Probe().Count(), 0);
        EXPECT_EQ(Messages().back(), std::string("CSOUND --- ERROR --- ") + c.message +
                                         ": sound/pop.wav, number of buffers: 0");
    }
    EXPECT_EQ(sound.LoadWav(file.c_str()), 1);
    // Every buffer made for a failed load was released: with the one good sound and
    // DirectSound gone, the mix closes.
    sound.Release();
    EXPECT_EQ(compat::seams::MixRate(), 0);
}

TEST_F(SoundTest, DataClaimingMoreThanTheFileHoldsLoadsWhatIsThere) {
    Init();
    // 16-bit: 1000 samples declared, 100 in the file, under a RIFF size that claims them too, under
    // the file's own, or as a pipe leaves them (sizes near 4 GiB); 8-bit: silence is 128, not 0.
    Format format;
    format.rate = kMixRate;
    const Bytes samples16 = Constant16(100, 7000);
    const Bytes body16 = FmtChunk(format) + Chunk("data", samples16, 2000);
    const Bytes piped = FmtChunk(format) + Chunk("data", samples16, 0xFFFFFFF0);
    format.bits = 8;
    const Bytes body8 = FmtChunk(format) + Chunk("data", Bytes(100, 0xC0), 1000);
    const struct {
        const char* name;
        Bytes file;
        uint32_t dataSize;
        int16_t heard;
    } cases[] = {
        {"cut16.wav", Form("RIFF", "WAVE", body16, 4 + 24 + 8 + 2000), 200, 7000},
        {"long.wav", Wave(body16), 200, 7000},
        {"piped.wav", Form("RIFF", "WAVE", piped, 0xFFFFFFFF), 200, 7000},
        {"cut8.wav", Form("RIFF", "WAVE", body8, 4 + 24 + 8 + 1000), 100, 16384},
    };
    int id = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ++id;
        ASSERT_EQ(sound.LoadWav(File(c.name, c.file).c_str()), id);
        EXPECT_EQ(Probe().Record(id).dataSize, c.dataSize);
        EXPECT_EQ(Messages().back(), "CSOUND --- NOTICE --- Successfully loaded sound sound/" +
                                         std::string(c.name) + " into buffer " +
                                         std::to_string(id));
        ASSERT_TRUE(sound.Play(id, 0, 0, 0, 0));
        std::vector<int16_t> left = Side(compat::seams::RenderMix(99), 0);
        EXPECT_EQ(left, std::vector<int16_t>(99, c.heard));
        // It lasts as long as the samples the file holds.
        EXPECT_EQ(compat::seams::PlayingBuffers(), 1);
        compat::seams::RenderMix(1);
        EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
    }
}

TEST_F(SoundTest, ADataChunksClaimIsNeverAllocated) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers' own mappings do not fit under a data limit";
#else
    Init();
    // 4 GB claimed, 20 bytes there: the data block and the buffer hold only what the file has.
    // In a child process whose data may not grow by 4 GB, a block of the claimed size cannot be
    // had, and the load would fail for want of memory.
    Bytes body = FmtChunk() + Chunk("data", Constant16(10, 500), 0xFFFFFF00);
    const std::string file = File("huge.wav", Form("RIFF", "WAVE", body, 0xFFFFFFFF));
    auto loadUnderLimit = [&] {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = rlim_t{1} << 30;
        setrlimit(RLIMIT_DATA, &limit);
        const int32_t id = sound.LoadWav(file.c_str());
        std::_Exit(id == 1 && Probe().Record(1).dataSize == 20 ? 0 : 1);
    };
    EXPECT_EXIT(loadUnderLimit(), testing::ExitedWithCode(0), "");
#endif
}

TEST_F(SoundTest, WithoutMemoryALoadIsRefusedAndTheTableKept) {
    Init();
    const std::string file = GoodFile();
    ASSERT_EQ(sound.LoadWav(file.c_str()), 1);
    struct {
        int arraysBefore;
        const char* message;
    } cases[] = {
        {0, "Could not grow sound buffers"}, // the table, one record longer
        {1, "No memory for sound data"},     // the data block
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.message);
        arraysBeforeFailure = c.arraysBefore;
        EXPECT_EQ(sound.LoadWav(file.c_str()), 0);
        EXPECT_EQ(arraysBeforeFailure.exchange(-1), -1); // the failure was used up
        EXPECT_EQ(Probe().Count(), 1);
        EXPECT_EQ(Messages().back(), std::string("CSOUND --- ERROR --- ") + c.message +
                                         ": sound/pop.wav, number of buffers: 1");
    }
    EXPECT_EQ(sound.LoadWav(file.c_str()), 2);
    EXPECT_TRUE(sound.Play(1, 0, 0, 0, 0));
}

TEST_F(SoundTest, FileNamesMustFitTheRecord) {
    Init();
    const std::string longest(255, 'a'); // fits with its terminating zero
    EXPECT_EQ(sound.LoadWav(longest.c_str()), 0);
    EXPECT_EQ(MessagesSince(1), (Lines{"Reallocated sound buffers, number of buffers: 1",
                                       "CSOUND --- ERROR --- Could not open WAV sound file: " +
                                           longest + ", number of buffers: 0"}));

    const std::string tooLong = "sound/" + std::string(250, 'b') + ".wav"; // 260 characters
    GoodFile(std::string(250, 'b') + ".wav");
    EXPECT_EQ(sound.LoadWav(tooLong.c_str()), 0);
    EXPECT_EQ(Probe().Count(), 0);
    EXPECT_EQ(Messages().back(), "CSOUND --- ERROR --- Sound file name too long: " + tooLong +
                                     ", number of buffers: 0");
    EXPECT_EQ(MessagesSince(3).size(), 1u); // the table did not grow
    EXPECT_EQ(sound.LoadWav(nullptr), 0);
}

TEST_F(SoundTest, LoadBeforeInitIsRefusedQuietly) {
    const std::string file = GoodFile();
    EXPECT_EQ(sound.LoadWav(file.c_str()), 0);
    EXPECT_EQ(Probe().Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(kLogFile)); // no log yet to write to
}

TEST_F(SoundTest, InvalidIdsAreReportedAsIndexes) {
    Init();
    const std::string file = GoodFile();
    ASSERT_EQ(sound.LoadWav(file.c_str()), 1);
    const size_t before = Messages().size();
    EXPECT_FALSE(sound.Play(0, 0, 0, 0, 0));
    EXPECT_FALSE(sound.Play(2, 0, 0, 0, 0));
    EXPECT_FALSE(sound.Play(-5, 0, 0, 0, 0));
    EXPECT_FALSE(sound.Play(INT32_MIN, 0, 0, 0, 0));
    EXPECT_FALSE(sound.SetFrequency(0, 0));
    EXPECT_FALSE(sound.SetVolume(2, 0));
    EXPECT_FALSE(sound.PanSound(0, 0));
    EXPECT_EQ(MessagesSince(before),
              (Lines{"CSOUND --- ERROR --- Invalid ID supplied for play: -1",
                     "CSOUND --- ERROR --- Invalid ID supplied for play: 1",
                     "CSOUND --- ERROR --- Invalid ID supplied for play: -6",
                     "CSOUND --- ERROR --- Invalid ID supplied for play: 2147483647",
                     "CSOUND --- ERROR --- Invalid ID supplied to SetFrequency: -1",
                     "CSOUND --- ERROR --- Invalid ID supplied to SetVolume: 1",
                     "CSOUND --- ERROR --- Invalid ID supplied to PanSound: -1"}));
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
}

TEST_F(SoundTest, PlayWithZerosIsTheFilesOwnRateFullVolumeCentredOnce) {
    Init();
    Format format;
    format.rate = kMixRate / 2;
    std::string file = File("slow.wav", Wav(format, Constant16(100, 12000)));
    ASSERT_EQ(sound.LoadWav(file.c_str()), 1);
    ASSERT_TRUE(sound.Play(1, 0, 0, 0, 0));
    EXPECT_EQ(Probe().Record(1).state, kSoundStartedOnce);
    std::vector<int16_t> mix = compat::seams::RenderMix(300);
    EXPECT_EQ(Side(mix, 0), Side(mix, 1));
    std::vector<int16_t> expected(200, 12000); // 100 samples at half the mix rate
    expected.resize(300, 0);
    EXPECT_EQ(Side(mix, 0), expected);

    // A frequency of its own: twice the file's rate, half the time.
    ASSERT_TRUE(sound.Play(1, kMixRate, 0, 0, 0));
    std::vector<int16_t> left = Side(compat::seams::RenderMix(300), 0);
    EXPECT_EQ(left[99], 12000);
    EXPECT_EQ(left[100], 0);
}

TEST_F(SoundTest, VolumeIsAPercentageAndPanIsPassedOn) {
    Init();
    std::string file = GoodFile();
    ASSERT_EQ(sound.LoadWav(file.c_str()), 1);
    ASSERT_TRUE(sound.Play(1, 0, 50, 0, DSBPLAY_LOOPING));
    EXPECT_EQ(Probe().Record(1).state, kSoundStartedLooping);
    struct {
        int8_t volume;
        double gain; // 10^((volume - 100) * 30 / 2000)
    } volumes[] = {{50, 0.177828}, {0, 1.0}, {1, 0.032734}, {-28, 0.012023}};
    for (auto v : volumes) {
        SCOPED_TRACE(static_cast<int>(v.volume));
        if (v.volume != 50) {
            ASSERT_TRUE(sound.SetVolume(1, v.volume));
        }
        std::vector<int16_t> mix = compat::seams::RenderMix(10);
        EXPECT_NEAR(mix[0], 12000 * v.gain, 1.0);
        EXPECT_NEAR(mix[1], 12000 * v.gain, 1.0);
    }

    ASSERT_TRUE(sound.SetVolume(1, 0));
    ASSERT_TRUE(sound.PanSound(1, -10000));
    std::vector<int16_t> mix = compat::seams::RenderMix(50);
    EXPECT_EQ(Side(mix, 0), std::vector<int16_t>(50, 12000));
    EXPECT_EQ(Side(mix, 1), std::vector<int16_t>(50, 0));
}

TEST_F(SoundTest, RefusedSettingsAreLoggedAndDoNotStopThePlay) {
    Init();
    std::string file = GoodFile();
    ASSERT_EQ(sound.LoadWav(file.c_str()), 1);
    // Above 100 percent is above 0 dB, which DirectSound refuses; so are 50 Hz and the pan.
    EXPECT_FALSE(sound.SetVolume(1, 101));
    EXPECT_EQ(Probe().LastResult(), DSERR_INVALIDPARAM);
    const size_t before = Messages().size();
    EXPECT_TRUE(sound.Play(1, 50, 101, 10001, 0));
    EXPECT_EQ(MessagesSince(before),
              (Lines{"CSOUND --- ERROR --- Could not set frequency: sound/pop.wav",
                     "CSOUND --- ERROR --- Could not set volume: sound/pop.wav",
                     "CSOUND --- ERROR --- Could not set panning: sound/pop.wav"}));
    EXPECT_EQ(Probe().LastResult(), DS_OK); // the play itself
    // It plays as it was set before: full volume, centred, its own rate.
    std::vector<int16_t> mix = compat::seams::RenderMix(101);
    EXPECT_EQ(mix[0], 12000);
    EXPECT_EQ(mix[1], 12000);
    EXPECT_EQ(mix[198], 12000);
    EXPECT_EQ(mix[200], 0);
}

TEST_F(SoundTest, AFailedPlayIsLoggedAndKeepsTheState) {
    Init();
    std::string file = GoodFile();
    ASSERT_EQ(sound.LoadWav(file.c_str()), 1);
    compat::seams::FailNext("IDirectSoundBuffer::Play", DSERR_ALLOCATED);
    EXPECT_FALSE(sound.Play(1, 0, 0, 0, 0));
    EXPECT_EQ(Messages().back(), "CSOUND --- ERROR --- Could not play sound: sound/pop.wav");
    EXPECT_EQ(Probe().Record(1).state, kSoundLoaded);
    EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
}

TEST_F(SoundTest, ReleaseLetsGoOfEverySoundThenDirectSoundThenTheLog) {
    Init();
    std::string file = GoodFile();
    ASSERT_EQ(sound.LoadWav(file.c_str()), 1);
    ASSERT_EQ(sound.LoadWav(file.c_str()), 2);
    ASSERT_EQ(sound.LoadWav("sound/missing.wav"), 0);
    ASSERT_TRUE(sound.Play(2, 0, 0, 0, DSBPLAY_LOOPING));
    const size_t before = Messages().size();
    sound.Release();
    EXPECT_EQ(MessagesSince(before), (Lines{"CSOUND --- NOTICE --- Releasing 2 sounds",
                                            "CSOUND --- NOTICE --- 2 sounds released",
                                            "CSOUND --- NOTICE --- Released DirectSound",
                                            "CSOUND --- NOTICE --- Shutting down log"}));
    EXPECT_EQ(compat::seams::MixRate(), 0);
    EXPECT_FALSE(Probe().HasDirectSound());
    EXPECT_FALSE(sound.Play(1, 0, 0, 0, 0));
    EXPECT_EQ(Messages().size(), before + 4); // the log is closed
}

} // namespace

// Sounds that espeak-ng and sox write into a pipe, which cannot be rewound to fill their sizes
// in: both the RIFF and the data size claim about 2 GiB. The sound is the samples the file
// holds, as sox itself decodes them.
TEST_F(SoundTest, WavsStreamedByEspeakAndSoxLoadTheSamplesTheyHold) {
    Init();
    const struct {
        const char* name;
        const char* command;
    } tools[] = {
        {"espeak.wav", "espeak-ng --stdout 'Level complete' | cat > sound/espeak.wav"},
        {"sox.wav",
         "sox -n -r 22050 -b 16 -c 1 -t wav - synth 0.2 sine 440 2>/dev/null | cat >sound/sox.wav"},
    };
    int id = 0;
    for (const auto& tool : tools) {
        SCOPED_TRACE(tool.name);
        const std::string path = std::string("sound/") + tool.name;
        ASSERT_EQ(std::system(tool.command), 0);
        ASSERT_EQ(
            std::system(("sox " + path + " -t raw -e signed -b 16 sound/raw 2>/dev/null").c_str()),
            0);
        const Bytes file = testfiles::ReadBytes(path);
        const Bytes raw = testfiles::ReadBytes("sound/raw");
        ASSERT_GT(file.size(), 44u);
        const uint32_t declared =
            file[40] | file[41] << 8 | file[42] << 16 | uint32_t{file[43]} << 24;
        ASSERT_GT(declared, file.size());
        ASSERT_EQ(raw.size(), file.size() - 44);

        ASSERT_EQ(sound.LoadWav(path.c_str()), ++id);
        EXPECT_EQ(Probe().Record(id).dataSize, raw.size());
        ASSERT_TRUE(sound.Play(id, 0, 0, 0, 0));
        const size_t samples = raw.size() / 2;
        std::vector<int16_t> heard = Side(compat::seams::RenderMix(samples), 0);
        std::vector<int16_t> decoded(samples);
        std::memcpy(decoded.data(), raw.data(), raw.size());
        EXPECT_EQ(heard, decoded);
        compat::seams::RenderMix(1);
        EXPECT_EQ(compat::seams::PlayingBuffers(), 0);
    }
}
