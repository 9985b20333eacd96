// DirectDraw 7: display mode, flip chain, clipper, blits, surface device contexts and locks.
//
// Names, values and record layouts are the SDK's (the 64-bit one: DDSURFACEDESC2 is 136 bytes
// there and DDBLTFX 128, so callers fill in sizeof, never a number). The interfaces carry
// exactly the methods the game calls; they are used as with the SDK, `dd->CreateSurface(...)`,
// and given up with `Release`, which returns the remaining reference count.
#pragma once

#include "windows.h"

// --- Result codes ---

#define DD_OK S_OK
#define DD_FALSE S_FALSE
#define DDENUMRET_CANCEL 0
#define DDENUMRET_OK 1

#define _FACDD 0x876
#define MAKE_DDHRESULT(code) MAKE_HRESULT(1, _FACDD, code)

#define DDERR_ALREADYINITIALIZED MAKE_DDHRESULT(5)
#define DDERR_GENERIC E_FAIL
#define DDERR_INVALIDCAPS MAKE_DDHRESULT(100)
#define DDERR_INVALIDCLIPLIST MAKE_DDHRESULT(110)
#define DDERR_INVALIDMODE MAKE_DDHRESULT(120)
#define DDERR_INVALIDOBJECT MAKE_DDHRESULT(130)
#define DDERR_INVALIDPARAMS E_INVALIDARG
#define DDERR_INVALIDPIXELFORMAT MAKE_DDHRESULT(145)
#define DDERR_INVALIDRECT MAKE_DDHRESULT(150)
#define DDERR_NO3D MAKE_DDHRESULT(170)
#define DDERR_NOCLIPLIST MAKE_DDHRESULT(205)
#define DDERR_NOCOOPERATIVELEVELSET MAKE_DDHRESULT(212)
#define DDERR_NOCOLORKEYHW MAKE_DDHRESULT(220)
#define DDERR_NODIRECTDRAWSUPPORT MAKE_DDHRESULT(222)
#define DDERR_NOEXCLUSIVEMODE MAKE_DDHRESULT(225)
#define DDERR_NOFLIPHW MAKE_DDHRESULT(230)
#define DDERR_NOGDI MAKE_DDHRESULT(240)
#define DDERR_NOTFOUND MAKE_DDHRESULT(255)
#define DDERR_NOTEXTUREHW MAKE_DDHRESULT(330)
#define DDERR_OUTOFMEMORY E_OUTOFMEMORY
#define DDERR_OUTOFVIDEOMEMORY MAKE_DDHRESULT(380)
#define DDERR_COLORKEYNOTSET MAKE_DDHRESULT(400)
#define DDERR_SURFACEBUSY MAKE_DDHRESULT(430)
#define DDERR_CANTLOCKSURFACE MAKE_DDHRESULT(435)
#define DDERR_SURFACELOST MAKE_DDHRESULT(450)
#define DDERR_TOOBIGHEIGHT MAKE_DDHRESULT(470)
#define DDERR_TOOBIGSIZE MAKE_DDHRESULT(480)
#define DDERR_TOOBIGWIDTH MAKE_DDHRESULT(490)
#define DDERR_UNSUPPORTED E_NOTIMPL
#define DDERR_INVALIDDIRECTDRAWGUID MAKE_DDHRESULT(561)
#define DDERR_DIRECTDRAWALREADYCREATED MAKE_DDHRESULT(562)
#define DDERR_PRIMARYSURFACEALREADYEXISTS MAKE_DDHRESULT(564)
#define DDERR_NOEMULATION MAKE_DDHRESULT(565)
#define DDERR_EXCLUSIVEMODEALREADYSET MAKE_DDHRESULT(581)
#define DDERR_NOTFLIPPABLE MAKE_DDHRESULT(582)
#define DDERR_NOTLOCKED MAKE_DDHRESULT(584)
#define DDERR_CANTCREATEDC MAKE_DDHRESULT(585)
#define DDERR_NODC MAKE_DDHRESULT(586)
#define DDERR_WRONGMODE MAKE_DDHRESULT(587)
#define DDERR_DCALREADYCREATED MAKE_DDHRESULT(620)
#define DDERR_NOTINITIALIZED CO_E_NOTINITIALIZED

