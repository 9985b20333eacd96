#include "gfx/CGraphics.h"

#include "log/CLog.h"

#include <cstdarg>
#include <new>

namespace {

constexpr char kGraphicsLogName[256] = "logs/graphics.txt";

HRESULT WINAPI AppendMode(LPDDSURFACEDESC2 description, LPVOID context) {
    static_cast<DisplayModeList*>(context)->Append(*description);
    return DDENUMRET_OK;
}

} // namespace

CGraphics* g_graphics = nullptr;

CGraphics::CGraphics()
    : lastResult(0), window(nullptr), textContext(nullptr), directDraw(nullptr), primary(nullptr),
      backBuffer(nullptr), clipper(nullptr), width(0), height(0), depth(0),
      log(nullptr), errorText{}, cursorHidden(false) {}

CGraphics::~CGraphics() {
    Release();
}

void CGraphics::Log(const char* format, ...) {
    if (!log)
        return;
    va_list args;
    va_start(args, format);
    log->WriteArgs(format, args);
    va_end(args);
}

bool CGraphics::Fail(const char* format, ...) {
    if (log) {
        va_list args;
        va_start(args, format);
        log->WriteArgs(format, args);
        va_end(args);
    }
    Release();
    return false;
}

bool CGraphics::Init(HWND newWindow, int newWidth, int newHeight, int newDepth) {
    log = new (std::nothrow) CLog;
    if (!log)
        return false;
    if (!log->Open(kGraphicsLogName)) {
        Release();
        return false;
    }

    if (!newWindow)
        return Fail("ERROR --- Invalid HWND supplied");
    if (newWidth == 0)
        return Fail("ERROR --- Width = 0");
    if (newHeight == 0)
        return Fail("ERROR --- Height = 0");
    if (newDepth == 0)
        return Fail("ERROR --- Color depth = 0");
    window = newWindow;
    width = newWidth;
    height = newHeight;
    depth = newDepth;

    lastResult = DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&directDraw),
                                    IID_IDirectDraw7, nullptr);
    if (FAILED(lastResult) || !directDraw)
        return Fail("ERROR --- Could not initialize DirectDraw: %s", ErrorText(lastResult));
    Log("NOTICE --- Created DirectDraw object");

    lastResult = directDraw->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE |
                                                             DDSCL_ALLOWREBOOT);
    if (FAILED(lastResult))
        return Fail("ERROR --- Could not set cooperative level of DirectDraw: %s",
                    ErrorText(lastResult));
    Log("NOTICE --- Set cooperative level of DirectDraw");

    if (!SetMode(width, height, depth) || !BuildSurfaces(width, height, 0))
        return false;

    Log("NOTICE --- DirectDraw initialization completed OK");
    ShowCursor(FALSE);
    cursorHidden = true;
    return true;
}

bool CGraphics::SetMode(int newWidth, int newHeight, int newDepth) {
    lastResult = directDraw->SetDisplayMode(newWidth, newHeight, newDepth, 0, 0);
    if (FAILED(lastResult))
        return Fail("ERROR --- Could not set display mode to %dx%dx%d: %s", newWidth, newHeight,
                    newDepth, ErrorText(lastResult));
    Log("NOTICE --- Set display mode to %dx%dx%d", newWidth, newHeight, newDepth);
    return true;
}

