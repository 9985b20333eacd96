// The blitter against memcpy and against SDL's own blits, on the pictures of a play frame, in
// the game's 16-bit mode. Run: build/default/bench/bench_Blitter (headless: dummy video).
//
// Targets: a keyed unscaled blit within 2x of memcpy per pixel; a scaled keyed blit at least
// 5x faster than SDL_BlitScaled; a whole 640x480 play frame under 1 ms on one core.
#include "FrameCopy.h"

#include "compat/GfxSeams.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <ddraw.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr uint32_t kKey = 0xE32C; // the game's key colour 0x6567E4 in RGB565

struct Picture {
    IDirectDrawSurface7* surface = nullptr;
    SDL_Surface* sdl = nullptr;
    int width = 0;
    int height = 0;
};

// A picture with a quarter of its pixels the key, scattered, and the rest random colours.
Picture MakePicture(IDirectDraw7* dd, int width, int height, uint32_t seed) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    if (dd->CreateSurface(&desc, &picture.surface, nullptr) != DD_OK)
        std::abort();
    DDCOLORKEY key{kKey, kKey};
    picture.surface->SetColorKey(DDCKEY_SRCBLT, &key);
    picture.sdl = SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
    SDL_SetColorKey(picture.sdl, SDL_TRUE, kKey);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(picture.sdl->pixels) +
                                                y * picture.sdl->pitch);
        for (int x = 0; x < width; ++x) {
            uint32_t raw = random() & 0xFFFF;
            if (raw == kKey || random() % 4 == 0)
                raw = kKey;
            compat::seams::SetPixelOf(picture.surface, x, y, raw);
            row[x] = static_cast<uint16_t>(raw);
        }
    }
    return picture;
}

// The display in one mode with the pictures of a play frame, for our blitter and for SDL's.
struct Scene {
    int width = 0;
    int height = 0;
    HWND window = nullptr;
    IDirectDraw7* dd = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* back = nullptr;
    IDirectDrawClipper* clipper = nullptr;
    SDL_Surface* sdlScreen = nullptr;
    Picture backdrop;     // 640x480, stretched over the screen
    Picture playfield;    // 416x416
    Picture block;        // 32x32, drawn 13x13 times
    Picture tile;         // 32x32 border picture, drawn scaled to 16x16 104 times
    Picture cloud;        // 100x60, drawn scaled to 200x85 three times
    HFONT font = nullptr; // the interface font: "verdana", 23 pixels at 640x480

