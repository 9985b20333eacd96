// The music object's release: the only part of it the game has.
#include "sound/CMusic.h"

#include "log/CLog.h"

#include "TestFiles.h"
#include "compat/SoundSeams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Test access: fills what no operation of the game fills.
struct CMusicProbe {
    CMusic& music;
    void OpenLog() {
        music.log = new CLog;
        music.log->Open("logs/music.txt");
    }
    void SetSegments(MusicSegmentRecord* table, int32_t count) {
        music.segments = table;
        music.segmentCount = count;
    }
    void SetLoader(IDirectMusicLoader* loader) { music.loader = loader; }
    void SetPerformance(IDirectMusicPerformance* performance) { music.performance = performance; }
    bool Empty() const {
        return !music.segments && !music.loader && !music.performance && !music.log;
    }
};

namespace {

using Lines = std::vector<std::string>;

// What the fakes were asked to do, in order, with COM's state at the time.
struct Journal {
    Lines events;
    void Note(const std::string& what) {
        events.push_back(what + (compat::seams::CoUninitializeCalls() ? " after COM" : ""));
    }
};

template <typename Interface> class Fake : public Interface {
public:
    Fake(Journal& journal, std::string name) : journal(journal), name(std::move(name)) {}
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override {
        journal.Note(name + " released");
        return --references;
    }
    ULONG references = 1;

protected:
    Journal& journal;
    std::string name;
};

class FakePerformance : public Fake<IDirectMusicPerformance> {
public:
    using Fake::Fake;
    HRESULT WINAPI CloseDown() override {
        journal.Note(name + " closed down");
        return S_OK;
    }
};

Lines Messages() {
    Lines all = testfiles::LogMessages("logs/music.txt");
    return all.empty() ? all : Lines(all.begin() + 1, all.end());
}

TEST(MusicTest, ReleaseLetsGoOfSegmentsLoaderAndPerformanceThenCom) {
    testfiles::ScratchDir dir(true);
    Journal journal;
    Fake<IDirectMusicSegment> segment0(journal, "segment 0"), segment1(journal, "segment 1");
    Fake<IDirectMusicSegmentState> state0(journal, "state 0"), state1(journal, "state 1");
    Fake<IDirectMusicLoader> loader(journal, "loader");
    FakePerformance performance(journal, "performance");

    CMusic music;
    CMusicProbe probe{music};
    probe.OpenLog();
    auto* table = new MusicSegmentRecord[2]();
    table[0].segment = &segment0;
    table[0].segmentState = &state0;
    table[1].segment = &segment1;
    table[1].segmentState = &state1;
    probe.SetSegments(table, 2);
    probe.SetLoader(&loader);
    probe.SetPerformance(&performance);

    music.Release();
    EXPECT_EQ(journal.events, (Lines{"segment 0 released", "state 0 released", "segment 1 released",
                                     "state 1 released", "loader released",
                                     "performance closed down", "performance released"}));
    EXPECT_EQ(compat::seams::CoUninitializeCalls(), 1);
    for (ULONG references : {segment0.references, state0.references, segment1.references,
                             state1.references, loader.references, performance.references})
        EXPECT_EQ(references, 0u);
    EXPECT_EQ(Messages(), (Lines{"CMUSIC --- NOTICE --- Releasing 2 segments...",
                                 "CMUSIC --- NOTICE --- Released 2 segments",
                                 "CMUSIC --- NOTICE --- DirectMusic Loader released",
                                 "CMUSIC --- NOTICE --- DirectMusic Performance released",
                                 "CMUSIC --- NOTICE --- COM Uninitialized",
                                 "CMUSIC --- NOTICE --- Shutting down log"}));
    EXPECT_TRUE(probe.Empty());
}

TEST(MusicTest, ReleaseOfAnEmptyMusicObjectOnlyClosesComAndItsLog) {
    testfiles::ScratchDir dir(true);
    CMusic music;
    CMusicProbe probe{music};
    probe.OpenLog();
    music.Release();
    EXPECT_EQ(compat::seams::CoUninitializeCalls(), 1);
    EXPECT_EQ(Messages(), (Lines{"CMUSIC --- NOTICE --- COM Uninitialized",
                                 "CMUSIC --- NOTICE --- Shutting down log"}));
    EXPECT_TRUE(probe.Empty());
}

} // namespace