// The surfaces of the flip chain and the clipper over the whole screen; `extraCaps` is added to
// the capabilities of both surfaces (a mode change asks for 3D-capable ones).
bool CGraphics::BuildSurfaces(int newWidth, int newHeight, DWORD extraCaps) {
    DDCAPS driverCaps{};
    driverCaps.dwSize = sizeof(driverCaps);
    DDCAPS emulationCaps{};
    emulationCaps.dwSize = sizeof(emulationCaps);
    lastResult = directDraw->GetCaps(&driverCaps, &emulationCaps);
    Log("NOTICE --- Start system analysis");
    Log("SYSTEM --- Total Video RAM: %d", static_cast<int>(driverCaps.dwVidMemTotal));
    Log("SYSTEM --- Free Video RAM : %d", static_cast<int>(driverCaps.dwVidMemFree));
    Log("NOTICE --- End system analysis");
    Log("NOTICE --- Initializing surfaces");

    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.dwBackBufferCount = 1;
    description.ddsCaps.dwCaps =
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | extraCaps;
    lastResult = directDraw->CreateSurface(&description, &primary, nullptr);
    if (FAILED(lastResult) || !primary)
        return Fail("ERROR --- Could not create primary surface: %s", ErrorText(lastResult));
    Log("NOTICE --- Created primary DirectDraw surface");

    DDSCAPS2 backCaps{};
    backCaps.dwCaps = DDSCAPS_BACKBUFFER | extraCaps;
    lastResult = primary->GetAttachedSurface(&backCaps, &backBuffer);
    if (FAILED(lastResult) || !backBuffer)
        return Fail("ERROR --- Could not create back buffer: %s", ErrorText(lastResult));
    Log("NOTICE --- Created back buffer");

    lastResult = directDraw->CreateClipper(0, &clipper, nullptr);
    if (FAILED(lastResult) || !clipper)
        return Fail("ERROR --- Could not create clipper: %s", ErrorText(lastResult));
    Log("NOTICE --- Create DirectDraw Clipper");

    // The region itself is not used: the clipper takes its rectangle as region data below.
    HRGN region = CreateRectRgn(0, 0, newWidth, newHeight);
    if (!region)
        return Fail("ERROR -- Could not create rectangular region");
    DeleteObject(region);
    Log("NOTICE --- Create rectangular region");

    const RECT screen{0, 0, newWidth, newHeight};
    struct {
        RGNDATAHEADER header;
        RECT rectangle;
    } clipList{};
    static_assert(sizeof(clipList) == sizeof(RGNDATAHEADER) + sizeof(RECT));
    clipList.header.dwSize = sizeof(RGNDATAHEADER);
    clipList.header.iType = RDH_RECTANGLES;
    clipList.header.nCount = 1;
    clipList.header.nRgnSize = sizeof(RECT);
    clipList.header.rcBound = screen;
    clipList.rectangle = screen;
    lastResult = clipper->SetClipList(reinterpret_cast<LPRGNDATA>(&clipList), 0);
    if (FAILED(lastResult))
        return Fail("ERROR --- Could not set clip list for clipper: %s", ErrorText(lastResult));
    Log("NOTICE --- Set clip list");

    lastResult = backBuffer->SetClipper(clipper);
    if (FAILED(lastResult))
        return Fail("ERROR --- Could not assign clipper to back buffer: %s", ErrorText(lastResult));
    Log("NOTICE --- Set clipper to back buffer");
    return true;
}

void CGraphics::ReleaseSurfaces(bool logged) {
    if (clipper) {
        clipper->Release();
        clipper = nullptr;
        if (logged)
            Log("NOTICE --- Clipper released");
    }
    if (backBuffer) {
        backBuffer->Release();
        backBuffer = nullptr;
        if (logged)
            Log("NOTICE --- Back buffer released");
    }
    if (primary) {
        primary->Release();
        primary = nullptr;
        if (logged)
            Log("NOTICE --- Primary surface released");
    }
}

void CGraphics::Release() {
    if (directDraw)
        directDraw->RestoreDisplayMode();
    ReleaseSurfaces(true);
    if (directDraw) {
        directDraw->Release();
        directDraw = nullptr;
        Log("NOTICE --- DirectDraw released");
    }
    if (log) {
        log->Write("NOTICE --- Shutting down log");
        log->Close();
        delete log;
        log = nullptr;
    }
    // A display that never came up never hid the cursor: showing it again would leave the
    // cursor's count one too high.
    if (cursorHidden) {
        ShowCursor(TRUE);
        cursorHidden = false;
    }
}

bool CGraphics::ChangeMode(int newWidth, int newHeight, int newDepth) {
    if (!directDraw)
        return false;
    ReleaseSurfaces(false);
    if (!SetMode(newWidth, newHeight, newDepth) ||
        !BuildSurfaces(newWidth, newHeight, DDSCAPS_3DDEVICE))
        return false;
    // Pictures get their memory back; their content is gone and the game loads them again.
    lastResult = directDraw->RestoreAllSurfaces();
    return true;
}

bool CGraphics::Flip() {
    if (!primary)
        return false;
    lastResult = primary->Flip(nullptr, DDFLIP_WAIT);
    if (SUCCEEDED(lastResult)) {
        DDBLTFX fill{};
        fill.dwSize = sizeof(fill);
        fill.dwFillColor = 0;
        lastResult =
            backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
        if (FAILED(lastResult)) {
            Log("ERROR --- IDirectDrawSurface7::Blt failed: %s", ErrorText(lastResult));
            return false;
        }
        return true;
    }
    if (lastResult == DDERR_SURFACELOST) {
        // The frame is lost; the next one draws into restored surfaces.
        directDraw->RestoreAllSurfaces();
        return false;
    }
    Log("ERROR --- Could not flip surfaces: %s", ErrorText(lastResult));
    return false;
}

void CGraphics::EnumModes(DisplayModeList& list) {
    if (!directDraw)
        return;
    lastResult = directDraw->EnumDisplayModes(0, nullptr, &list, AppendMode);
}