    Scene(int w, int h) : width(w), height(h) {
        window = compat::seams::MakeTestWindow("bench");
        if (DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7, nullptr) !=
                DD_OK ||
            dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE) != DD_OK ||
            dd->SetDisplayMode(w, h, 16, 0, 0) != DD_OK)
            std::abort();
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        DDSCAPS2 caps{};
        caps.dwCaps = DDSCAPS_BACKBUFFER;
        if (dd->CreateSurface(&desc, &primary, nullptr) != DD_OK ||
            primary->GetAttachedSurface(&caps, &back) != DD_OK ||
            dd->CreateClipper(0, &clipper, nullptr) != DD_OK)
            std::abort();
        struct {
            RGNDATAHEADER header;
            RECT rect;
        } region{{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1, sizeof(RECT), {0, 0, w, h}},
                 {0, 0, w, h}};
        clipper->SetClipList(reinterpret_cast<RGNDATA*>(&region), 0);
        back->SetClipper(clipper);
        sdlScreen = SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
        backdrop = MakePicture(dd, 640, 480, 1);
        playfield = MakePicture(dd, 416, 416, 2);
        block = MakePicture(dd, 32, 32, 3);
        tile = MakePicture(dd, 32, 32, 4);
        cloud = MakePicture(dd, 100, 60, 5);
        font = CreateFontA(-(w / 27), 0, 0, 0, 400, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, "verdana");
    }

    ~Scene() {
        for (Picture* p : {&backdrop, &playfield, &block, &tile, &cloud}) {
            p->surface->Release();
            SDL_FreeSurface(p->sdl);
        }
        SDL_FreeSurface(sdlScreen);
        DeleteObject(font);
        clipper->Release();
        back->Release();
        primary->Release();
        dd->Release();
        compat::seams::DestroyTestWindow(window);
    }

    void Blit(const Picture& picture, int x, int y, int w, int h) {
        RECT dest{x, y, x + w, y + h};
        back->Blt(&dest, picture.surface, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
    }

    void SdlBlit(const Picture& picture, int x, int y, int w, int h) {
        SDL_Rect dest{x, y, w, h};
        if (w == picture.width && h == picture.height)
            SDL_BlitSurface(picture.sdl, nullptr, sdlScreen, &dest);
        else
            SDL_BlitScaled(picture.sdl, nullptr, sdlScreen, &dest);
    }

    void Fill(uint32_t raw) {
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = raw;
        back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }

    // Where the parts of a play frame go: the playfield in the middle, its 13x13 blocks, the
    // four 16-pixel border strips around it, three clouds partly off the left and top.
    int FieldX() const { return (width - 416) / 2; }
    int FieldY() const { return (height - 416) / 2; }

    template <typename Draw> void Blocks(Draw draw) {
        for (int column = 0; column < 13; ++column)
            for (int row = 0; row < 13; ++row)
                draw(block, FieldX() + 32 * column, FieldY() + 32 * row, 32, 32);
    }
    template <typename Draw> void Tiles(Draw draw) {
        for (int i = 0; i < 26; ++i) {
            draw(tile, FieldX() - 16, FieldY() + 16 * i, 16, 16);
            draw(tile, FieldX() + 416, FieldY() + 16 * i, 16, 16);
            draw(tile, FieldX() + 16 * i, FieldY() - 16, 16, 16);
            draw(tile, FieldX() + 16 * i, FieldY() + 416, 16, 16);
        }
    }
    template <typename Draw> void Clouds(Draw draw) {
        draw(cloud, -60, 20, 200, 85);
        draw(cloud, width / 3, -30, 200, 85);
        draw(cloud, width - 150, height / 2, 200, 85);
    }
    template <typename Draw> void PlayFrame(Draw draw) {
        draw(backdrop, 0, 0, width, height);
        Clouds(draw);
        draw(playfield, FieldX(), FieldY(), 416, 416);
        Blocks(draw);
        Tiles(draw);
    }
    // The six lines of a play frame's text, each with its own device context as the game
    // writes them; the numbers change every frame.
    void Text(int frame) {
        for (int line = 0; line < 6; ++line) {
            char text[64];
            const int length = std::snprintf(text, sizeof text, "Score: %d", frame * 6 + line);
            HDC dc = nullptr;
            if (back->GetDC(&dc) != DD_OK)
                continue;
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(255, 255, 0));
            SelectObject(dc, font);
            TextOutA(dc, 10, 10 + 30 * line, text, length);
            back->ReleaseDC(dc);
        }
    }
};

std::unique_ptr<Scene>& CurrentScene() {
    static std::unique_ptr<Scene> scene;
    return scene;
}

Scene& SceneAt(int width, int height) {
    auto& scene = CurrentScene();
    if (!scene || scene->width != width || scene->height != height) {
        scene.reset();
        scene = std::make_unique<Scene>(width, height);
    }
    return *scene;
}

// Pixels drawn per second (items_per_second): compare per pixel with memcpy of a frame.
void CountPixels(benchmark::State& state, int64_t pixels) {
    state.SetItemsProcessed(state.iterations() * pixels);
}

// Which blitter a workload runs on: ours, through IDirectDrawSurface7::Blt, or SDL2's own
// SDL_BlitSurface / SDL_BlitScaled / SDL_FillRect on the same pictures.
enum class Blitter { Ours, Sdl };

template <Blitter B> auto DrawWith(Scene& s) {
    return [&s](const Picture& p, int x, int y, int w, int h) {
        if constexpr (B == Blitter::Ours)
            s.Blit(p, x, y, w, h);
        else
            s.SdlBlit(p, x, y, w, h);
    };
}

