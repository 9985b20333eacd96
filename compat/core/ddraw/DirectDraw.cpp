// The DirectDraw object: cooperative level, display mode, capabilities, surface and clipper
// creation, mode enumeration.
#include "ddraw/DirectDrawObjects.h"
#include "seams/Failures.h"

#include <algorithm>
#include <cstring>

const GUID IID_IDirectDraw7 = {
    0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

namespace compat {

namespace {

// Surface capabilities we can make.
constexpr DWORD kCreatableCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX |
                                 DDSCAPS_3DDEVICE | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY |
                                 DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;

constexpr DWORD kBlitCaps = DDCAPS_BLT | DDCAPS_BLTSTRETCH | DDCAPS_BLTCOLORFILL | DDCAPS_COLORKEY |
                            DDCAPS_CANCLIP | DDCAPS_CANCLIPSTRETCHED | DDCAPS_CANBLTSYSMEM |
                            DDCAPS_GDI;

constexpr DWORD kStretchCaps = DDFXCAPS_BLTSTRETCHX | DDFXCAPS_BLTSTRETCHXN | DDFXCAPS_BLTSTRETCHY |
                               DDFXCAPS_BLTSTRETCHYN | DDFXCAPS_BLTSHRINKX | DDFXCAPS_BLTSHRINKXN |
                               DDFXCAPS_BLTSHRINKY | DDFXCAPS_BLTSHRINKYN;

void FillCaps(DDCAPS* caps, bool driver) {
    const DWORD size = caps->dwSize;
    std::memset(caps, 0, sizeof *caps);
    caps->dwSize = size;
    caps->dwCaps = kBlitCaps;
    caps->dwCaps2 = DDCAPS2_WIDESURFACES | DDCAPS2_NOPAGELOCKREQUIRED | DDCAPS2_FLIPNOVSYNC;
    caps->dwCKeyCaps = DDCKEYCAPS_SRCBLT;
    caps->dwFXCaps = kStretchCaps;
    caps->dwSVBCaps = caps->dwVSBCaps = caps->dwSSBCaps = kBlitCaps;
    caps->dwSVBCKeyCaps = caps->dwVSBCKeyCaps = caps->dwSSBCKeyCaps = DDCKEYCAPS_SRCBLT;
    caps->dwSVBFXCaps = caps->dwVSBFXCaps = caps->dwSSBFXCaps = kStretchCaps;
    caps->ddsOldCaps.dwCaps = caps->ddsCaps.dwCaps =
        kCreatableCaps | DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER | DDSCAPS_VISIBLE;
    if (driver) {
        // The emulation layer has no display memory of its own.
        caps->dwVidMemTotal = static_cast<DWORD>(kVideoMemoryTotal);
        caps->dwVidMemFree = static_cast<DWORD>(kVideoMemoryTotal - Display().videoMemoryUsed);
    }
}

bool IsKnownSize(DWORD width, DWORD height) {
    const auto& modes = KnownDisplayModes();
    return std::any_of(modes.begin(), modes.end(), [&](const DisplayModeEntry& mode) {
        return static_cast<DWORD>(mode.width) == width && static_cast<DWORD>(mode.height) == height;
    });
}

bool PassesFilter(const DisplayModeEntry& mode, const DDSURFACEDESC2* filter) {
    if (!filter)
        return true;
    if ((filter->dwFlags & DDSD_WIDTH) && filter->dwWidth != static_cast<DWORD>(mode.width))
        return false;
    if ((filter->dwFlags & DDSD_HEIGHT) && filter->dwHeight != static_cast<DWORD>(mode.height))
        return false;
    if ((filter->dwFlags & DDSD_PIXELFORMAT) &&
        filter->ddpfPixelFormat.dwRGBBitCount != static_cast<DWORD>(mode.bitsPerPixel))
        return false;
    if ((filter->dwFlags & DDSD_REFRESHRATE) && filter->dwRefreshRate != 0 &&
        filter->dwRefreshRate != 60)
        return false;
    return true;
}

} // namespace

namespace {
DisplayState display;
}

DisplayState& Display() {
    if (display.width == 0)
        UseDesktopMode();
    return display;
}

void UseDesktopMode() {
    platform::DesktopSize(&display.width, &display.height);
    display.bitsPerPixel = 32;
    display.modeSet = false;
}

std::vector<DirectDraw*>& LiveDirectDraws() {
    static std::vector<DirectDraw*> objects;
    return objects;
}

const std::vector<DisplayModeEntry>& KnownDisplayModes() {
    // The common modes from 640x480 to 1600x1200 (few enough that the game's resolution list
    // fits a 640x480 screen) and a few beyond, each at 8, 16 and 32 bits per pixel.
    static const std::vector<DisplayModeEntry> modes = [] {
        const int sizes[][2] = {{640, 480},   {800, 600},   {1024, 768},  {1152, 864},
                                {1280, 720},  {1280, 800},  {1280, 960},  {1280, 1024},
                                {1400, 1050}, {1440, 900},  {1600, 900},  {1600, 1200},
                                {1680, 1050}, {1920, 1080}, {1920, 1200}, {2560, 1440}};
        std::vector<DisplayModeEntry> list;
        for (const auto& size : sizes)
            for (int bits : {8, 16, 32})
                list.push_back(DisplayModeEntry{size[0], size[1], bits});
        return list;
    }();
    return modes;
}

DDPIXELFORMAT PixelFormatOf(int bitsPerPixel) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    format.dwRGBBitCount = static_cast<DWORD>(bitsPerPixel);
    if (bitsPerPixel == 8) {
        format.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
    } else if (bitsPerPixel == 16) {
        format.dwFlags = DDPF_RGB;
        format.dwRBitMask = 0xF800;
        format.dwGBitMask = 0x07E0;
        format.dwBBitMask = 0x001F;
    } else {
        format.dwFlags = DDPF_RGB;
        format.dwRBitMask = 0xFF0000;
        format.dwGBitMask = 0x00FF00;
        format.dwBBitMask = 0x0000FF;
    }
    return format;
}

DirectDraw::DirectDraw() {
    LiveDirectDraws().push_back(this);
}

DirectDraw::~DirectDraw() {
    LeaveExclusive();
    screen_.Hide();
    auto& live = LiveDirectDraws();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

ULONG DirectDraw::Release() {
    if (--references_ > 0)
        return references_;
    delete this;
    return 0;
}

void DirectDraw::Forget(Surface* surface) {
    surfaces_.erase(std::remove(surfaces_.begin(), surfaces_.end(), surface), surfaces_.end());
    if (surface->Kind() == SurfaceKind::Primary)
        hasPrimary_ = false;
}

void DirectDraw::LoseSurfaces() {
    for (Surface* surface : surfaces_)
        surface->MarkLost();
}

void DirectDraw::ModeChanged() {
    for (DirectDraw* object : LiveDirectDraws())
        object->LoseSurfaces();
}

void DirectDraw::LeaveExclusive() {
    if (!IsExclusive())
        return;
    if (Display().modeSet) {
        UseDesktopMode();
        ModeChanged();
    }
    screen_.Hide();
    Display().exclusiveOwner = nullptr;
}

HRESULT DirectDraw::SetCooperativeLevel(HWND window, DWORD flags) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDraw7::SetCooperativeLevel", &hr))
        return hr;
    constexpr DWORD known = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NOWINDOWCHANGES |
                            DDSCL_NORMAL | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX |
                            DDSCL_MULTITHREADED | DDSCL_FPUSETUP | DDSCL_FPUPRESERVE;
    const bool exclusive = flags & DDSCL_EXCLUSIVE;
    const bool fullScreen = flags & DDSCL_FULLSCREEN;
    const bool normal = flags & DDSCL_NORMAL;
    // Exactly one of: normal, or full screen and exclusive together.
    if ((flags & ~known) || exclusive != fullScreen || normal == exclusive)
        return DDERR_INVALIDPARAMS;

    if (exclusive) {
        if (!WindowFromHandle(window))
            return DDERR_INVALIDPARAMS;
        if (Display().exclusiveOwner && !IsExclusive())
            return DDERR_EXCLUSIVEMODEALREADYSET;
        if (window != window_)
            screen_.Hide();
        Display().exclusiveOwner = this;
    } else {
        LeaveExclusive();
    }
    window_ = window;
    cooperativeLevel_ = flags;
    return DD_OK;
}

HRESULT DirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD,
                                   DWORD flags) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDraw7::SetDisplayMode", &hr))
        return hr;
    if (flags & ~DWORD{DDSDM_STANDARDVGAMODE})
        return DDERR_INVALIDPARAMS;
    if (!cooperativeLevel_)
        return DDERR_NOCOOPERATIVELEVELSET;
    if (!IsExclusive())
        return DDERR_NOEXCLUSIVEMODE;
    // Surfaces come in RGB565 and XRGB8888 only: 8-bit modes are listed, not offered.
    if ((bitsPerPixel != 16 && bitsPerPixel != 32) || !IsKnownSize(width, height))
        return DDERR_INVALIDMODE;
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const int bits = static_cast<int>(bitsPerPixel);
    if (!screen_.Show(WindowFromHandle(window_), w, h, bits))
        return DDERR_GENERIC;
    DisplayState& display = Display();
    display.width = w;
    display.height = h;
    display.bitsPerPixel = bits;
    display.modeSet = true;
    // Setting a mode, the current one included, resets the display: every surface is lost.
    ModeChanged();
    return DD_OK;
}