// --- Flags ---

// IDirectDraw7::SetCooperativeLevel
#define DDSCL_FULLSCREEN 0x00000001
#define DDSCL_ALLOWREBOOT 0x00000002
#define DDSCL_NOWINDOWCHANGES 0x00000004
#define DDSCL_NORMAL 0x00000008
#define DDSCL_EXCLUSIVE 0x00000010
#define DDSCL_ALLOWMODEX 0x00000040
#define DDSCL_MULTITHREADED 0x00000400
#define DDSCL_FPUSETUP 0x00000800
#define DDSCL_FPUPRESERVE 0x00001000

// IDirectDraw7::SetDisplayMode, IDirectDraw7::EnumDisplayModes
#define DDSDM_STANDARDVGAMODE 0x00000001
#define DDEDM_REFRESHRATES 0x00000001
#define DDEDM_STANDARDVGAMODES 0x00000002

// DirectDrawCreateEx's driver argument besides null (the default display driver).
#define DDCREATE_HARDWAREONLY 1
#define DDCREATE_EMULATIONONLY 2

// DDSURFACEDESC2.dwFlags
#define DDSD_CAPS 0x00000001
#define DDSD_HEIGHT 0x00000002
#define DDSD_WIDTH 0x00000004
#define DDSD_PITCH 0x00000008
#define DDSD_BACKBUFFERCOUNT 0x00000020
#define DDSD_ZBUFFERBITDEPTH 0x00000040
#define DDSD_ALPHABITDEPTH 0x00000080
#define DDSD_LPSURFACE 0x00000800
#define DDSD_PIXELFORMAT 0x00001000
#define DDSD_CKDESTOVERLAY 0x00002000
#define DDSD_CKDESTBLT 0x00004000
#define DDSD_CKSRCOVERLAY 0x00008000
#define DDSD_CKSRCBLT 0x00010000
#define DDSD_MIPMAPCOUNT 0x00020000
#define DDSD_REFRESHRATE 0x00040000
#define DDSD_LINEARSIZE 0x00080000
#define DDSD_TEXTURESTAGE 0x00100000
#define DDSD_FVF 0x00200000
#define DDSD_SRCVBHANDLE 0x00400000
#define DDSD_DEPTH 0x00800000
#define DDSD_ALL 0x00fff9ee

// DDSCAPS2.dwCaps
#define DDSCAPS_ALPHA 0x00000002
#define DDSCAPS_BACKBUFFER 0x00000004
#define DDSCAPS_COMPLEX 0x00000008
#define DDSCAPS_FLIP 0x00000010
#define DDSCAPS_FRONTBUFFER 0x00000020
#define DDSCAPS_OFFSCREENPLAIN 0x00000040
#define DDSCAPS_OVERLAY 0x00000080
#define DDSCAPS_PALETTE 0x00000100
#define DDSCAPS_PRIMARYSURFACE 0x00000200
#define DDSCAPS_SYSTEMMEMORY 0x00000800
#define DDSCAPS_TEXTURE 0x00001000
#define DDSCAPS_3DDEVICE 0x00002000
#define DDSCAPS_VIDEOMEMORY 0x00004000
#define DDSCAPS_VISIBLE 0x00008000
#define DDSCAPS_WRITEONLY 0x00010000
#define DDSCAPS_ZBUFFER 0x00020000
#define DDSCAPS_OWNDC 0x00040000
#define DDSCAPS_MIPMAP 0x00400000
#define DDSCAPS_LOCALVIDMEM 0x10000000
#define DDSCAPS_NONLOCALVIDMEM 0x20000000

// DDPIXELFORMAT.dwFlags
#define DDPF_ALPHAPIXELS 0x00000001
#define DDPF_FOURCC 0x00000004
#define DDPF_PALETTEINDEXED8 0x00000020
#define DDPF_RGB 0x00000040

