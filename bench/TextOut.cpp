// GDI costs of a frame and of a load: six lines of interface text per frame (the same texts
// again, and new texts every time), the title line, and loading a full-screen picture.
#include "compat/GdiSeams.h"

#include <windows.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace seams = compat::seams;

struct Screen {
    HDC dc = seams::CreatePixelContext(640, 480, 16);
    HFONT font;
    Screen(const char* face, int height) {
        font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           face);
        seams::FillRawPixels(dc, 0x3DFE);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 0));
        SelectObject(dc, font);
    }
    ~Screen() {
        seams::DeletePixelContext(dc);
        DeleteObject(font);
    }
};

void SixLinesSameTexts(benchmark::State& state) {
    Screen screen("verdana", 23);
    const char* lines[] = {"Score: 1250", "Time: 57", "Lives: 3",
                           "Level: 2",    "Next",     "Press Escape to quit"};
    for (auto _ : state)
        for (int i = 0; i < 6; ++i)
            TextOutA(screen.dc, 20, 20 + 40 * i, lines[i], static_cast<int>(std::strlen(lines[i])));
}
BENCHMARK(SixLinesSameTexts)->Unit(benchmark::kMicrosecond);

void SixLinesNewTexts(benchmark::State& state) {
    Screen screen("verdana", 23);
    int frame = 0;
    for (auto _ : state) {
        ++frame;
        for (int i = 0; i < 6; ++i) {
            char line[64];
            const int length = std::snprintf(line, sizeof line, "Score: %d", frame * 6 + i);
            TextOutA(screen.dc, 20, 20 + 40 * i, line, length);
        }
    }
}
BENCHMARK(SixLinesNewTexts)->Unit(benchmark::kMicrosecond);

void TitleLine(benchmark::State& state) {
    Screen screen("mistral", 64);
    for (auto _ : state)
        TextOutA(screen.dc, 20, 20, "Quibbo's Puzzle", 15);
}
BENCHMARK(TitleLine)->Unit(benchmark::kMicrosecond);

void LoadFullScreenPicture(benchmark::State& state) {
    const int width = 640, height = 480;
    std::vector<uint8_t> file(54 + width * height * 3, 0x5A);
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(6, 0);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    put32(26, 1 | 24 << 16);
    for (size_t at = 30; at < 54; at += 4)
        put32(at, 0);
    const std::string path =
        (std::filesystem::temp_directory_path() / "quibbo-bench-picture.bmp").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<long>(file.size()));
    for (auto _ : state) {
        HANDLE bitmap = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        benchmark::DoNotOptimize(bitmap);
        DeleteObject(bitmap);
    }
    std::filesystem::remove(path);
}
BENCHMARK(LoadFullScreenPicture)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