HRESULT DirectDraw::RestoreDisplayMode() {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDraw7::RestoreDisplayMode", &hr))
        return hr;
    if (Display().exclusiveOwner && !IsExclusive())
        return DDERR_NOEXCLUSIVEMODE;
    if (!Display().modeSet)
        return DD_OK;
    UseDesktopMode();
    ModeChanged();
    screen_.Hide();
    return DD_OK;
}

HRESULT DirectDraw::GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDraw7::GetCaps", &hr))
        return hr;
    if (!driverCaps && !emulationCaps)
        return DDERR_INVALIDPARAMS;
    if ((driverCaps && driverCaps->dwSize != sizeof(DDCAPS)) ||
        (emulationCaps && emulationCaps->dwSize != sizeof(DDCAPS)))
        return DDERR_INVALIDPARAMS;
    if (driverCaps)
        FillCaps(driverCaps, true);
    if (emulationCaps)
        FillCaps(emulationCaps, false);
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                                  IUnknown* outer) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDraw7::CreateSurface", &hr))
        return hr;
    if (!desc || !surface || desc->dwSize != sizeof(DDSURFACEDESC2))
        return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (!cooperativeLevel_)
        return DDERR_NOCOOPERATIVELEVELSET;
    const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
    if ((caps & ~kCreatableCaps) || ((caps & DDSCAPS_SYSTEMMEMORY) && (caps & DDSCAPS_VIDEOMEMORY)))
        return DDERR_INVALIDCAPS;
    Surface* made = nullptr;
    hr = (caps & DDSCAPS_PRIMARYSURFACE) ? CreatePrimary(*desc, &made) : CreatePlain(*desc, &made);
    if (SUCCEEDED(hr))
        *surface = made;
    return hr;
}

