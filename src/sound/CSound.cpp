#include "sound/CSound.h"

#include "log/CLog.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

const char* const kLogFile = "logs/sound.txt";
constexpr DWORD kBufferCaps = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

// Invalid IDs are reported by their record index, the ID less one (as 32-bit arithmetic has it).
int32_t IndexOf(int32_t id) {
    return static_cast<int32_t>(static_cast<uint32_t>(id) - 1u);
}

// Bytes from the current position to the end of the file.
DWORD BytesLeft(HMMIO file) {
    LONG here = mmioSeek(file, 0, SEEK_CUR);
    if (here < 0)
        return 0;
    LONG end = mmioSeek(file, 0, SEEK_END);
    mmioSeek(file, here, SEEK_SET);
    return end > here ? static_cast<DWORD>(end - here) : 0;
}

// Fills a locked region from the data block, starting `from` bytes into the block. Whatever the
// block does not hold (the file ended early) is left silent.
void FillRegion(LPVOID region, DWORD length, const BYTE* block, DWORD blockBytes, DWORD from,
                BYTE silence) {
    if (!region || length == 0)
        return;
    DWORD copied = std::min(length, from < blockBytes ? blockBytes - from : 0);
    if (copied > 0)
        std::memcpy(region, block + from, copied);
    std::memset(static_cast<BYTE*>(region) + copied, silence, length - copied);
}

} // namespace

CLog& CSound::Log() {
    // Before Init has made the log, or when it could not, messages are dropped: a closed log
    // writes nothing.
    static CLog none;
    return log ? *log : none;
}

bool CSound::Init(HWND hWnd) {
    log = new (std::nothrow) CLog;
    if (!log)
        return false;
    log->Open(kLogFile);

    window = hWnd;
    if (!window) {
        Log().Write("CSOUND --- ERROR --- A valid hWnd was not supplied");
        return false;
    }
    lastResult = DirectSoundCreate(nullptr, &directSound, nullptr);
    if (lastResult != DS_OK) {
        // Only plain success counts; an object that came with another code is not kept.
        if (directSound) {
            directSound->Release();
            directSound = nullptr;
        }
        Log().Write("CSOUND --- ERROR --- Could not create DirectSound oject");
        return false;
    }
    lastResult = directSound->SetCooperativeLevel(window, DSSCL_NORMAL);
    if (lastResult != DS_OK) {
        Log().Write("CSOUND --- ERROR --- Could not set cooperative level of DirectSound");
        directSound->Release();
        directSound = nullptr;
        return false;
    }
    Log().Write("CSOUND --- NOTICE --- Init evaluated OK");
    return true;
}

bool CSound::GrowTable() {
    auto* table = new (std::nothrow) SoundRecord[soundCount + 1]();
    if (!table)
        return false;
    if (sounds)
        std::copy(sounds, sounds + soundCount, table);
    delete[] sounds;
    sounds = table;
    ++soundCount; // the new last record starts empty
    Log().Write("Reallocated sound buffers, number of buffers: %d", soundCount);
    return true;
}

void CSound::ReleaseBuffer(SoundRecord& record) {
    if (record.buffer) {
        record.buffer->Release();
        record.buffer = nullptr;
    }
}

int32_t CSound::LoadWav(const char* fileName) {
    const char* name = fileName ? fileName : "";
    // What a failed load has to give back; every failure leaves through Fail.
    HMMIO file = nullptr;
    BYTE* block = nullptr;
    SoundRecord* record = nullptr;
    auto Fail = [&](const char* reason) -> int32_t {
        if (file)
            mmioClose(file, 0);
        delete[] block;
        if (record) {
            ReleaseBuffer(*record);
            DropRecord();
        }
        Log().Write("CSOUND --- ERROR --- %s: %s, number of buffers: %d", reason, name, soundCount);
        return 0;
    };

    // Without DirectSound there is nothing to load into; the table is left as it is.
    if (!directSound)
        return Fail("No DirectSound to load sound into");
    // The record keeps the name whole or not at all.
    if (strnlen(name, SoundRecord::kNameSize) >= SoundRecord::kNameSize)
        return Fail("Sound file name too long");
    if (!GrowTable())
        return Fail("Could not grow sound buffers");
    record = &sounds[soundCount - 1];

    char path[SoundRecord::kNameSize];
    std::snprintf(path, sizeof path, "%s", name);
    file = mmioOpenA(path, nullptr, MMIO_READ | MMIO_ALLOCBUF);
    if (!file)
        return Fail("Could not open WAV sound file");
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
        return Fail("No wave section");
    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return Fail("No format section");
    WAVEFORMATEX format{};
    if (mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof format) <
        static_cast<LONG>(sizeof format))
        return Fail("No wave format data");
    if (format.wFormatTag != WAVE_FORMAT_PCM)
        return Fail("Not correct data format");
    if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR)
        return Fail("Could not ascend");
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return Fail("No data");

    // The sound is what the file really holds: a "data" chunk may claim more than the file has
    // (a file cut short, or one streamed through a pipe, whose sizes could not be filled in),
    // and that claim is never allocated.
    const DWORD blockBytes = std::min(chunk.cksize, BytesLeft(file));
    if (blockBytes > 0) {
        block = new (std::nothrow) BYTE[blockBytes];
        if (!block)
            return Fail("No memory for sound data");
    }
    LONG read =
        block ? mmioRead(file, reinterpret_cast<HPSTR>(block), static_cast<LONG>(blockBytes)) : 0;
    const DWORD dataSize = read > 0 ? static_cast<DWORD>(read) : 0;
    mmioClose(file, 0);
    file = nullptr;

    std::snprintf(record->fileName, sizeof record->fileName, "%s", name);
    record->state = kSoundLoaded;
    record->sampleRate = format.nSamplesPerSec;
    record->dataSize = dataSize;

    DSBUFFERDESC desc{};       // the 3D algorithm stays the null GUID
    desc.dwSize = sizeof desc; // checked by DirectSound: 36 bytes in 32-bit builds, 40 in 64-bit
    desc.dwFlags = kBufferCaps;
    desc.dwBufferBytes = dataSize;
    desc.dwReserved = 0;
    desc.lpwfxFormat = &format;
    lastResult = directSound->CreateSoundBuffer(&desc, &record->buffer, nullptr);
    if (lastResult != DS_OK)
        return Fail("Could not create sound buffer");

    // A new buffer's write cursor is its start, so the lock covers the whole buffer from there.
    LPVOID first = nullptr;
    LPVOID second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    lastResult = record->buffer->Lock(0, dataSize, &first, &firstBytes, &second, &secondBytes,
                                      DSBLOCK_FROMWRITECURSOR);
    if (lastResult != DS_OK)
        return Fail("Could not lock sound buffer for data copy");
    const BYTE silence = format.wBitsPerSample == 8 ? 0x80 : 0x00;
    FillRegion(first, firstBytes, block, dataSize, 0, silence);
    FillRegion(second, secondBytes, block, dataSize, firstBytes, silence);
    delete[] block;
    block = nullptr;

    lastResult = record->buffer->Unlock(first, firstBytes, second, secondBytes);
    if (lastResult != DS_OK)
        return Fail("Could not unlock sound buffer");
    Log().Write("CSOUND --- NOTICE --- Successfully loaded sound %s into buffer %d", name,
                soundCount);
    return soundCount;
}