// IDirectDrawSurface7::Blt
#define DDBLT_ASYNC 0x00000200
#define DDBLT_COLORFILL 0x00000400
#define DDBLT_DDFX 0x00000800
#define DDBLT_DDROPS 0x00001000
#define DDBLT_KEYDEST 0x00002000
#define DDBLT_KEYDESTOVERRIDE 0x00004000
#define DDBLT_KEYSRC 0x00008000
#define DDBLT_KEYSRCOVERRIDE 0x00010000
#define DDBLT_ROP 0x00020000
#define DDBLT_ROTATIONANGLE 0x00040000
#define DDBLT_ZBUFFER 0x00080000
#define DDBLT_WAIT 0x01000000
#define DDBLT_DEPTHFILL 0x02000000
#define DDBLT_DONOTWAIT 0x08000000

// IDirectDrawSurface7::Flip
#define DDFLIP_WAIT 0x00000001
#define DDFLIP_EVEN 0x00000002
#define DDFLIP_ODD 0x00000004
#define DDFLIP_NOVSYNC 0x00000008
#define DDFLIP_STEREO 0x00000010
#define DDFLIP_DONOTWAIT 0x00000020

// IDirectDrawSurface7::Lock
#define DDLOCK_SURFACEMEMORYPTR 0x00000000
#define DDLOCK_WAIT 0x00000001
#define DDLOCK_EVENT 0x00000002
#define DDLOCK_READONLY 0x00000010
#define DDLOCK_WRITEONLY 0x00000020
#define DDLOCK_NOSYSLOCK 0x00000800
#define DDLOCK_DISCARDCONTENTS 0x00002000
#define DDLOCK_DONOTWAIT 0x00004000

// IDirectDrawSurface7::SetColorKey
#define DDCKEY_COLORSPACE 0x00000001
#define DDCKEY_DESTBLT 0x00000002
#define DDCKEY_DESTOVERLAY 0x00000004
#define DDCKEY_SRCBLT 0x00000008
#define DDCKEY_SRCOVERLAY 0x00000010

// DDCAPS.dwCaps
#define DDCAPS_BLT 0x00000040
#define DDCAPS_BLTQUEUE 0x00000080
#define DDCAPS_BLTSTRETCH 0x00000200
#define DDCAPS_GDI 0x00000400
#define DDCAPS_COLORKEY 0x00400000
#define DDCAPS_BLTCOLORFILL 0x04000000
#define DDCAPS_CANCLIP 0x20000000
#define DDCAPS_CANCLIPSTRETCHED 0x40000000
#define DDCAPS_CANBLTSYSMEM 0x80000000

// DDCAPS.dwCaps2
#define DDCAPS2_CERTIFIED 0x00000001
#define DDCAPS2_NOPAGELOCKREQUIRED 0x00000800
#define DDCAPS2_WIDESURFACES 0x00001000
#define DDCAPS2_FLIPNOVSYNC 0x00400000

// DDCAPS.dwCKeyCaps
#define DDCKEYCAPS_SRCBLT 0x00000200

// DDCAPS.dwFXCaps
#define DDFXCAPS_BLTSHRINKX 0x00000400
#define DDFXCAPS_BLTSHRINKXN 0x00000800
#define DDFXCAPS_BLTSHRINKY 0x00001000
#define DDFXCAPS_BLTSHRINKYN 0x00002000
#define DDFXCAPS_BLTSTRETCHX 0x00004000
#define DDFXCAPS_BLTSTRETCHXN 0x00008000
#define DDFXCAPS_BLTSTRETCHY 0x00010000
#define DDFXCAPS_BLTSTRETCHYN 0x00020000

// --- Records ---

struct IUnknown;
typedef struct IUnknown* LPUNKNOWN;

struct IDirectDraw7;
struct IDirectDrawSurface;
struct IDirectDrawSurface7;
struct IDirectDrawClipper;
typedef struct IDirectDraw7* LPDIRECTDRAW7;
typedef struct IDirectDrawSurface* LPDIRECTDRAWSURFACE;
typedef struct IDirectDrawSurface7* LPDIRECTDRAWSURFACE7;
typedef struct IDirectDrawClipper* LPDIRECTDRAWCLIPPER;

typedef struct _DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
} DDCOLORKEY, *LPDDCOLORKEY;

typedef struct _DDSCAPS {
    DWORD dwCaps;
} DDSCAPS, *LPDDSCAPS;

typedef struct _DDSCAPS2 {
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    union {
        DWORD dwCaps4;
        DWORD dwVolumeDepth;
    };
} DDSCAPS2, *LPDDSCAPS2;

