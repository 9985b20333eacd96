// DirectSound on the software mixer: the device object and its secondary buffers.
#include <dsound.h>

#include "dsound/AudioOutput.h"
#include "seams/Failures.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>

namespace {

using compat::TakeForcedFailure;
using compat::audio::AudioOutput;

constexpr DWORD kLowestRate = 4000;
constexpr DWORD kHighestRate = 192000;
// What a buffer of this device may ask for; 3D, effects, notifications, the primary buffer and
// hardware placement are not offered.
constexpr DWORD kOfferedCaps = DSBCAPS_STATIC | DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLFREQUENCY |
                               DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_STICKYFOCUS |
                               DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;

struct FreeMemory {
    void operator()(uint8_t* memory) const { std::free(memory); }
};

// Checks a buffer's format the way DirectSound does: what it cannot play is a bad format, what
// contradicts itself is an invalid parameter.
HRESULT CheckFormat(const WAVEFORMATEX& format) {
    if (format.wFormatTag != WAVE_FORMAT_PCM)
        return DSERR_BADFORMAT;
    if (format.nChannels != 1 && format.nChannels != 2)
        return DSERR_BADFORMAT;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16)
        return DSERR_BADFORMAT;
    if (format.nSamplesPerSec < kLowestRate || format.nSamplesPerSec > kHighestRate)
        return DSERR_BADFORMAT;
    if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8)
        return DSERR_INVALIDPARAM;
    // The extra size and the average byte rate are not used for PCM, as with DirectSound.
    return DS_OK;
}

class SoundBuffer final : public IDirectSoundBuffer {
public:
    // Takes `samples`, allocated with calloc, for its own.
    SoundBuffer(std::shared_ptr<AudioOutput> output, const DSBUFFERDESC& desc, uint8_t* samples)
        : output(std::move(output)), caps(desc.dwFlags), size(desc.dwBufferBytes),
          rate(desc.lpwfxFormat->nSamplesPerSec), memory(samples),
          voice(samples, size, desc.lpwfxFormat->nChannels, desc.lpwfxFormat->wBitsPerSample,
                rate) {
        TheMixer().Attach(voice);
    }

    ULONG WINAPI AddRef() override { return ++references; }

    ULONG WINAPI Release() override {
        ULONG left = --references;
        if (left == 0) {
            TheMixer().Detach(voice);
            // The device closes here when this was the last thing using it, after the detach
            // has let go of the mixer's lock.
            delete this;
        }
        return left;
    }

    HRESULT WINAPI Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes,
                        LPVOID* second, LPDWORD secondBytes, DWORD flags) override {
        HRESULT forced;
        if (TakeForcedFailure("IDirectSoundBuffer::Lock", &forced))
            return forced;
        if (!first || !firstBytes)
            return DSERR_INVALIDPARAM;
        if (flags & DSBLOCK_ENTIREBUFFER)
            bytes = size;
        if (bytes == 0 || bytes > size)
            return DSERR_INVALIDPARAM;
        if (!(flags & DSBLOCK_FROMWRITECURSOR) && offset >= size)
            return DSERR_INVALIDPARAM;
        size_t frameBytes = voice.FrameBytes();
        size_t writeCursor = TheMixer().BeginWrite(voice) * frameBytes;
        size_t start = (flags & DSBLOCK_FROMWRITECURSOR) ? writeCursor : offset;
        DWORD firstPart = static_cast<DWORD>(std::min<size_t>(bytes, size - start));
        DWORD secondPart = bytes - firstPart;
        if (secondPart > 0 && (!second || !secondBytes)) {
            TheMixer().EndWrite(voice);
            return DSERR_INVALIDPARAM; // the lock wraps, and there is nowhere to say so
        }
        *first = memory.get() + start;
        *firstBytes = firstPart;
        if (second)
            *second = secondPart > 0 ? memory.get() : nullptr;
        if (secondBytes)
            *secondBytes = secondPart;
        return DS_OK;
    }

    HRESULT WINAPI Unlock(LPVOID first, DWORD firstBytes, LPVOID second,
                          DWORD secondBytes) override {
        HRESULT forced;
        if (TakeForcedFailure("IDirectSoundBuffer::Unlock", &forced))
            return forced;
        if (!Inside(first, firstBytes) || (second && !Inside(second, secondBytes)))
            return DSERR_INVALIDPARAM;
        return TheMixer().EndWrite(voice) ? DS_OK : DSERR_INVALIDCALL;
    }

    HRESULT WINAPI Play(DWORD reserved, DWORD priority, DWORD flags) override {
        HRESULT forced;
        if (TakeForcedFailure("IDirectSoundBuffer::Play", &forced))
            return forced;
        // A priority is only for buffers whose placement is deferred, which are not offered.
        if (reserved != 0 || priority != 0 || (flags & ~static_cast<DWORD>(DSBPLAY_LOOPING)))
            return DSERR_INVALIDPARAM;
        output->Play(voice, (flags & DSBPLAY_LOOPING) != 0);
        return DS_OK;
    }

    HRESULT WINAPI SetVolume(LONG volume) override {
        HRESULT result = CheckControl("IDirectSoundBuffer::SetVolume", DSBCAPS_CTRLVOLUME,
                                      volume >= DSBVOLUME_MIN && volume <= DSBVOLUME_MAX);
        if (result == DS_OK)
            TheMixer().SetVolume(voice, volume);
        return result;
    }

    HRESULT WINAPI SetPan(LONG pan) override {
        HRESULT result = CheckControl("IDirectSoundBuffer::SetPan", DSBCAPS_CTRLPAN,
                                      pan >= DSBPAN_LEFT && pan <= DSBPAN_RIGHT);
        if (result == DS_OK)
            TheMixer().SetPan(voice, pan);
        return result;
    }

    HRESULT WINAPI SetFrequency(DWORD frequency) override {
        if (frequency == DSBFREQUENCY_ORIGINAL)
            frequency = rate;
        HRESULT result =
            CheckControl("IDirectSoundBuffer::SetFrequency", DSBCAPS_CTRLFREQUENCY,
                         frequency >= DSBFREQUENCY_MIN && frequency <= DSBFREQUENCY_MAX);
        if (result == DS_OK)
            TheMixer().SetFrequency(voice, frequency);
        return result;
    }

