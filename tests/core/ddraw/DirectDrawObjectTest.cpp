// The DirectDraw object and its surfaces: creation, modes, capabilities, references, locks,
// device contexts, lost surfaces and forced failures.
#include "DirectDrawFixture.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

using DirectDrawObject = DirectDrawTest;
using compat::seams::FailNext;

struct ModeSeen {
    int width, height, bits;
    bool operator==(const ModeSeen& o) const {
        return std::tie(width, height, bits) == std::tie(o.width, o.height, o.bits);
    }
};

HRESULT CALLBACK CollectMode(LPDDSURFACEDESC2 desc, LPVOID context) {
    auto* modes = static_cast<std::vector<ModeSeen>*>(context);
    EXPECT_EQ(sizeof(DDSURFACEDESC2), desc->dwSize);
    modes->push_back(ModeSeen{static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight),
                              static_cast<int>(desc->ddpfPixelFormat.dwRGBBitCount)});
    return DDENUMRET_OK;
}

// The word at the start of a surface's memory, read through a lock, and the surface's depth.
uint32_t LockedFirstWord(IDirectDrawSurface7* surface, uint32_t* bitCount = nullptr) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    uint32_t word = 0;
    EXPECT_EQ(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    if (desc.lpSurface)
        std::memcpy(&word, desc.lpSurface, sizeof word);
    EXPECT_EQ(DD_OK, surface->Unlock(nullptr));
    if (bitCount)
        *bitCount = desc.ddpfPixelFormat.dwRGBBitCount;
    return word;
}

HRESULT CALLBACK StopAtOnce(LPDDSURFACEDESC2, LPVOID context) {
    ++*static_cast<int*>(context);
    return DDENUMRET_CANCEL;
}

TEST_F(DirectDrawObject, CreationChecksItsArguments) {
    void* object = reinterpret_cast<void*>(1);
    GUID other = IID_IDirectDraw7;
    other.Data1 ^= 1;
    EXPECT_EQ(DDERR_INVALIDPARAMS, DirectDrawCreateEx(nullptr, &object, other, nullptr));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(DDERR_INVALIDPARAMS, DirectDrawCreateEx(nullptr, nullptr, IID_IDirectDraw7, nullptr));
    EXPECT_EQ(DDERR_INVALIDDIRECTDRAWGUID,
              DirectDrawCreateEx(&other, &object, IID_IDirectDraw7, nullptr));
}

TEST_F(DirectDrawObject, EnumeratesTheCommonModesAtEveryDepth) {
    std::vector<ModeSeen> modes;
    ASSERT_EQ(DD_OK, dd->EnumDisplayModes(0, nullptr, &modes, CollectMode));
    ASSERT_EQ(48u, modes.size());
    EXPECT_EQ((ModeSeen{640, 480, 8}), modes.front());
    EXPECT_EQ((ModeSeen{640, 480, 16}), modes[1]);
    EXPECT_EQ((ModeSeen{640, 480, 32}), modes[2]);
    EXPECT_EQ((ModeSeen{2560, 1440, 32}), modes.back());
    // What the game keeps: 16 bits, 640..1600 by 480..1200; few enough for its list screen.
    int kept = 0;
    for (const ModeSeen& m : modes)
        kept += m.bits == 16 && m.width >= 640 && m.width <= 1600 && m.height >= 480 &&
                m.height <= 1200;
    EXPECT_EQ(12, kept);
    EXPECT_NE(modes.end(), std::find(modes.begin(), modes.end(), ModeSeen{1600, 1200, 16}));

    DDSURFACEDESC2 filter{};
    filter.dwSize = sizeof filter;
    filter.dwFlags = DDSD_WIDTH | DDSD_PIXELFORMAT;
    filter.dwWidth = 800;
    filter.ddpfPixelFormat.dwRGBBitCount = 32;
    modes.clear();
    ASSERT_EQ(DD_OK, dd->EnumDisplayModes(0, &filter, &modes, CollectMode));
    EXPECT_EQ((std::vector<ModeSeen>{{800, 600, 32}}), modes);

    int calls = 0;
    EXPECT_EQ(DD_OK, dd->EnumDisplayModes(0, nullptr, &calls, StopAtOnce));
    EXPECT_EQ(1, calls);
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->EnumDisplayModes(0, nullptr, nullptr, nullptr));
}