typedef struct _DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    union {
        DWORD dwRGBBitCount;
        DWORD dwYUVBitCount;
        DWORD dwZBufferBitDepth;
        DWORD dwAlphaBitDepth;
        DWORD dwLuminanceBitCount;
        DWORD dwBumpBitCount;
        DWORD dwPrivateFormatBitCount;
    };
    union {
        DWORD dwRBitMask;
        DWORD dwYBitMask;
        DWORD dwStencilBitDepth;
        DWORD dwLuminanceBitMask;
        DWORD dwBumpDuBitMask;
        DWORD dwOperations;
    };
    union {
        DWORD dwGBitMask;
        DWORD dwUBitMask;
        DWORD dwZBitMask;
        DWORD dwBumpDvBitMask;
    };
    union {
        DWORD dwBBitMask;
        DWORD dwVBitMask;
        DWORD dwStencilBitMask;
        DWORD dwBumpLuminanceBitMask;
    };
    union {
        DWORD dwRGBAlphaBitMask;
        DWORD dwYUVAlphaBitMask;
        DWORD dwLuminanceAlphaBitMask;
        DWORD dwRGBZBitMask;
        DWORD dwYUVZBitMask;
    };
} DDPIXELFORMAT, *LPDDPIXELFORMAT;

typedef struct _DDSURFACEDESC2 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    union {
        LONG lPitch;
        DWORD dwLinearSize;
    };
    union {
        DWORD dwBackBufferCount;
        DWORD dwDepth;
    };
    union {
        DWORD dwMipMapCount;
        DWORD dwRefreshRate;
        DWORD dwSrcVBHandle;
    };
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    union {
        DDCOLORKEY ddckCKDestOverlay;
        DWORD dwEmptyFaceColor;
    };
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    union {
        DDPIXELFORMAT ddpfPixelFormat;
        DWORD dwFVF;
    };
    DDSCAPS2 ddsCaps;
    DWORD dwTextureStage;
} DDSURFACEDESC2, *LPDDSURFACEDESC2;

typedef struct _DDBLTFX {
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwROP;
    DWORD dwDDROP;
    DWORD dwRotationAngle;
    DWORD dwZBufferOpCode;
    DWORD dwZBufferLow;
    DWORD dwZBufferHigh;
    DWORD dwZBufferBaseDest;
    DWORD dwZDestConstBitDepth;
    union {
        DWORD dwZDestConst;
        LPDIRECTDRAWSURFACE lpDDSZBufferDest;
    };
    DWORD dwZSrcConstBitDepth;
    union {
        DWORD dwZSrcConst;
        LPDIRECTDRAWSURFACE lpDDSZBufferSrc;
    };
    DWORD dwAlphaEdgeBlendBitDepth;
    DWORD dwAlphaEdgeBlend;
    DWORD dwReserved;
    DWORD dwAlphaDestConstBitDepth;
    union {
        DWORD dwAlphaDestConst;
        LPDIRECTDRAWSURFACE lpDDSAlphaDest;
    };
    DWORD dwAlphaSrcConstBitDepth;
    union {
        DWORD dwAlphaSrcConst;
        LPDIRECTDRAWSURFACE lpDDSAlphaSrc;
    };
    union {
        DWORD dwFillColor;
        DWORD dwFillDepth;
        DWORD dwFillPixel;
        LPDIRECTDRAWSURFACE lpDDSPattern;
    };
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
} DDBLTFX, *LPDDBLTFX;

#define DD_ROP_SPACE (256 / 32)