template <Blitter B> void FillWith(Scene& s, uint32_t raw) {
    if constexpr (B == Blitter::Ours)
        s.Fill(raw);
    else
        SDL_FillRect(s.sdlScreen, nullptr, raw);
}

Scene& SceneOf(const benchmark::State& state) {
    return SceneAt(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

// --- Reference: memory bandwidth ---

void MemcpyFrame(benchmark::State& state) {
    CopyFrames(state);
    CountPixels(state, state.range(0) * state.range(1));
}
BENCHMARK(MemcpyFrame)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);

// --- The same workloads on both blitters, side by side ---

template <Blitter B> void ColorFill(benchmark::State& state) {
    Scene& s = SceneOf(state);
    for (auto _ : state)
        FillWith<B>(s, 0x5F1E);
    CountPixels(state, state.range(0) * state.range(1));
}

template <Blitter B> void KeyedPicture416(benchmark::State& state) {
    Scene& s = SceneAt(640, 480);
    for (auto _ : state)
        DrawWith<B>(s)(s.playfield, 112, 32, 416, 416);
    CountPixels(state, 416 * 416);
}

template <Blitter B> void KeyedBlocks169(benchmark::State& state) {
    Scene& s = SceneAt(640, 480);
    for (auto _ : state)
        s.Blocks(DrawWith<B>(s));
    CountPixels(state, 169 * 32 * 32);
}

template <Blitter B> void TilesScaled104(benchmark::State& state) {
    Scene& s = SceneAt(640, 480);
    for (auto _ : state)
        s.Tiles(DrawWith<B>(s));
    CountPixels(state, 104 * 16 * 16);
}

template <Blitter B> void CloudsScaled3(benchmark::State& state) {
    Scene& s = SceneAt(640, 480);
    for (auto _ : state)
        s.Clouds(DrawWith<B>(s));
    CountPixels(state, 3 * 200 * 85);
}

template <Blitter B> void Stretch640To1600(benchmark::State& state) {
    Scene& s = SceneAt(1600, 1200);
    for (auto _ : state)
        DrawWith<B>(s)(s.backdrop, 0, 0, 1600, 1200);
    CountPixels(state, 1600 * 1200);
}

// A whole play frame; ours with its six lines of text (SDL draws no text).
template <Blitter B> void PlayFrame(benchmark::State& state) {
    Scene& s = SceneOf(state);
    int frame = 0;
    for (auto _ : state) {
        FillWith<B>(s, 0x5F1E);
        s.PlayFrame(DrawWith<B>(s));
        if constexpr (B == Blitter::Ours)
            s.Text(++frame);
    }
    CountPixels(state, state.range(0) * state.range(1));
}

#define BLITTER_PAIR(workload)                                                                     \
    BENCHMARK_TEMPLATE(workload, Blitter::Ours)->Unit(benchmark::kMicrosecond);                    \
    BENCHMARK_TEMPLATE(workload, Blitter::Sdl)->Unit(benchmark::kMicrosecond)
#define BLITTER_PAIR_AT_TWO_SIZES(workload)                                                        \
    BENCHMARK_TEMPLATE(workload, Blitter::Ours)                                                    \
        ->Args({640, 480})                                                                         \
        ->Args({1600, 1200})                                                                       \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_TEMPLATE(workload, Blitter::Sdl)                                                     \
        ->Args({640, 480})                                                                         \
        ->Args({1600, 1200})                                                                       \
        ->Unit(benchmark::kMicrosecond)

BLITTER_PAIR_AT_TWO_SIZES(ColorFill);
BLITTER_PAIR(KeyedPicture416);
BLITTER_PAIR(KeyedBlocks169);
BLITTER_PAIR(TilesScaled104);
BLITTER_PAIR(CloudsScaled3);
BLITTER_PAIR(Stretch640To1600);
BLITTER_PAIR_AT_TWO_SIZES(PlayFrame);

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    CurrentScene().reset();
    benchmark::Shutdown();
    return 0;
}
