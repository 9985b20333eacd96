// A DirectDraw display as the game brings it up, headless: window, exclusive mode, display
// mode, flip chain and a clipper on the back buffer.
#pragma once

#include "compat/GfxSeams.h"
#include "compat/Seams.h"

#include <ddraw.h>
#include <gtest/gtest.h>

#include <vector>

class DirectDrawTest : public testing::Test {
protected:
    void SetUp() override {
        // Flips sleep to pace the display: on a set clock they advance it instead.
        compat::seams::SetTicks(1000);
        window = compat::seams::MakeTestWindow();
        ASSERT_EQ(DD_OK, DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd),
                                            IID_IDirectDraw7, nullptr));
        ASSERT_EQ(DD_OK, dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE |
                                                             DDSCL_ALLOWREBOOT));
    }

    void TearDown() override {
        for (IDirectDrawSurface7* surface : pictures)
            surface->Release();
        if (clipper)
            clipper->Release();
        if (back)
            back->Release();
        if (primary)
            primary->Release();
        if (dd) {
            EXPECT_EQ(0u, dd->Release());
        }
    }

    // The game's start-up: mode, primary with one back buffer, clipper over the whole screen.
    void BringUp(int width = 640, int height = 480, int bits = 16) {
        ASSERT_EQ(DD_OK, dd->SetDisplayMode(width, height, bits, 0, 0));
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        ASSERT_EQ(DD_OK, dd->CreateSurface(&desc, &primary, nullptr));
        DDSCAPS2 caps{};
        caps.dwCaps = DDSCAPS_BACKBUFFER;
        ASSERT_EQ(DD_OK, primary->GetAttachedSurface(&caps, &back));
        ASSERT_EQ(DD_OK, dd->CreateClipper(0, &clipper, nullptr));
        SetClipRect(clipper, RECT{0, 0, width, height});
        ASSERT_EQ(DD_OK, back->SetClipper(clipper));
    }

    static void SetClipRect(IDirectDrawClipper* target, const RECT& rect) {
        struct {
            RGNDATAHEADER header;
            RECT rect;
        } region{};
        region.header.dwSize = sizeof(RGNDATAHEADER);
        region.header.iType = RDH_RECTANGLES;
        region.header.nCount = 1;
        region.header.nRgnSize = sizeof(RECT);
        region.header.rcBound = rect;
        region.rect = rect;
        ASSERT_EQ(DD_OK, target->SetClipList(reinterpret_cast<RGNDATA*>(&region), 0));
    }

    // A picture surface; kept and released by the fixture.
    IDirectDrawSurface7* MakePicture(int width, int height) {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(DD_OK, dd->CreateSurface(&desc, &surface, nullptr));
        if (surface)
            pictures.push_back(surface);
        return surface;
    }

    // A picture whose pixel (x, y) holds raw value base + y * width + x.
    IDirectDrawSurface7* MakeNumberedPicture(int width, int height, uint32_t base = 1) {
        IDirectDrawSurface7* surface = MakePicture(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                compat::seams::SetPixelOf(surface, x, y, base + y * width + x);
        return surface;
    }

    static void SetKey(IDirectDrawSurface7* surface, uint32_t raw) {
        DDCOLORKEY key{raw, raw};
        ASSERT_EQ(DD_OK, surface->SetColorKey(DDCKEY_SRCBLT, &key));
    }

    static HRESULT Fill(IDirectDrawSurface7* surface, uint32_t raw, RECT* rect = nullptr) {
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = raw;
        return surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }

    static uint32_t Pixel(IDirectDrawSurface7* surface, int x, int y) {
        return compat::seams::PixelOf(surface, x, y);
    }

    HWND window = nullptr;
    IDirectDraw7* dd = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* back = nullptr;
    IDirectDrawClipper* clipper = nullptr;
    std::vector<IDirectDrawSurface7*> pictures;
};