// The DirectX 7 capability record, 380 bytes.
typedef struct _DDCAPS_DX7 {
    DWORD dwSize;
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCKeyCaps;
    DWORD dwFXCaps;
    DWORD dwFXAlphaCaps;
    DWORD dwPalCaps;
    DWORD dwSVCaps;
    DWORD dwAlphaBltConstBitDepths;
    DWORD dwAlphaBltPixelBitDepths;
    DWORD dwAlphaBltSurfaceBitDepths;
    DWORD dwAlphaOverlayConstBitDepths;
    DWORD dwAlphaOverlayPixelBitDepths;
    DWORD dwAlphaOverlaySurfaceBitDepths;
    DWORD dwZBufferBitDepths;
    DWORD dwVidMemTotal;
    DWORD dwVidMemFree;
    DWORD dwMaxVisibleOverlays;
    DWORD dwCurrVisibleOverlays;
    DWORD dwNumFourCCCodes;
    DWORD dwAlignBoundarySrc;
    DWORD dwAlignSizeSrc;
    DWORD dwAlignBoundaryDest;
    DWORD dwAlignSizeDest;
    DWORD dwAlignStrideAlign;
    DWORD dwRops[DD_ROP_SPACE];
    DDSCAPS ddsOldCaps;
    DWORD dwMinOverlayStretch;
    DWORD dwMaxOverlayStretch;
    DWORD dwMinLiveVideoStretch;
    DWORD dwMaxLiveVideoStretch;
    DWORD dwMinHwCodecStretch;
    DWORD dwMaxHwCodecStretch;
    DWORD dwReserved1;
    DWORD dwReserved2;
    DWORD dwReserved3;
    DWORD dwSVBCaps;
    DWORD dwSVBCKeyCaps;
    DWORD dwSVBFXCaps;
    DWORD dwSVBRops[DD_ROP_SPACE];
    DWORD dwVSBCaps;
    DWORD dwVSBCKeyCaps;
    DWORD dwVSBFXCaps;
    DWORD dwVSBRops[DD_ROP_SPACE];
    DWORD dwSSBCaps;
    DWORD dwSSBCKeyCaps;
    DWORD dwSSBFXCaps;
    DWORD dwSSBRops[DD_ROP_SPACE];
    DWORD dwMaxVideoPorts;
    DWORD dwCurrVideoPorts;
    DWORD dwSVBCaps2;
    DWORD dwNLVBCaps;
    DWORD dwNLVBCaps2;
    DWORD dwNLVBCKeyCaps;
    DWORD dwNLVBFXCaps;
    DWORD dwNLVBRops[DD_ROP_SPACE];
    DDSCAPS2 ddsCaps;
} DDCAPS_DX7, *LPDDCAPS_DX7;
typedef DDCAPS_DX7 DDCAPS;
typedef DDCAPS* LPDDCAPS;

// The SDK's layouts, which callers may rely on, for the pointer size we are built for (the
// 64-bit one first, then the 32-bit one).
#define QUIBBO_LAYOUT(bits64, bits32) (sizeof(void*) == 8 ? (bits64) : (bits32))
static_assert(sizeof(DDCOLORKEY) == 8, "DDCOLORKEY layout");
static_assert(sizeof(DDSCAPS2) == 16, "DDSCAPS2 layout");
static_assert(sizeof(DDPIXELFORMAT) == 32, "DDPIXELFORMAT layout");
static_assert(offsetof(DDPIXELFORMAT, dwRGBBitCount) == 12, "DDPIXELFORMAT layout");
static_assert(sizeof(DDSURFACEDESC2) == QUIBBO_LAYOUT(136, 124), "DDSURFACEDESC2 layout");
static_assert(offsetof(DDSURFACEDESC2, lPitch) == 16, "DDSURFACEDESC2 layout");
static_assert(offsetof(DDSURFACEDESC2, dwRefreshRate) == 24, "DDSURFACEDESC2 layout");
static_assert(offsetof(DDSURFACEDESC2, lpSurface) == QUIBBO_LAYOUT(40, 36),
              "DDSURFACEDESC2 layout");
static_assert(offsetof(DDSURFACEDESC2, ddckCKSrcBlt) == QUIBBO_LAYOUT(72, 64),
              "DDSURFACEDESC2 layout");
static_assert(offsetof(DDSURFACEDESC2, ddpfPixelFormat) == QUIBBO_LAYOUT(80, 72),
              "DDSURFACEDESC2 layout");
static_assert(offsetof(DDSURFACEDESC2, ddsCaps) == QUIBBO_LAYOUT(112, 104),
              "DDSURFACEDESC2 layout");
static_assert(offsetof(DDSURFACEDESC2, dwTextureStage) == QUIBBO_LAYOUT(128, 120),
              "DDSURFACEDESC2 layout");
