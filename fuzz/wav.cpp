// Sound files: the chunks of a RIFF file walked with mmio as any reader of them walks them, then
// CSound::LoadWav as the game loads its sound effects, and a play of what was loaded, mixed
// without an audio device.
#include "FuzzSupport.h"

#include "sound/CSound.h"

#include "compat/GfxSeams.h"
#include "compat/Seams.h"
#include "compat/SoundSeams.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>

namespace {

char kInput[] = "input.wav";
// However the chunks nest and however many there are, the walk stops after this many.
constexpr int kMostChunks = 256;
constexpr int kDeepestForm = 4;

HWND window = nullptr;

// Every chunk inside `parent` (the whole file when null), forms descended into; a little of each
// chunk's data read. A chunk starts inside its parent, and nothing read lies outside the file.
void Walk(HMMIO file, uint64_t fileSize, const MMCKINFO* parent, int depth, int& budget) {
    while (budget-- > 0) {
        MMCKINFO chunk{};
        if (mmioDescend(file, &chunk, parent, 0) != MMSYSERR_NOERROR)
            return;
        FUZZ_CHECK(chunk.dwDataOffset <= fileSize);
        if (parent)
            FUZZ_CHECK(chunk.dwDataOffset <= uint64_t{parent->dwDataOffset} + parent->cksize);
        if ((chunk.ckid == FOURCC_RIFF || chunk.ckid == FOURCC_LIST) && depth < kDeepestForm) {
            Walk(file, fileSize, &chunk, depth + 1, budget);
        } else {
            const LONG at = mmioSeek(file, 0, SEEK_CUR);
            char data[64];
            const LONG wanted = static_cast<LONG>(std::min<DWORD>(chunk.cksize, sizeof data));
            const LONG got = mmioRead(file, data, wanted);
            FUZZ_CHECK(got <= wanted);
            FUZZ_CHECK(got <= 0 || uint64_t(at) + uint64_t(got) <= fileSize);
        }
        if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR)
            return;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzsupport::StartHarness(argc, argv, false);
    fuzzsupport::InScratchFolder inside;
    compat::seams::MixWithoutDevice(22050);
    window = compat::seams::MakeTestWindow();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::InScratchFolder inside;
    fuzzsupport::WriteInput(kInput, data, size);

    HMMIO file = mmioOpenA(kInput, nullptr, MMIO_READ | MMIO_ALLOCBUF);
    FUZZ_CHECK(file != nullptr);
    int budget = kMostChunks;
    Walk(file, size, nullptr, 0, budget);
    FUZZ_CHECK(mmioClose(file, 0) == MMSYSERR_NOERROR);

    CSound sound;
    FUZZ_CHECK(sound.Init(window));
    const int32_t id = sound.LoadWav(kInput);
    FUZZ_CHECK(id == 0 || id == 1);
    if (id == 1) {
        FUZZ_CHECK(sound.Play(id, 0, 0, 0, 0));
        FUZZ_CHECK(compat::seams::RenderMix(256).size() == 512);
    }
    sound.Release();
    return 0;
}