TEST_F(DirectDrawObject, OnlySixteenAndThirtyTwoBitModesOfTheListAreSet) {
    EXPECT_EQ(DDERR_INVALIDMODE, dd->SetDisplayMode(640, 480, 8, 0, 0));
    EXPECT_EQ(DDERR_INVALIDMODE, dd->SetDisplayMode(640, 480, 24, 0, 0));
    EXPECT_EQ(DDERR_INVALIDMODE, dd->SetDisplayMode(641, 480, 16, 0, 0));
    EXPECT_EQ(DD_OK, dd->SetDisplayMode(800, 600, 32, 0, 0));
    BringUp(640, 480, 16);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(DD_OK, primary->GetSurfaceDesc(&desc));
    EXPECT_EQ(640u, desc.dwWidth);
    EXPECT_EQ(480u, desc.dwHeight);
    EXPECT_EQ(16u, desc.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(0xF800u, desc.ddpfPixelFormat.dwRBitMask);
    EXPECT_EQ(DDSD_BACKBUFFERCOUNT, desc.dwFlags & DDSD_BACKBUFFERCOUNT);
}

TEST_F(DirectDrawObject, CooperativeLevelRulesAndExclusiveOwnership) {
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN));
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE));
    EXPECT_EQ(DDERR_INVALIDPARAMS,
              dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE));
    IDirectDraw7* second = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&second),
                                        IID_IDirectDraw7, nullptr));
    EXPECT_EQ(DDERR_NOCOOPERATIVELEVELSET, second->SetDisplayMode(640, 480, 16, 0, 0));
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET,
              second->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE));
    EXPECT_EQ(DD_OK, second->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    EXPECT_EQ(DDERR_NOEXCLUSIVEMODE, second->SetDisplayMode(640, 480, 16, 0, 0));
    EXPECT_EQ(0u, second->Release());
}

TEST_F(DirectDrawObject, CapabilitiesGiveThePlausibleVideoMemory) {
    DDCAPS driver{}, emulation{};
    driver.dwSize = emulation.dwSize = sizeof(DDCAPS);
    ASSERT_EQ(DD_OK, dd->GetCaps(&driver, &emulation));
    EXPECT_EQ(64u << 20, driver.dwVidMemTotal);
    EXPECT_LE(driver.dwVidMemFree, driver.dwVidMemTotal);
    EXPECT_EQ(0u, emulation.dwVidMemTotal);
    EXPECT_TRUE(driver.dwCaps & DDCAPS_BLTSTRETCH);
    EXPECT_TRUE(driver.dwCKeyCaps & DDCKEYCAPS_SRCBLT);

    const DWORD freeBefore = driver.dwVidMemFree;
    BringUp(640, 480, 16);
    ASSERT_EQ(DD_OK, dd->GetCaps(&driver, nullptr));
    EXPECT_GE(freeBefore - driver.dwVidMemFree, 2u * 640 * 480 * 2); // the flip chain

    driver.dwSize = 376;
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->GetCaps(&driver, nullptr));
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->GetCaps(nullptr, nullptr));
}