HRESULT DirectDraw::CreatePrimary(const DDSURFACEDESC2& desc, Surface** made) {
    const DWORD caps = desc.ddsCaps.dwCaps;
    if (!IsExclusive())
        return DDERR_NOEXCLUSIVEMODE;
    if (hasPrimary_)
        return DDERR_PRIMARYSURFACEALREADYEXISTS;
    // The primary surface is the screen: its size and format are the display mode's.
    if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT))
        return DDERR_INVALIDPARAMS;
    if (caps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN))
        return DDERR_INVALIDCAPS;
    const bool flipping = caps & DDSCAPS_FLIP;
    const bool counted = desc.dwFlags & DDSD_BACKBUFFERCOUNT;
    if (flipping != counted ||
        (flipping && (!(caps & DDSCAPS_COMPLEX) || desc.dwBackBufferCount == 0)))
        return DDERR_INVALIDCAPS;
    if (flipping && desc.dwBackBufferCount > 1)
        return DDERR_UNSUPPORTED; // one back buffer, as the game uses

    const DisplayState& display = Display();
    if (!screen_.Showing() && !screen_.Show(WindowFromHandle(window_), display.width,
                                            display.height, display.bitsPerPixel))
        return DDERR_GENERIC;

    const DWORD kept = caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE);
    auto* primary =
        new Surface(this, SurfaceKind::Primary,
                    DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER | DDSCAPS_VISIBLE | kept);
    HRESULT hr = primary->Allocate(display.width, display.height, display.bitsPerPixel,
                                   MemoryPlacement::Video);
    if (FAILED(hr)) {
        primary->Release();
        return hr;
    }
    if (flipping) {
        auto* back = new Surface(this, SurfaceKind::BackBuffer, DDSCAPS_BACKBUFFER | kept);
        hr = back->Allocate(display.width, display.height, display.bitsPerPixel,
                            MemoryPlacement::Video);
        if (FAILED(hr)) {
            back->Release();
            primary->Release();
            return hr;
        }
        primary->AttachBackBuffer(back);
    }
    hasPrimary_ = true;
    *made = primary;
    return DD_OK;
}

