// The multimedia services the game uses: the millisecond clock and RIFF file reading.
#pragma once

#include "windows.h"

typedef UINT MMRESULT;
#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_INVALHANDLE 5
#define MMSYSERR_INVALFLAG 10
#define MMSYSERR_INVALPARAM 11

// Milliseconds since an arbitrary start, as an unsigned 32-bit count that wraps after 2^32.
DWORD WINAPI timeGetTime(void);

// --- Wave formats ---

#define WAVE_FORMAT_PCM 1

// The format of wave data exactly as it is stored in a file's "fmt " chunk: 18 bytes, packed.
#pragma pack(push, 1)
typedef struct tWAVEFORMATEX {
    WORD wFormatTag;      // WAVE_FORMAT_PCM for plain samples
    WORD nChannels;       // 1 mono, 2 stereo (left first)
    DWORD nSamplesPerSec; // frames per second
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign; // bytes per frame: nChannels * wBitsPerSample / 8
    WORD wBitsPerSample;
    WORD cbSize; // bytes of extra format data after these 18; not used for PCM
} WAVEFORMATEX, *PWAVEFORMATEX, *LPWAVEFORMATEX;
#pragma pack(pop)
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;
static_assert(sizeof(WAVEFORMATEX) == 18, "a WAVEFORMATEX is stored packed in 18 bytes");

// --- RIFF file reading (mmio) ---

typedef DWORD FOURCC;
typedef char* HPSTR;
DECLARE_HANDLE(HMMIO);
// Extra open parameters; the game passes none, and only a null pointer is accepted here.
typedef struct _MMIOINFO MMIOINFO, *LPMMIOINFO;

// One chunk of a RIFF file, as mmioDescend fills it in and mmioAscend uses it.
typedef struct _MMCKINFO {
    FOURCC ckid;        // chunk identifier ("RIFF", "LIST", "fmt ", "data", ...)
    DWORD cksize;       // size of the chunk's data, without its 8-byte header and pad byte
    FOURCC fccType;     // form or list type of a RIFF or LIST chunk ("WAVE")
    DWORD dwDataOffset; // file offset of the chunk's data
    DWORD dwFlags;
} MMCKINFO, *PMMCKINFO, *LPMMCKINFO;
typedef const MMCKINFO* LPCMMCKINFO;

#ifndef MAKEFOURCC
#define MAKEFOURCC(ch0, ch1, ch2, ch3)                                                             \
    ((DWORD)(BYTE)(ch0) | ((DWORD)(BYTE)(ch1) << 8) | ((DWORD)(BYTE)(ch2) << 16) |                 \
     ((DWORD)(BYTE)(ch3) << 24))
#endif
#define mmioFOURCC(ch0, ch1, ch2, ch3) MAKEFOURCC(ch0, ch1, ch2, ch3)
#define FOURCC_RIFF mmioFOURCC('R', 'I', 'F', 'F')
#define FOURCC_LIST mmioFOURCC('L', 'I', 'S', 'T')

#define MMIOERR_BASE 256
#define MMIOERR_FILENOTFOUND (MMIOERR_BASE + 1)
#define MMIOERR_OUTOFMEMORY (MMIOERR_BASE + 2)
#define MMIOERR_CANNOTOPEN (MMIOERR_BASE + 3)
#define MMIOERR_CANNOTCLOSE (MMIOERR_BASE + 4)
#define MMIOERR_CANNOTREAD (MMIOERR_BASE + 5)
#define MMIOERR_CANNOTWRITE (MMIOERR_BASE + 6)
#define MMIOERR_CANNOTSEEK (MMIOERR_BASE + 7)
#define MMIOERR_CANNOTEXPAND (MMIOERR_BASE + 8)
#define MMIOERR_CHUNKNOTFOUND (MMIOERR_BASE + 9)
#define MMIOERR_INVALIDFILE (MMIOERR_BASE + 16)

#define MMIO_READ 0x00000000
#define MMIO_WRITE 0x00000001
#define MMIO_READWRITE 0x00000002
#define MMIO_COMPAT 0x00000000
#define MMIO_EXCLUSIVE 0x00000010
#define MMIO_DENYWRITE 0x00000020
#define MMIO_DENYREAD 0x00000030
#define MMIO_DENYNONE 0x00000040
#define MMIO_ALLOCBUF 0x00010000

#define MMIO_FINDCHUNK 0x0010
#define MMIO_FINDRIFF 0x0020
#define MMIO_FINDLIST 0x0040

#ifndef SEEK_SET
#define SEEK_SET 0
#define SEEK_CUR 1
#define SEEK_END 2
#endif

// Opens a file for reading. Only reading is offered: fdwOpen is MMIO_READ, optionally with
// MMIO_ALLOCBUF and a sharing mode; pmmioinfo must be null. Null when the file cannot be opened.
HMMIO WINAPI mmioOpenA(LPSTR pszFileName, LPMMIOINFO pmmioinfo, DWORD fdwOpen);
// Closes the file and frees the handle (also when MMIOERR_CANNOTCLOSE is returned).
MMRESULT WINAPI mmioClose(HMMIO hmmio, UINT fuClose);
// Reads up to cch bytes from the current position; returns the count read, 0 at the end of the
// file, -1 on an error. Reading is not bounded by chunks, only by the file.
LONG WINAPI mmioRead(HMMIO hmmio, HPSTR pch, LONG cch);
// Moves the position (SEEK_SET, SEEK_CUR, SEEK_END); returns the new position or -1. A position
// before the start is refused; one past the end reads nothing.
LONG WINAPI mmioSeek(HMMIO hmmio, LONG lOffset, int iOrigin);
// Descends into a chunk from the current position. With MMIO_FINDRIFF or MMIO_FINDLIST the
// first RIFF or LIST chunk with pmmcki->fccType is sought, with MMIO_FINDCHUNK the first chunk
// with pmmcki->ckid; chunks passed over are skipped with their pad byte. The search stays inside
// pmmckiParent when one is given. A chunk that is passed over and runs past the end of the
// parent or of the file ends the search (MMIOERR_CHUNKNOTFOUND); the chunk descended into may not
// run past its parent (MMIOERR_INVALIDFILE), but may run past the end of a truncated file, whose
// reads then come up short. Afterwards the position is the start of the chunk's data (after the
// form type for RIFF and LIST).
MMRESULT WINAPI mmioDescend(HMMIO hmmio, LPMMCKINFO pmmcki, const MMCKINFO* pmmckiParent,
                            UINT fuDescend);
// Moves to the end of a chunk that mmioDescend filled in, past its pad byte; for a chunk cut
// short by the end of the file, that is past the end, where reads find nothing.
MMRESULT WINAPI mmioAscend(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuAscend);