static_assert(sizeof(DDBLTFX) == QUIBBO_LAYOUT(128, 100), "DDBLTFX layout");
static_assert(offsetof(DDBLTFX, dwFillColor) == QUIBBO_LAYOUT(104, 80), "DDBLTFX layout");
static_assert(offsetof(DDBLTFX, ddckSrcColorkey) == QUIBBO_LAYOUT(120, 92), "DDBLTFX layout");
static_assert(sizeof(DDCAPS) == 380, "DDCAPS layout");
static_assert(offsetof(DDCAPS, dwVidMemTotal) == 60, "DDCAPS layout");
static_assert(offsetof(DDCAPS, dwVidMemFree) == 64, "DDCAPS layout");
static_assert(offsetof(DDCAPS, ddsOldCaps) == 132, "DDCAPS layout");
static_assert(offsetof(DDCAPS, dwSVBCaps) == 172, "DDCAPS layout");
static_assert(offsetof(DDCAPS, ddsCaps) == 364, "DDCAPS layout");
#undef QUIBBO_LAYOUT

typedef HRESULT(CALLBACK* LPDDENUMMODESCALLBACK2)(LPDDSURFACEDESC2, LPVOID);

// --- Interfaces ---

// {15e65ec0-3b9c-11d2-b92f-00609797ea5b}
extern const GUID IID_IDirectDraw7;

// Clip lists for blits: a surface with a clipper has its blits cut to the list's rectangles.
struct IDirectDrawClipper {
    // Replaces the clip list by the rectangles of a RDH_RECTANGLES region record; null clears
    // it. Flags must be 0.
    virtual HRESULT SetClipList(LPRGNDATA clipList, DWORD flags) = 0;
    virtual ULONG Release() = 0;

protected:
    ~IDirectDrawClipper() = default;
};

struct IDirectDrawSurface7 {
    // The back buffer of a flip chain (caps DDSCAPS_BACKBUFFER), with a new reference.
    virtual HRESULT GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) = 0;
    // Attaches a clipper (null detaches): blits into this surface are cut to its clip list.
    virtual HRESULT SetClipper(LPDIRECTDRAWCLIPPER clipper) = 0;
    // On the primary surface: the back buffer's frame becomes visible and the two swap roles.
    virtual HRESULT Flip(LPDIRECTDRAWSURFACE7 targetOverride, DWORD flags) = 0;
    // Copies the whole source (or a source rectangle), scaled, into the destination rectangle
    // (null: the whole surface), or fills it with DDBLT_COLORFILL.
    virtual HRESULT Blt(LPRECT destRect, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect,
                        DWORD flags, LPDDBLTFX fx) = 0;
    // A GDI device context drawing into this surface; the surface is busy until ReleaseDC.
    virtual HRESULT GetDC(HDC* dc) = 0;
    virtual HRESULT ReleaseDC(HDC dc) = 0;
    // Direct access to the pixels (lpSurface, lPitch in the description) until Unlock.
    virtual HRESULT Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event) = 0;
    virtual HRESULT Unlock(LPRECT rect) = 0;
    // Gives a lost surface its memory back; the content is not kept.
    virtual HRESULT Restore() = 0;
    virtual HRESULT GetSurfaceDesc(LPDDSURFACEDESC2 desc) = 0;
    // DDCKEY_SRCBLT: pixels equal to the key are left out of keyed blits (null key: none).
    virtual HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;
    virtual ULONG Release() = 0;

protected:
    ~IDirectDrawSurface7() = default;
};

struct IDirectDraw7 {
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                   DWORD flags) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    virtual HRESULT GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) = 0;
    virtual HRESULT CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                                  IUnknown* outer) = 0;
    virtual HRESULT CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) = 0;
    virtual HRESULT RestoreAllSurfaces() = 0;
    virtual HRESULT EnumDisplayModes(DWORD flags, LPDDSURFACEDESC2 filter, LPVOID context,
                                     LPDDENUMMODESCALLBACK2 callback) = 0;
    virtual ULONG Release() = 0;

protected:
    ~IDirectDraw7() = default;
};

// The DirectDraw object of the default display driver (guid null). `iid` must be
// IID_IDirectDraw7; `outer` must be null.
HRESULT WINAPI DirectDrawCreateEx(GUID* guid, LPVOID* directDraw, REFIID iid, IUnknown* outer);