TEST_F(DirectDrawObject, ReferenceCountsFollowCom) {
    BringUp();
    // The fixture holds the primary and the back buffer from GetAttachedSurface.
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface7* again = nullptr;
    ASSERT_EQ(DD_OK, primary->GetAttachedSurface(&caps, &again));
    EXPECT_EQ(back, again);
    EXPECT_EQ(1u, again->Release());
    caps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    EXPECT_EQ(DDERR_NOTFOUND, primary->GetAttachedSurface(&caps, &again));

    // The clipper lives while the back buffer holds it.
    EXPECT_EQ(1u, clipper->Release());
    clipper = nullptr;
    // The back buffer stays with its chain after the caller's last reference.
    EXPECT_EQ(0u, back->Release());
    back = nullptr;
    // Surfaces hold the DirectDraw object: 1 for the caller + 2 for the chain.
    IDirectDrawSurface7* picture = MakePicture(8, 8);
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(0u, primary->Release());
    primary = nullptr;
    EXPECT_EQ(0u, picture->Release());
    pictures.clear();
}

TEST_F(DirectDrawObject, TheDirectDrawObjectLivesUntilItsLastSurfaceGoes) {
    IDirectDrawSurface7* picture = MakePicture(8, 8);
    pictures.clear();
    EXPECT_EQ(1u, dd->Release()); // the picture still holds it
    dd = nullptr;
    EXPECT_EQ(DD_OK, Fill(picture, 5));
    EXPECT_EQ(5u, Pixel(picture, 7, 7));
    EXPECT_EQ(0u, picture->Release());
}

TEST_F(DirectDrawObject, SurfaceCreationChecksTheDescription) {
    BringUp();
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 16;
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->CreateSurface(&desc, &surface, nullptr)); // height 0
    desc.dwHeight = 16;
    desc.dwSize = 124; // the 32-bit size
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->CreateSurface(&desc, &surface, nullptr));
    desc.dwSize = sizeof desc;
    desc.dwWidth = 20000;
    EXPECT_EQ(DDERR_TOOBIGWIDTH, dd->CreateSurface(&desc, &surface, nullptr));
    desc.dwWidth = 16;
    desc.dwFlags |= DDSD_PIXELFORMAT;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 32; // the display is at 16
    EXPECT_EQ(DDERR_INVALIDPIXELFORMAT, dd->CreateSurface(&desc, &surface, nullptr));
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    EXPECT_EQ(DDERR_PRIMARYSURFACEALREADYEXISTS, dd->CreateSurface(&desc, &surface, nullptr));
    EXPECT_EQ(nullptr, surface);
}

class LockRoundTrip : public DirectDrawTest, public testing::WithParamInterface<int> {};

