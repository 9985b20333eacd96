// testframe: brings the display up as the game does (exclusive mode, flip chain, clipper) and
// presents a test frame over and over: a colour fill, keyed pictures, scaled pictures,
// pictures reaching past every edge of the screen, and text in both of the game's fonts.
// Prints the frame rate at the end.
//
//   testframe [--mode WxHxBITS] [--seconds S] [--save frame.bmp]
//
// With --save and no --seconds it draws one frame, saves what reached the screen and stops.
// Escape or closing the window stops it too. QUIBBO_WINDOWED=1 gives an ordinary window.
#include "compat/GfxSeams.h"

#include <SDL.h>
#include <ddraw.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options {
    int width = 640;
    int height = 480;
    int bits = 16;
    double seconds = 0; // 0: until stopped
    std::string save;
};

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--mode" && value) {
            if (std::sscanf(value, "%dx%dx%d", &options->width, &options->height, &options->bits) !=
                3)
                return false;
            ++i;
        } else if (arg == "--seconds" && value) {
            options->seconds = std::atof(value);
            ++i;
        } else if (arg == "--save" && value) {
            options->save = value;
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

void Fail(const char* what, HRESULT hr) {
    std::fprintf(stderr, "testframe: %s failed: 0x%08x\n", what, static_cast<unsigned>(hr));
    std::exit(1);
}

void Check(const char* what, HRESULT hr) {
    if (FAILED(hr))
        Fail(what, hr);
}

// A colour (red in the low byte) in the surface's own format, from its pixel format's masks.
uint32_t RawColor(IDirectDrawSurface7* surface, COLORREF color) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    Check("GetSurfaceDesc", surface->GetSurfaceDesc(&desc));
    const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
    const auto channel = [](uint32_t value, uint32_t mask) {
        int shift = 0, bits = 0;
        while (mask && !((mask >> shift) & 1))
            ++shift;
        while ((mask >> (shift + bits)) & 1)
            ++bits;
        return ((value >> (8 - bits)) << shift) & mask;
    };
    return channel(color & 0xFF, format.dwRBitMask) |
           channel((color >> 8) & 0xFF, format.dwGBitMask) |
           channel((color >> 16) & 0xFF, format.dwBBitMask);
}

constexpr COLORREF kKeyColor = 0x6567E4; // the game's key: red 228, green 103, blue 101

IDirectDrawSurface7* MakePicture(IDirectDraw7* dd, int width, int height) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    IDirectDrawSurface7* surface = nullptr;
    Check("CreateSurface", dd->CreateSurface(&desc, &surface, nullptr));
    const uint32_t key = RawColor(surface, kKeyColor);
    DDCOLORKEY colorKey{key, key};
    Check("SetColorKey", surface->SetColorKey(DDCKEY_SRCBLT, &colorKey));
    return surface;
}

// Draws into a picture through a lock, as a bitmap loader would.
template <typename Shade> void Paint(IDirectDrawSurface7* surface, Shade shade) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    Check("Lock", surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    const int bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount) / 8;
    for (int y = 0; y < static_cast<int>(desc.dwHeight); ++y) {
        auto* row = static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch;
        for (int x = 0; x < static_cast<int>(desc.dwWidth); ++x) {
            const uint32_t raw = shade(x, y);
            std::memcpy(row + x * bytes, &raw, bytes);
        }
    }
    Check("Unlock", surface->Unlock(nullptr));
}

struct Pictures {
    IDirectDrawSurface7* block = nullptr;  // 32x32: a framed square with keyed corners
    IDirectDrawSurface7* cloud = nullptr;  // 100x60: a white ellipse on the key
    IDirectDrawSurface7* target = nullptr; // 64x64: rings, to show scaling
};

Pictures MakePictures(IDirectDraw7* dd) {
    Pictures p;
    p.block = MakePicture(dd, 32, 32);
    const uint32_t key = RawColor(p.block, kKeyColor);
    const uint32_t red = RawColor(p.block, RGB(220, 40, 40));
    const uint32_t dark = RawColor(p.block, RGB(90, 10, 10));
    const uint32_t light = RawColor(p.block, RGB(255, 160, 160));
    Paint(p.block, [&](int x, int y) -> uint32_t {
        const bool corner = (x < 4 || x > 27) && (y < 4 || y > 27);
        if (corner)
            return key;
        if (x < 2 || y < 2)
            return light;
        if (x > 29 || y > 29)
            return dark;
        return red;
    });

    p.cloud = MakePicture(dd, 100, 60);
    const uint32_t white = RawColor(p.cloud, RGB(255, 255, 255));
    const uint32_t grey = RawColor(p.cloud, RGB(200, 210, 230));
    Paint(p.cloud, [&](int x, int y) -> uint32_t {
        const double dx = (x - 49.5) / 50.0, dy = (y - 29.5) / 30.0;
        const double r = dx * dx + dy * dy;
        return r > 1.0 ? key : r > 0.8 ? grey : white;
    });

    p.target = MakePicture(dd, 64, 64);
    const uint32_t black = RawColor(p.target, RGB(0, 0, 0));
    const uint32_t yellow = RawColor(p.target, RGB(250, 220, 40));
    Paint(p.target, [&](int x, int y) -> uint32_t {
        const int ring = static_cast<int>(std::hypot(x - 31.5, y - 31.5)) / 4;
        if (ring >= 8)
            return key;
        return ring % 2 ? black : yellow;
    });
    return p;
}

void Blit(IDirectDrawSurface7* back, IDirectDrawSurface7* picture, int x, int y, int w, int h) {
    RECT dest{x, y, x + w, y + h};
    Check("Blt", back->Blt(&dest, picture, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr));
}