bool CSound::IsValid(int32_t id) const {
    return sounds && id >= 1 && id <= soundCount && sounds[id - 1].state != kSoundEmpty;
}

bool CSound::Play(int32_t id, DWORD frequency, int8_t volume, LONG pan, DWORD flags) {
    if (!IsValid(id)) {
        Log().Write("CSOUND --- ERROR --- Invalid ID supplied for play: %d", IndexOf(id));
        return false;
    }
    // Their own failures are logged by them and do not stop the play.
    SetFrequency(id, frequency);
    SetVolume(id, volume);
    PanSound(id, pan);

    // The play position is left where it is: a sound that still sounds is not restarted.
    SoundRecord& record = sounds[id - 1];
    lastResult = record.buffer->Play(0, 0, flags);
    if (lastResult != DS_OK) {
        Log().Write("CSOUND --- ERROR --- Could not play sound: %s", record.fileName);
        return false;
    }
    record.state = flags == DSBPLAY_LOOPING ? kSoundStartedLooping : kSoundStartedOnce;
    return true;
}

bool CSound::SetFrequency(int32_t id, DWORD frequency) {
    if (!IsValid(id)) {
        Log().Write("CSOUND --- ERROR --- Invalid ID supplied to SetFrequency: %d", IndexOf(id));
        return false;
    }
    SoundRecord& record = sounds[id - 1];
    if (frequency == 0)
        frequency = record.sampleRate;
    lastResult = record.buffer->SetFrequency(frequency);
    if (lastResult != DS_OK) {
        Log().Write("CSOUND --- ERROR --- Could not set frequency: %s", record.fileName);
        return false;
    }
    return true;
}

bool CSound::SetVolume(int32_t id, int8_t volume) {
    if (!IsValid(id)) {
        Log().Write("CSOUND --- ERROR --- Invalid ID supplied to SetVolume: %d", IndexOf(id));
        return false;
    }
    SoundRecord& record = sounds[id - 1];
    // Percent to hundredths of a decibel: 100 is full volume (0), 50 is -1500, 1 is -2970.
    const int32_t percent = volume == 0 ? 100 : volume;
    const LONG level = (percent - 100) * 30;
    lastResult = record.buffer->SetVolume(level);
    if (lastResult != DS_OK) {
        Log().Write("CSOUND --- ERROR --- Could not set volume: %s", record.fileName);
        return false;
    }
    return true;
}

bool CSound::PanSound(int32_t id, LONG pan) {
    if (!IsValid(id)) {
        Log().Write("CSOUND --- ERROR --- Invalid ID supplied to PanSound: %d", IndexOf(id));
        return false;
    }
    SoundRecord& record = sounds[id - 1];
    lastResult = record.buffer->SetPan(pan);
    if (lastResult != DS_OK) {
        Log().Write("CSOUND --- ERROR --- Could not set panning: %s", record.fileName);
        return false;
    }
    return true;
}

void CSound::Release() {
    if (sounds) {
        Log().Write("CSOUND --- NOTICE --- Releasing %d sounds", soundCount);
        for (int32_t i = 0; i < soundCount; ++i)
            ReleaseBuffer(sounds[i]);
        Log().Write("CSOUND --- NOTICE --- %d sounds released", soundCount);
        delete[] sounds;
        sounds = nullptr;
        soundCount = 0;
    }
    if (directSound) {
        directSound->Release();
        directSound = nullptr;
        Log().Write("CSOUND --- NOTICE --- Released DirectSound");
    }
    Log().Write("CSOUND --- NOTICE --- Shutting down log");
    if (log) {
        log->Close();
        delete log;
        log = nullptr;
    }
}