private:
    ~SoundBuffer() = default;

    compat::audio::Mixer& TheMixer() { return output->GetMixer(); }

    // What a control's setter checks, in order: a forced failure, the control asked for at
    // creation, the value's range.
    HRESULT CheckControl(std::string_view operation, DWORD control, bool inRange) const {
        HRESULT forced;
        if (TakeForcedFailure(operation, &forced))
            return forced;
        if (!(caps & control))
            return DSERR_CONTROLUNAVAIL;
        return inRange ? DS_OK : DSERR_INVALIDPARAM;
    }

    bool Inside(LPVOID pointer, DWORD bytes) const {
        auto* at = static_cast<uint8_t*>(pointer);
        uint8_t* begin = memory.get();
        return at >= begin && at <= begin + size && bytes <= static_cast<size_t>(begin + size - at);
    }

    std::shared_ptr<AudioOutput> output;
    ULONG references = 1;
    DWORD caps;
    DWORD size;
    DWORD rate;
    std::unique_ptr<uint8_t, FreeMemory> memory;
    compat::audio::Voice voice;
};

class DirectSoundDevice final : public IDirectSound {
public:
    explicit DirectSoundDevice(std::shared_ptr<AudioOutput> output) : output(std::move(output)) {}

    ULONG WINAPI AddRef() override { return ++references; }

    ULONG WINAPI Release() override {
        ULONG left = --references;
        if (left == 0)
            delete this; // buffers still alive keep the device open until they go
        return left;
    }

    HRESULT WINAPI SetCooperativeLevel(HWND window, DWORD level) override {
        HRESULT forced;
        if (TakeForcedFailure("IDirectSound::SetCooperativeLevel", &forced))
            return forced;
        if (!window || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
            return DSERR_INVALIDPARAM;
        // Every level shares the one mixed device, so the level changes nothing here.
        this->window = window;
        this->level = level;
        return DS_OK;
    }

    HRESULT WINAPI CreateSoundBuffer(LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER buffer,
                                     LPUNKNOWN outer) override {
        HRESULT forced;
        if (TakeForcedFailure("IDirectSound::CreateSoundBuffer", &forced))
            return forced;
        if (!desc || !buffer)
            return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (outer)
            return DSERR_NOAGGREGATION;
        if (desc->dwSize != sizeof(DSBUFFERDESC) || !desc->lpwfxFormat)
            return DSERR_INVALIDPARAM;
        if (desc->dwFlags & ~kOfferedCaps)
            return DSERR_UNSUPPORTED;
        if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX)
            return DSERR_INVALIDPARAM;
        HRESULT format = CheckFormat(*desc->lpwfxFormat);
        if (format != DS_OK)
            return format;
        // Zeroed pages are only mapped when they are written, so a large buffer of silence
        // costs little.
        auto* memory = static_cast<uint8_t*>(std::calloc(desc->dwBufferBytes, 1));
        if (!memory)
            return DSERR_OUTOFMEMORY;
        *buffer = new (std::nothrow) SoundBuffer(output, *desc, memory);
        if (!*buffer) {
            std::free(memory);
            return DSERR_OUTOFMEMORY;
        }
        return DS_OK;
    }

private:
    ~DirectSoundDevice() = default;

    std::shared_ptr<AudioOutput> output;
    ULONG references = 1;
    HWND window = nullptr;
    DWORD level = 0;
};

} // namespace

HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* directSound, LPUNKNOWN outer) {
    if (directSound)
        *directSound = nullptr;
    // A forced success code other than DS_OK (S_FALSE) comes with the object, as from a driver
    // that succeeds with a remark; a forced failure code comes alone.
    HRESULT forced = DS_OK;
    if (compat::TakeForcedFailure("DirectSoundCreate", &forced) && FAILED(forced))
        return forced;
    if (!directSound)
        return DSERR_INVALIDPARAM;
    if (outer)
        return DSERR_NOAGGREGATION;
    if (device)
        return DSERR_NODRIVER; // only the default device is offered
    auto output = AudioOutput::Open();
    if (!output)
        return DSERR_NODRIVER;
    *directSound = new (std::nothrow) DirectSoundDevice(std::move(output));
    return *directSound ? forced : DSERR_OUTOFMEMORY;
}