HRESULT DirectDraw::CreatePlain(const DDSURFACEDESC2& desc, Surface** made) {
    const DWORD caps = desc.ddsCaps.dwCaps;
    if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT))
        return DDERR_INVALIDPARAMS;
    if ((caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX)) || (desc.dwFlags & DDSD_BACKBUFFERCOUNT))
        return DDERR_INVALIDCAPS;
    if (desc.dwWidth == 0 || desc.dwHeight == 0)
        return DDERR_INVALIDPARAMS;
    if (desc.dwWidth > static_cast<DWORD>(kMaxSurfaceSide))
        return DDERR_TOOBIGWIDTH;
    if (desc.dwHeight > static_cast<DWORD>(kMaxSurfaceSide))
        return DDERR_TOOBIGHEIGHT;
    // Surfaces take the display's format; a description may name it but no other.
    const int bits = Display().bitsPerPixel;
    if (desc.dwFlags & DDSD_PIXELFORMAT) {
        const DDPIXELFORMAT ours = PixelFormatOf(bits);
        const DDPIXELFORMAT& asked = desc.ddpfPixelFormat;
        if (!(asked.dwFlags & DDPF_RGB) || asked.dwRGBBitCount != ours.dwRGBBitCount ||
            asked.dwRBitMask != ours.dwRBitMask || asked.dwGBitMask != ours.dwGBitMask ||
            asked.dwBBitMask != ours.dwBBitMask)
            return DDERR_INVALIDPIXELFORMAT;
    }
    // Placement: as asked, else display memory while it lasts, then system memory.
    const MemoryPlacement placement = (caps & DDSCAPS_SYSTEMMEMORY) ? MemoryPlacement::System
                                      : (caps & DDSCAPS_VIDEOMEMORY)
                                          ? MemoryPlacement::Video
                                          : MemoryPlacement::VideoWhileItLasts;
    auto* surface =
        new Surface(this, SurfaceKind::Plain, DDSCAPS_OFFSCREENPLAIN | (caps & DDSCAPS_3DDEVICE));
    const HRESULT hr = surface->Allocate(static_cast<int>(desc.dwWidth),
                                         static_cast<int>(desc.dwHeight), bits, placement);
    if (FAILED(hr)) {
        surface->Release();
        return hr;
    }
    if (desc.dwFlags & DDSD_CKSRCBLT)
        surface->SetKey(desc.ddckCKSrcBlt.dwColorSpaceLowValue);
    *made = surface;
    return DD_OK;
}

HRESULT DirectDraw::CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDraw7::CreateClipper", &hr))
        return hr;
    if (!clipper || flags != 0)
        return DDERR_INVALIDPARAMS;
    *clipper = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    *clipper = new Clipper;
    return DD_OK;
}

HRESULT DirectDraw::RestoreAllSurfaces() {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDraw7::RestoreAllSurfaces", &hr))
        return hr;
    // Every surface that can come back does; the first refusal is reported.
    HRESULT result = DD_OK;
    const std::vector<Surface*> surfaces = surfaces_;
    for (Surface* surface : surfaces) {
        hr = surface->RestoreMemory();
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

HRESULT DirectDraw::EnumDisplayModes(DWORD flags, LPDDSURFACEDESC2 filter, LPVOID context,
                                     LPDDENUMMODESCALLBACK2 callback) {
    HRESULT hr;
    if (TakeForcedFailure("IDirectDraw7::EnumDisplayModes", &hr))
        return hr;
    if (!callback || (flags & ~DWORD{DDEDM_REFRESHRATES | DDEDM_STANDARDVGAMODES}) ||
        (filter && filter->dwSize != sizeof(DDSURFACEDESC2)))
        return DDERR_INVALIDPARAMS;
    for (const DisplayModeEntry& mode : KnownDisplayModes()) {
        if (!PassesFilter(mode, filter))
            continue;
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
        desc.dwWidth = static_cast<DWORD>(mode.width);
        desc.dwHeight = static_cast<DWORD>(mode.height);
        desc.lPitch = mode.width * mode.bitsPerPixel / 8;
        // Refresh rates are listed only when asked for; otherwise 0, the driver's default.
        desc.dwRefreshRate = (flags & DDEDM_REFRESHRATES) ? 60 : 0;
        desc.ddpfPixelFormat = PixelFormatOf(mode.bitsPerPixel);
        if (callback(&desc, context) == DDENUMRET_CANCEL)
            break;
    }
    return DD_OK;
}

} // namespace compat

HRESULT WINAPI DirectDrawCreateEx(GUID* guid, LPVOID* directDraw, REFIID iid, IUnknown* outer) {
    HRESULT hr;
    if (compat::TakeForcedFailure("DirectDrawCreateEx", &hr))
        return hr;
    if (!directDraw)
        return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    if (std::memcmp(&iid, &IID_IDirectDraw7, sizeof(GUID)) != 0)
        return DDERR_INVALIDPARAMS;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    const auto driver = reinterpret_cast<uintptr_t>(guid);
    if (guid && driver != DDCREATE_HARDWAREONLY && driver != DDCREATE_EMULATIONONLY)
        return DDERR_INVALIDDIRECTDRAWGUID;
    if (!platform::StartVideo())
        return DDERR_NODIRECTDRAWSUPPORT;
    *directDraw = static_cast<IDirectDraw7*>(new compat::DirectDraw);
    return DD_OK;
}