TEST_P(LockRoundTrip, LockedMemoryIsTheSurfacesPixels) {
    const int bits = GetParam();
    BringUp(640, 480, bits);
    IDirectDrawSurface7* picture = MakePicture(3, 2);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(DD_OK, picture->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(static_cast<DWORD>(bits), desc.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_GE(desc.lPitch, 3 * bits / 8);
    auto* bytes = static_cast<uint8_t*>(desc.lpSurface);
    const uint32_t written = bits == 16 ? 0xF81F : 0x00ABCDEF;
    std::memcpy(bytes + desc.lPitch + (bits / 8) * 2, &written, bits / 8); // pixel (2, 1)
    EXPECT_EQ(DDERR_SURFACEBUSY, picture->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    HDC dc = nullptr;
    EXPECT_EQ(DDERR_SURFACEBUSY, picture->GetDC(&dc));
    EXPECT_EQ(DDERR_SURFACEBUSY, back->Blt(nullptr, picture, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, picture->Unlock(nullptr));
    EXPECT_EQ(written, Pixel(picture, 2, 1));
    EXPECT_EQ(DDERR_NOTLOCKED, picture->Unlock(nullptr));

    // The other way: a pixel set outside a lock reads back through one, the word at the start
    // of the memory as the game's colour matching reads it.
    compat::seams::SetPixelOf(picture, 0, 0, written);
    ASSERT_EQ(DD_OK, picture->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    uint32_t word = 0;
    std::memcpy(&word, desc.lpSurface, sizeof word);
    ASSERT_EQ(DD_OK, picture->Unlock(nullptr));
    const uint32_t mask = bits == 32 ? 0xFFFFFFFF : (1u << bits) - 1;
    EXPECT_EQ(written, word & mask);

    RECT part{1, 1, 3, 2};
    ASSERT_EQ(DD_OK, picture->Lock(&part, &desc, DDLOCK_WAIT, nullptr));
    std::memcpy(&word, desc.lpSurface, bits / 8);
    ASSERT_EQ(DD_OK, picture->Unlock(nullptr));
    EXPECT_EQ(Pixel(picture, 1, 1), word & mask);
}

// The game's colour matching: GDI writes a colour into the surface through its device context,
// a lock reads the raw word back, and the pixel is put back as it was.
TEST_P(LockRoundTrip, AColourSetThroughTheDeviceContextReadsBackRaw) {
    const int bits = GetParam();
    BringUp(640, 480, bits);
    compat::seams::SetPixelOf(back, 0, 0, 0x1234);
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, back->GetDC(&dc));
    const COLORREF before = GetPixel(dc, 0, 0);
    SetPixel(dc, 0, 0, 0x6567E4);
    ASSERT_EQ(DD_OK, back->ReleaseDC(dc));
    uint32_t bitCount = 0;
    const uint32_t word = LockedFirstWord(back, &bitCount);
    const uint32_t raw = bitCount < 32 ? word & ((1u << bitCount) - 1) : word;
    EXPECT_EQ(bits == 16 ? 0xE32Cu : 0xE46765u, raw);
    ASSERT_EQ(DD_OK, back->GetDC(&dc));
    SetPixel(dc, 0, 0, before);
    ASSERT_EQ(DD_OK, back->ReleaseDC(dc));
    EXPECT_EQ(0x1234u, Pixel(back, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, LockRoundTrip, testing::Values(16, 32));

TEST_F(DirectDrawObject, TextWrittenThroughTheDeviceContextLandsInTheSurface) {
    BringUp();
    HFONT font = CreateFontA(-23, 0, 0, 0, 400, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             "verdana");
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, back->GetDC(&dc));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    SelectObject(dc, font);
    TextOutA(dc, 100, 100, "Score: 1250", 11);
    ASSERT_EQ(DD_OK, back->ReleaseDC(dc));
    DeleteObject(font);
    int white = 0, elsewhere = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const bool inBox = x >= 100 && x < 300 && y >= 100 && y < 130;
            (inBox ? white : elsewhere) += Pixel(back, x, y) == 0xFFFF;
        }
    EXPECT_GT(white, 50);
    EXPECT_EQ(0, elsewhere);
}

TEST_F(DirectDrawObject, ADeviceContextKeepsTheSurfaceBusyUntilReleased) {
    BringUp();
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, back->GetDC(&dc));
    ASSERT_NE(nullptr, dc);
    HDC second = nullptr;
    EXPECT_EQ(DDERR_DCALREADYCREATED, back->GetDC(&second));
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    EXPECT_EQ(DDERR_SURFACEBUSY, back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACEBUSY, Fill(back, 1));
    EXPECT_EQ(DDERR_SURFACEBUSY, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ(DDERR_INVALIDPARAMS, back->ReleaseDC(reinterpret_cast<HDC>(&desc)));
    EXPECT_EQ(DD_OK, back->ReleaseDC(dc));
    EXPECT_EQ(DDERR_NODC, back->ReleaseDC(dc));
    EXPECT_EQ(DD_OK, Fill(back, 1));
}

TEST_F(DirectDrawObject, AModeChangeLosesEverySurfaceAndItsContent) {
    BringUp();
    IDirectDrawSurface7* picture = MakeNumberedPicture(4, 4);
    SetKey(picture, 1);
    ASSERT_EQ(DD_OK, dd->SetDisplayMode(800, 600, 16, 0, 0));
    EXPECT_TRUE(compat::seams::IsLost(picture));
    EXPECT_EQ(DDERR_SURFACELOST, back->Blt(nullptr, picture, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACELOST, Fill(picture, 3));
    EXPECT_EQ(DDERR_SURFACELOST, primary->Flip(nullptr, DDFLIP_WAIT));
    HDC dc = nullptr;
    EXPECT_EQ(DDERR_SURFACELOST, picture->GetDC(&dc));
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    EXPECT_EQ(DDERR_SURFACELOST, picture->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(0xFFFFFFFFu, Pixel(picture, 0, 0)); // the memory is gone
    // Its size and key are the surface's own and stay.
    ASSERT_EQ(DD_OK, picture->GetSurfaceDesc(&desc));
    EXPECT_EQ(4u, desc.dwWidth);
    EXPECT_EQ(1u, desc.ddckCKSrcBlt.dwColorSpaceLowValue);

    // The old flip chain does not fit the new mode; the picture comes back empty.
    EXPECT_EQ(DDERR_WRONGMODE, dd->RestoreAllSurfaces());
    EXPECT_FALSE(compat::seams::IsLost(picture));
    EXPECT_EQ(0u, Pixel(picture, 3, 3));
    EXPECT_EQ(DDERR_WRONGMODE, primary->Restore());
    EXPECT_EQ(DD_OK, Fill(picture, 3));
}

TEST_F(DirectDrawObject, ADepthChangeLeavesOldPicturesLost) {
    BringUp(640, 480, 16);
    IDirectDrawSurface7* picture = MakePicture(4, 4);
    ASSERT_EQ(DD_OK, dd->SetDisplayMode(640, 480, 32, 0, 0));
    EXPECT_EQ(DDERR_WRONGMODE, picture->Restore());
    EXPECT_TRUE(compat::seams::IsLost(picture));
}

TEST_F(DirectDrawObject, ALostFlipChainRestoresAsAWhole) {
    BringUp();
    ASSERT_EQ(DD_OK, Fill(back, 0x1234));
    compat::seams::LoseAllSurfaces();
    EXPECT_EQ(DDERR_SURFACELOST, primary->Flip(nullptr, DDFLIP_WAIT));
    ASSERT_EQ(DD_OK, primary->Restore());
    EXPECT_FALSE(compat::seams::IsLost(back));
    EXPECT_EQ(0u, Pixel(back, 10, 10));
    EXPECT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));

    compat::seams::LoseSurface(back);
    EXPECT_EQ(DDERR_SURFACELOST, Fill(back, 1));
    EXPECT_EQ(DD_OK, dd->RestoreAllSurfaces());
    EXPECT_EQ(DD_OK, Fill(back, 1));
}

// A fill of the whole surface is drawn only when the pixels are next used: every way of using
// them must find it drawn, and a later whole fill must replace it.
TEST_F(DirectDrawObject, AWholeFillIsSeenByEveryReaderOfThePixels) {
    BringUp();
    IDirectDrawSurface7* picture = MakePicture(4, 4);
    ASSERT_EQ(DD_OK, Fill(picture, 0x1111));
    ASSERT_EQ(DD_OK, Fill(picture, 0x2222)); // replaces the first
    RECT corner{0, 0, 1, 1};
    ASSERT_EQ(DD_OK, Fill(picture, 0x3333, &corner));
    EXPECT_EQ(0x3333u, Pixel(picture, 0, 0));
    EXPECT_EQ(0x2222u, Pixel(picture, 3, 3));

    ASSERT_EQ(DD_OK, Fill(picture, 0x4444));
    ASSERT_EQ(DD_OK, Fill(back, 0x5555));
    RECT to{10, 10, 14, 14};
    ASSERT_EQ(DD_OK, back->Blt(&to, picture, nullptr, DDBLT_WAIT, nullptr)); // as a source
    EXPECT_EQ(0x4444u, Pixel(back, 12, 12));
    EXPECT_EQ(0x5555u, Pixel(back, 20, 20));

    ASSERT_EQ(DD_OK, Fill(picture, 0x6666));
    EXPECT_EQ(0x6666u, LockedFirstWord(picture) & 0xFFFF);

    ASSERT_EQ(DD_OK, Fill(back, 0x7777));
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ(0x7777u, compat::seams::PresentedPixel(5, 5));
    EXPECT_EQ(0x7777u, Pixel(primary, 5, 5));
    EXPECT_EQ(0u, Pixel(back, 12, 12)); // what the primary held: nothing shown yet

    ASSERT_EQ(DD_OK, Fill(back, 0x1234));
    compat::seams::LoseAllSurfaces();
    ASSERT_EQ(DD_OK, dd->RestoreAllSurfaces());
    EXPECT_EQ(0u, Pixel(back, 10, 10)); // the content went with the memory
}

// The black a flip leaves, settled for a colour match's lock, reaches every pixel, also when
// the memory it lands in was written all over through an earlier lock.
TEST_F(DirectDrawObject, TheBlackAFlipLeavesReadsBlackEverywhereThroughALock) {
    BringUp();
    for (int frame = 0; frame < 5; ++frame) {
        ASSERT_EQ(DD_OK, Fill(back, 0));
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        ASSERT_EQ(DD_OK, back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
        auto* bytes = static_cast<uint8_t*>(desc.lpSurface);
        const size_t rowBytes = desc.dwWidth * desc.ddpfPixelFormat.dwRGBBitCount / 8;
        size_t lit = 0;
        for (DWORD y = 0; y < desc.dwHeight; ++y)
            for (size_t x = 0; x < rowBytes; ++x)
                lit += bytes[y * desc.lPitch + x] != 0;
        EXPECT_EQ(0u, lit) << "frame " << frame;
        for (DWORD y = 0; y < desc.dwHeight; ++y)
            std::memset(bytes + y * desc.lPitch, 0xAB, rowBytes);
        ASSERT_EQ(DD_OK, back->Unlock(nullptr));
        ASSERT_EQ(DD_OK, Fill(back, 0x1234));
        ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    }
}

TEST_F(DirectDrawObject, ForcedFailuresReturnTheirCodeAndDoNothingElse) {
    BringUp();
    IDirectDrawSurface7* picture = MakeNumberedPicture(2, 2);

    FailNext("IDirectDrawSurface7::Blt", DDERR_SURFACELOST);
    EXPECT_EQ(DDERR_SURFACELOST, Fill(back, 7));
    EXPECT_EQ(0u, Pixel(back, 0, 0));
    EXPECT_EQ(DD_OK, Fill(back, 7));

    FailNext("IDirectDraw7::SetDisplayMode", DDERR_INVALIDMODE);
    EXPECT_EQ(DDERR_INVALIDMODE, dd->SetDisplayMode(800, 600, 16, 0, 0));
    EXPECT_FALSE(compat::seams::IsLost(picture));

    // A forced success leaves the out-parameter as it was: "success with no object".
    IDirectDraw7* none = nullptr;
    FailNext("DirectDrawCreateEx", DD_OK);
    EXPECT_EQ(DD_OK, DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&none), IID_IDirectDraw7,
                                        nullptr));
    EXPECT_EQ(nullptr, none);

    IDirectDrawClipper* noClipper = nullptr;
    FailNext("IDirectDraw7::CreateClipper", DDERR_OUTOFMEMORY);
    EXPECT_EQ(DDERR_OUTOFMEMORY, dd->CreateClipper(0, &noClipper, nullptr));
    EXPECT_EQ(nullptr, noClipper);

    FailNext("IDirectDrawClipper::SetClipList", DDERR_INVALIDCLIPLIST);
    RECT whole{0, 0, 640, 480};
    struct {
        RGNDATAHEADER header;
        RECT rect;
    } region{{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1, sizeof(RECT), whole}, whole};
    EXPECT_EQ(DDERR_INVALIDCLIPLIST, clipper->SetClipList(reinterpret_cast<RGNDATA*>(&region), 0));

    const char* names[] = {"IDirectDraw7::SetCooperativeLevel",
                           "IDirectDraw7::RestoreDisplayMode",
                           "IDirectDraw7::GetCaps",
                           "IDirectDraw7::CreateSurface",
                           "IDirectDraw7::RestoreAllSurfaces",
                           "IDirectDraw7::EnumDisplayModes",
                           "IDirectDrawSurface7::Flip",
                           "IDirectDrawSurface7::GetDC",
                           "IDirectDrawSurface7::Lock",
                           "IDirectDrawSurface7::SetColorKey",
                           "IDirectDrawSurface7::GetSurfaceDesc",
                           "IDirectDrawSurface7::GetAttachedSurface",
                           "IDirectDrawSurface7::SetClipper",
                           "IDirectDrawSurface7::Restore"};
    for (const char* name : names)
        FailNext(name, DDERR_GENERIC);
    DDCAPS caps{};
    caps.dwSize = sizeof caps;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    DDSCAPS2 backCaps{DDSCAPS_BACKBUFFER, 0, 0, {0}};
    DDCOLORKEY key{0, 0};
    HDC dc = nullptr;
    IDirectDrawSurface7* attached = nullptr;
    EXPECT_EQ(DDERR_GENERIC, dd->SetCooperativeLevel(window, DDSCL_NORMAL));
    EXPECT_EQ(DDERR_GENERIC, dd->RestoreDisplayMode());
    EXPECT_EQ(DDERR_GENERIC, dd->GetCaps(&caps, nullptr));
    EXPECT_EQ(DDERR_GENERIC, dd->CreateSurface(&desc, &attached, nullptr));
    EXPECT_EQ(DDERR_GENERIC, dd->RestoreAllSurfaces());
    EXPECT_EQ(DDERR_GENERIC, dd->EnumDisplayModes(0, nullptr, nullptr, CollectMode));
    EXPECT_EQ(DDERR_GENERIC, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ(DDERR_GENERIC, back->GetDC(&dc));
    EXPECT_EQ(DDERR_GENERIC, back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DDERR_GENERIC, picture->SetColorKey(DDCKEY_SRCBLT, &key));
    EXPECT_EQ(DDERR_GENERIC, picture->GetSurfaceDesc(&desc));
    EXPECT_EQ(DDERR_GENERIC, primary->GetAttachedSurface(&backCaps, &attached));
    EXPECT_EQ(DDERR_GENERIC, back->SetClipper(nullptr));
    EXPECT_EQ(DDERR_GENERIC, picture->Restore());
    for (const char* name : names)
        EXPECT_EQ(0, compat::seams::PendingFailures(name)) << name;
    // Nothing happened: still exclusive, the chain is whole and the clipper still cuts.
    EXPECT_EQ(nullptr, dc);
    EXPECT_EQ(nullptr, attached);
    RECT off{600, 0, 700, 10};
    EXPECT_EQ(DD_OK, Fill(back, 2, &off));
    EXPECT_EQ(DD_OK, dd->SetDisplayMode(640, 480, 16, 0, 0));
}

TEST_F(DirectDrawObject, ForcedFailuresOfUnlockAndReleaseDcLeaveTheSurfaceBusy) {
    BringUp();
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(DD_OK, back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    FailNext("IDirectDrawSurface7::Unlock", DDERR_GENERIC);
    EXPECT_EQ(DDERR_GENERIC, back->Unlock(nullptr));
    EXPECT_EQ(DDERR_SURFACEBUSY, Fill(back, 1));
    ASSERT_EQ(DD_OK, back->Unlock(nullptr));

    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, back->GetDC(&dc));
    FailNext("IDirectDrawSurface7::ReleaseDC", DDERR_NODC);
    EXPECT_EQ(DDERR_NODC, back->ReleaseDC(dc));
    EXPECT_EQ(DDERR_SURFACEBUSY, Fill(back, 1));
    ASSERT_EQ(DD_OK, back->ReleaseDC(dc));
    EXPECT_EQ(DD_OK, Fill(back, 1));
}

} // namespace