void DrawFrame(IDirectDrawSurface7* back, const Pictures& p, int width, int height, int frame) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = RawColor(back, 0xF0BD3F); // the game's sky blue
    Check("Blt (fill)", back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx));

    // A drifting cloud and two parked partly off the left and top edges, scaled to 200x85.
    Blit(back, p.cloud, (frame * 2) % (width + 200) - 200, height / 5, 200, 85);
    Blit(back, p.cloud, -80, height / 2, 200, 85);
    Blit(back, p.cloud, width / 2, -40, 200, 85);
    // A 6x6 field of keyed blocks, pixel for pixel.
    const int fieldX = width / 2 - 96, fieldY = height / 2 - 96;
    for (int column = 0; column < 6; ++column)
        for (int row = 0; row < 6; ++row)
            if ((column + row) % 3 != 2)
                Blit(back, p.block, fieldX + 32 * column, fieldY + 32 * row, 32, 32);
    // Scaled pictures: blocks shrunk to 16x16 along the field, rings enlarged to 3x.
    for (int i = 0; i < 12; ++i)
        Blit(back, p.block, fieldX + 16 * i, fieldY - 16, 16, 16);
    Blit(back, p.target, fieldX + 200, fieldY + 10, 192, 192);
    // Pictures reaching past the right and bottom edges and a corner.
    Blit(back, p.target, width - 40, height / 3, 128, 128);
    Blit(back, p.block, width / 3, height - 20, 64, 64);
    Blit(back, p.target, width - 30, height - 30, 64, 64);
}

HFONT MakeFont(const char* face, int height) {
    return CreateFontA(-height, 0, 0, 0, 400, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

// A line in each of the game's fonts, the title one reaching past the right edge.
void DrawText(IDirectDrawSurface7* back, HFONT interfaceFont, HFONT titleFont, int width,
              int height, int frame) {
    HDC dc = nullptr;
    Check("GetDC", back->GetDC(&dc));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    SelectObject(dc, interfaceFont);
    char line[64];
    const int length = std::snprintf(line, sizeof line, "Score: %d   Frame: %d", 1250, frame);
    TextOutA(dc, 10, height - 40, line, length);
    SetTextColor(dc, RGB(250, 220, 40));
    SelectObject(dc, titleFont);
    const char title[] = "Quibbo's Puzzle";
    TextOutA(dc, width - 330, 10, title, static_cast<int>(sizeof title - 1));
    Check("ReleaseDC", back->ReleaseDC(dc));
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: testframe [--mode WxHxBITS] [--seconds S] [--save file.bmp]\n");
        return 2;
    }

    HWND window = compat::seams::MakeTestWindow();
    IDirectDraw7* dd = nullptr;
    Check("DirectDrawCreateEx",
          DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7, nullptr));
    Check("SetCooperativeLevel",
          dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWREBOOT));
    Check("SetDisplayMode", dd->SetDisplayMode(options.width, options.height, options.bits, 0, 0));

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    IDirectDrawSurface7* primary = nullptr;
    Check("CreateSurface (primary)", dd->CreateSurface(&desc, &primary, nullptr));
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface7* back = nullptr;
    Check("GetAttachedSurface", primary->GetAttachedSurface(&caps, &back));
    IDirectDrawClipper* clipper = nullptr;
    Check("CreateClipper", dd->CreateClipper(0, &clipper, nullptr));
    const RECT screen{0, 0, options.width, options.height};
    struct {
        RGNDATAHEADER header;
        RECT rect;
    } region{{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1, sizeof(RECT), screen}, screen};
    Check("SetClipList", clipper->SetClipList(reinterpret_cast<RGNDATA*>(&region), 0));
    Check("SetClipper", back->SetClipper(clipper));

    const Pictures pictures = MakePictures(dd);
    // The game's fonts: the interface font is a 27th of the screen width high.
    HFONT interfaceFont = MakeFont("verdana", options.width / 27);
    HFONT titleFont = MakeFont("mistral", 64);
    const bool once = !options.save.empty() && options.seconds <= 0;
    const DWORD start = timeGetTime();
    int frames = 0;
    bool running = true;
    while (running) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (event.type == SDL_QUIT ||
                (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
                running = false;
        DrawFrame(back, pictures, options.width, options.height, frames);
        DrawText(back, interfaceFont, titleFont, options.width, options.height, frames);
        const HRESULT flipped = primary->Flip(nullptr, DDFLIP_WAIT);
        if (flipped == DDERR_SURFACELOST)
            dd->RestoreAllSurfaces();
        else
            Check("Flip", flipped);
        ++frames;
        const double elapsed = (timeGetTime() - start) / 1000.0;
        if (once || (options.seconds > 0 && elapsed >= options.seconds))
            running = false;
    }
    const double elapsed = (timeGetTime() - start) / 1000.0;
    std::printf("testframe: %d frames in %.2f s: %.1f frames per second\n", frames, elapsed,
                elapsed > 0 ? frames / elapsed : 0.0);
    if (!options.save.empty()) {
        if (!compat::seams::SavePresentedBmp(options.save.c_str())) {
            std::fprintf(stderr, "testframe: cannot write %s\n", options.save.c_str());
            return 1;
        }
        std::printf("testframe: saved the last frame as %s\n", options.save.c_str());
    }

    for (IDirectDrawSurface7* picture : {pictures.block, pictures.cloud, pictures.target})
        picture->Release();
    DeleteObject(interfaceFont);
    DeleteObject(titleFont);
    clipper->Release();
    back->Release();
    primary->Release();
    dd->RestoreDisplayMode();
    dd->Release();
    compat::seams::DestroyTestWindow(window);
    return 0;
}
