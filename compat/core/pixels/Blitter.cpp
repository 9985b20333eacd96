// Built with -O3 (compat/CMakeLists.txt): GCC vectorises the keyed row loops only from there.
#include "pixels/Blitter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

// QUIBBO_MULTIVERSION (compat/CMakeLists.txt) says whether the compiler and the loader build
// and pick a function's AVX2 clone at load time; where they cannot (WebAssembly, a C library
// without ifuncs) every loop is built once, for the target's own vector width.
#if QUIBBO_MULTIVERSION
#define QUIBBO_CLONED __attribute__((target_clones("avx2", "default")))
#else
#define QUIBBO_CLONED
#endif

#if QUIBBO_MULTIVERSION && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

namespace compat {

namespace {

// d = s unless s is the key: no branch, so the loop becomes vector compares and blends. Built
// for AVX2 as well (chosen at load time where the processor has it): twice the pixels per step.
template <typename Pixel>
inline void KeyedRowLoop(Pixel* __restrict d, const Pixel* __restrict s, int n, Pixel key) {
    for (int i = 0; i < n; ++i) {
        const Pixel v = s[i];
        d[i] = v == key ? d[i] : v;
    }
}

QUIBBO_CLONED void KeyedRow16(uint16_t* __restrict d, const uint16_t* __restrict s, int n,
                              uint16_t key) {
    KeyedRowLoop(d, s, n, key);
}

QUIBBO_CLONED void KeyedRow32(uint32_t* __restrict d, const uint32_t* __restrict s, int n,
                              uint32_t key) {
    KeyedRowLoop(d, s, n, key);
}

// A whole rectangle of keyed rows in one call: small pictures (blocks, border pieces) are
// many short rows, and a call per row would cost them more than the pixels do.
template <typename Pixel>
inline void KeyedRectLoop(uint8_t* d, ptrdiff_t dPitch, const uint8_t* s, ptrdiff_t sPitch, int n,
                          int rows, Pixel key) {
    for (int y = 0; y < rows; ++y, d += dPitch, s += sPitch)
        KeyedRowLoop(reinterpret_cast<Pixel*>(d), reinterpret_cast<const Pixel*>(s), n, key);
}

QUIBBO_CLONED void KeyedRect16(uint8_t* d, ptrdiff_t dPitch, const uint8_t* s, ptrdiff_t sPitch,
                               int n, int rows, uint16_t key) {
    KeyedRectLoop<uint16_t>(d, dPitch, s, sPitch, n, rows, key);
}

QUIBBO_CLONED void KeyedRect32(uint8_t* d, ptrdiff_t dPitch, const uint8_t* s, ptrdiff_t sPitch,
                               int n, int rows, uint32_t key) {
    KeyedRectLoop<uint32_t>(d, dPitch, s, sPitch, n, rows, key);
}

inline void KeyedRect(uint8_t* d, ptrdiff_t dPitch, const uint8_t* s, ptrdiff_t sPitch, int n,
                      int rows, uint16_t key) {
    KeyedRect16(d, dPitch, s, sPitch, n, rows, key);
}
inline void KeyedRect(uint8_t* d, ptrdiff_t dPitch, const uint8_t* s, ptrdiff_t sPitch, int n,
                      int rows, uint32_t key) {
    KeyedRect32(d, dPitch, s, sPitch, n, rows, key);
}

inline void KeyedRow(uint16_t* d, const uint16_t* s, int n, uint16_t key) {
    KeyedRow16(d, s, n, key);
}
inline void KeyedRow(uint32_t* d, const uint32_t* s, int n, uint32_t key) {
    KeyedRow32(d, s, n, key);
}

// (over * c + under * (255 - c) + 127) / 255. The sum stays below 65536, so 16-bit lanes hold
// it, and for such sums x / 255 is (x + 1 + x / 256) / 256: shifts instead of a division.
inline uint16_t MixChannel(uint16_t under, uint16_t over, uint16_t c) {
    const auto x = static_cast<uint16_t>(over * c + under * (255 - c) + 127);
    return static_cast<uint16_t>((x + 1 + (x >> 8)) >> 8);
}

// Text over a picture: a mix per pixel, without a branch, so the loop becomes vector code (the
// title screen's large moving text is mixed afresh every frame).
QUIBBO_CLONED void BlendRow565(uint16_t* __restrict row, const uint8_t* __restrict coverage, int n,
                               uint16_t red, uint16_t green, uint16_t blue) {
    for (int i = 0; i < n; ++i) {
        const uint16_t c = coverage[i], raw = row[i];
        const uint16_t r5 = raw >> 11, g6 = (raw >> 5) & 0x3F, b5 = raw & 0x1F;
        const uint16_t r = MixChannel(static_cast<uint16_t>((r5 << 3) | (r5 >> 2)), red, c);
        const uint16_t g = MixChannel(static_cast<uint16_t>((g6 << 2) | (g6 >> 4)), green, c);
        const uint16_t b = MixChannel(static_cast<uint16_t>((b5 << 3) | (b5 >> 2)), blue, c);
        const auto mixed = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        row[i] = c ? mixed : raw;
    }
}

QUIBBO_CLONED void BlendRow8888(uint32_t* __restrict row, const uint8_t* __restrict coverage, int n,
                                uint16_t red, uint16_t green, uint16_t blue) {
    for (int i = 0; i < n; ++i) {
        const uint16_t c = coverage[i];
        const uint32_t raw = row[i];
        const uint16_t r = MixChannel((raw >> 16) & 0xFF, red, c);
        const uint16_t g = MixChannel((raw >> 8) & 0xFF, green, c);
        const uint16_t b = MixChannel(raw & 0xFF, blue, c);
        const uint32_t mixed = uint32_t{r} << 16 | uint32_t{g} << 8 | b;
        row[i] = c ? mixed : raw;
    }
}

template <typename Pixel> void PlainRow(Pixel* __restrict d, const Pixel* __restrict s, int n) {
    std::memcpy(d, s, static_cast<size_t>(n) * sizeof(Pixel));
}

template <typename Pixel> Pixel* PixelAt(PixelSurface& surface, int64_t x, int64_t y) {
    return reinterpret_cast<Pixel*>(surface.Row(static_cast<int>(y))) + x;
}

template <typename Pixel> const Pixel* PixelAt(const PixelSurface& surface, int64_t x, int64_t y) {
    return reinterpret_cast<const Pixel*>(surface.Row(static_cast<int>(y))) + x;
}

template <typename Pixel> void DrawRow(Pixel* d, const Pixel* s, int n, bool keyed, Pixel key) {
    if (keyed)
        KeyedRow(d, s, n, key);
    else
        PlainRow(d, s, n);
}

// Per-thread scratch for the index table and the gathered source row, kept between blits so
// that a frame of many small blits allocates nothing.
struct Scratch {
    std::vector<int32_t> columns;
    std::vector<int32_t> rows;
    std::vector<uint32_t> gathered;
};

Scratch& ThreadScratch() {
    thread_local Scratch scratch;
    return scratch;
}

template <typename Pixel>
void Copy(PixelSurface& target, const BlitRect& to, const BlitRect& visible,
          const PixelSurface& source, const BlitRect& from, bool keyed, Pixel key) {
    const int n = static_cast<int>(visible.Width());
    const int rowsVisible = static_cast<int>(visible.Height());
    const int64_t firstColumn = visible.left - to.left;
    const int64_t firstRow = visible.top - to.top;

    if (to.Width() == from.Width() && to.Height() == from.Height()) {
        if (keyed) {
            KeyedRect(reinterpret_cast<uint8_t*>(PixelAt<Pixel>(target, visible.left, visible.top)),
                      target.pitch,
                      reinterpret_cast<const uint8_t*>(
                          PixelAt<Pixel>(source, from.left + firstColumn, from.top + firstRow)),
                      source.pitch, n, rowsVisible, key);
            return;
        }
        for (int i = 0; i < rowsVisible; ++i) {
            const Pixel* s =
                PixelAt<Pixel>(source, from.left + firstColumn, from.top + firstRow + i);
            DrawRow(PixelAt<Pixel>(target, visible.left, visible.top + i), s, n, keyed, key);
        }
        return;
    }

    Scratch& scratch = ThreadScratch();
    scratch.rows.resize(static_cast<size_t>(rowsVisible));
    ScaleIndices(firstRow, rowsVisible, to.Height(), from.Height(), from.top, scratch.rows.data());

    const bool sameWidth = to.Width() == from.Width();
    Pixel* gathered = nullptr;
    if (!sameWidth) {
        scratch.columns.resize(static_cast<size_t>(n));
        ScaleIndices(firstColumn, n, to.Width(), from.Width(), from.left, scratch.columns.data());
        // Room for n pixels of either depth.
        scratch.gathered.resize((static_cast<size_t>(n) * sizeof(Pixel) + 3) / 4);
        gathered = reinterpret_cast<Pixel*>(scratch.gathered.data());
    }
    const int32_t* columns = scratch.columns.data();

    int32_t gatheredRow = -1;
    for (int i = 0; i < rowsVisible; ++i) {
        const int32_t sy = scratch.rows[static_cast<size_t>(i)];
        const Pixel* s;
        if (sameWidth) {
            s = PixelAt<Pixel>(source, from.left + firstColumn, sy);
        } else {
            // An enlarged picture repeats each source row over several destination rows:
            // gather it once and reuse it for the whole run.
            if (sy != gatheredRow) {
                const Pixel* sourceRow = PixelAt<Pixel>(source, 0, sy);
                for (int x = 0; x < n; ++x)
                    gathered[x] = sourceRow[columns[x]];
                gatheredRow = sy;
            }
            s = gathered;
        }
        DrawRow(PixelAt<Pixel>(target, visible.left, visible.top + i), s, n, keyed, key);
    }
}

// Fills the first row with stores, then copies it down: the C library's copy moves whole
// rows faster than a store loop fills them.
template <typename Pixel> void Fill(PixelSurface& target, const BlitRect& area, Pixel raw) {
    const size_t n = static_cast<size_t>(area.Width());
    Pixel* first = PixelAt<Pixel>(target, area.left, area.top);
    if (area.left == 0 && area.right == target.width &&
        static_cast<size_t>(target.pitch) == n * sizeof(Pixel)) {
        // Whole rows end to end: one run of stores, without reading a row back per row.
        std::fill_n(first, n * static_cast<size_t>(area.Height()), raw);
        return;
    }
    std::fill_n(first, n, raw);
    for (int64_t y = area.top + 1; y < area.bottom; ++y)
        std::memcpy(PixelAt<Pixel>(target, area.left, y), first, n * sizeof(Pixel));
}

// Pixel format conversions for the screen: RGB565 widened by repeating the top bits, like
// ColorFromRaw; XRGB8888 narrowed by truncation, like RawFromColor.
struct Same {
    template <typename Pixel> Pixel operator()(Pixel p) const { return p; }
};
struct WidenRgb565 {
    uint32_t alpha;
    uint32_t operator()(uint16_t p) const {
        const uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
        return alpha | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
    }
};
struct NarrowXrgb8888 {
    uint16_t operator()(uint32_t p) const {
        return static_cast<uint16_t>(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x1F));
    }
};

// A row of RGB565 pixels widened to XRGB8888 as WidenRgb565 does, written so that it vectorises
// (with AVX2 where the processor has it): the usual conversion, the 16-bit game on a 32-bit
// screen.
QUIBBO_CLONED void WidenRow(uint32_t* __restrict out, const uint16_t* __restrict in, int n,
                            uint32_t alpha) {
    for (int i = 0; i < n; ++i) {
        const uint32_t p = in[i];
        const uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
        out[i] = alpha | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
    }
}

template <typename From, typename To, typename Convert>
void ConvertRow(To* __restrict out, const From* __restrict in, int n, Convert convert) {
    for (int i = 0; i < n; ++i)
        out[i] = convert(in[i]);
}

inline void ConvertRow(uint32_t* out, const uint16_t* in, int n, WidenRgb565 convert) {
    WidenRow(out, in, n, convert.alpha);
}

template <typename Pixel>
void GatherRow(Pixel* __restrict out, const Pixel* __restrict line,
               const int32_t* __restrict columns, int n) {
    for (int k = 0; k < n; ++k)
        out[k] = line[columns[k]];
}

#if QUIBBO_MULTIVERSION && (defined(__x86_64__) || defined(__i386__))
// Eight screen pixels a step with the processor's gather.
__attribute__((target("avx2"))) void GatherRowAvx2(uint32_t* out, const uint32_t* line,
                                                   const int32_t* columns, int n) {
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + k));
        const __m256i v = _mm256_i32gather_epi32(reinterpret_cast<const int*>(line), index, 4);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k), v);
    }
    GatherRow(out + k, line, columns + k, n - k);
}

void GatherRow(uint32_t* out, const uint32_t* line, const int32_t* columns, int n) {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        GatherRowAvx2(out, line, columns, n);
    else
        GatherRow<uint32_t>(out, line, columns, n);
}
#endif

// Shows the frame on the screen rows by the column and row indices, only the screen pixels in
// `part` (inside `to`). Each frame row that shows is converted once, only the columns the part
// samples, straight through (the loop vectorises), then spread over its screen row by the
// column indices, reading a line that sits in the cache; screen rows that repeat a frame row
// (an enlargement) are copied from the one above.
template <typename From, typename To, typename Convert>
void Show(const PixelSurface& frame, uint8_t* screen, int pitch, const BlitRect& to,
          const BlitRect& part, Convert convert) {
    const int width = static_cast<int>(part.Width()), height = static_cast<int>(part.Height());
    Scratch& scratch = ThreadScratch();
    scratch.columns.resize(static_cast<size_t>(width));
    scratch.rows.resize(static_cast<size_t>(height));
    ScaleIndices(part.left - to.left, width, to.Width(), frame.width, 0, scratch.columns.data());
    ScaleIndices(part.top - to.top, height, to.Height(), frame.height, 0, scratch.rows.data());
    // The frame columns the part samples, counted from the first of them.
    const int32_t firstColumn = scratch.columns.front();
    const int sampled = scratch.columns.back() - firstColumn + 1;
    for (int32_t& column : scratch.columns)
        column -= firstColumn;
    scratch.gathered.resize(static_cast<size_t>(sampled));
    To* line = reinterpret_cast<To*>(scratch.gathered.data());
    const To* previous = nullptr;
    int32_t previousRow = -1;
    for (int y = 0; y < height; ++y) {
        To* out = reinterpret_cast<To*>(screen + (part.top + y) * static_cast<int64_t>(pitch)) +
                  part.left;
        const int32_t sy = scratch.rows[static_cast<size_t>(y)];
        if (sy == previousRow) {
            std::memcpy(out, previous, static_cast<size_t>(width) * sizeof(To));
        } else {
            const From* in = reinterpret_cast<const From*>(frame.Row(sy)) + firstColumn;
            ConvertRow(line, in, sampled, convert);
            GatherRow(out, line, scratch.columns.data(), width);
        }
        previous = out;
        previousRow = sy;
    }
}

} // namespace

BlitRect Intersect(const BlitRect& a, const BlitRect& b) {
    BlitRect r;
    r.left = std::max(a.left, b.left);
    r.top = std::max(a.top, b.top);
    r.right = std::min(a.right, b.right);
    r.bottom = std::min(a.bottom, b.bottom);
    if (r.Empty())
        r = BlitRect{};
    return r;
}

BlitRect Enclosing(const BlitRect& a, const BlitRect& b) {
    return BlitRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
}

BlitRect Bounds(const PixelSurface& surface) {
    return BlitRect{0, 0, surface.width, surface.height};
}

void ScaleIndices(int64_t firstK, int count, int64_t destLength, int64_t sourceLength,
                  int64_t sourceStart, int32_t* indices) {
    if (count <= 0)
        return;
    // index(k) = ((2k + 1) * sourceLength) / (2 * destLength), stepped by 2 * sourceLength.
    const int64_t denominator = 2 * destLength;
    const int64_t numerator = (2 * firstK + 1) * sourceLength;
    int64_t quotient = numerator / denominator;
    int64_t remainder = numerator % denominator;
    const int64_t step = 2 * sourceLength;
    const int64_t stepQuotient = step / denominator;
    const int64_t stepRemainder = step % denominator;
    for (int i = 0; i < count; ++i) {
        indices[i] = static_cast<int32_t>(sourceStart + quotient);
        quotient += stepQuotient;
        remainder += stepRemainder;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++quotient;
        }
    }
}

void FillPixels(PixelSurface& target, const BlitRect& area, uint32_t raw) {
    if (area.Empty())
        return;
    if (target.bitsPerPixel == 16)
        Fill<uint16_t>(target, area, static_cast<uint16_t>(raw));
    else
        Fill<uint32_t>(target, area, raw);
}

void BlendCoverageRow16(uint16_t* row, const uint8_t* coverage, int count, uint32_t color) {
    BlendRow565(row, coverage, count, color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void BlendCoverageRow32(uint32_t* row, const uint8_t* coverage, int count, uint32_t color) {
    BlendRow8888(row, coverage, count, color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void ZeroPixels(PixelSurface& target) {
    uint8_t* const start = target.pixels.data();
    const size_t bytes = target.pixels.size();
#if defined(__linux__)
    // The system's own page size: pages given back are whole ones, and none beyond the pixels.
    static const uintptr_t kPage = static_cast<uintptr_t>(std::max(4096L, sysconf(_SC_PAGESIZE)));
    const uintptr_t first = (reinterpret_cast<uintptr_t>(start) + kPage - 1) & ~(kPage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(kPage - 1);
    if (end >= first + 16 * kPage) {
        uint8_t* const pages = start + (first - reinterpret_cast<uintptr_t>(start));
        uint8_t* const after = start + (end - reinterpret_cast<uintptr_t>(start));
        if (madvise(pages, end - first, MADV_DONTNEED) == 0) {
            std::memset(start, 0, static_cast<size_t>(pages - start));
            std::memset(after, 0, static_cast<size_t>(start + bytes - after));
            return;
        }
    }
#endif
    std::memset(start, 0, bytes);
}

void CopyPixels(PixelSurface& target, const BlitRect& to, const BlitRect& visible,
                const PixelSurface& source, const BlitRect& from, const uint32_t* key) {
    if (visible.Empty() || from.Empty())
        return;
    if (target.bitsPerPixel == 16) {
        // A key beyond the format's values matches no pixel: a plain copy.
        const bool keyed = key && *key <= 0xFFFF;
        Copy<uint16_t>(target, to, visible, source, from, keyed,
                       static_cast<uint16_t>(keyed ? *key : 0));
    } else {
        Copy<uint32_t>(target, to, visible, source, from, key != nullptr, key ? *key : 0);
    }
}

void ShowOnScreen(const PixelSurface& frame, uint8_t* screen, int pitch, int screenWidth,
                  int screenHeight, int screenBits, uint32_t alpha, const BlitRect& to, bool bars) {
    // The bars: black above and below the picture, and beside it on its rows.
    const int bytes = screenBits / 8;
    for (int y = 0; bars && y < screenHeight; ++y) {
        uint8_t* row = screen + static_cast<int64_t>(y) * pitch;
        if (y < to.top || y >= to.bottom) {
            std::memset(row, 0, static_cast<size_t>(screenWidth) * bytes);
            continue;
        }
        std::memset(row, 0, static_cast<size_t>(to.left) * bytes);
        std::memset(row + to.right * bytes, 0, static_cast<size_t>(screenWidth - to.right) * bytes);
    }
    ShowPartOnScreen(frame, screen, pitch, screenBits, alpha, to, to);
}

void ShowPartOnScreen(const PixelSurface& frame, uint8_t* screen, int pitch, int screenBits,
                      uint32_t alpha, const BlitRect& to, const BlitRect& part) {
    if (part.Empty() || frame.pixels.empty())
        return;
    if (frame.bitsPerPixel == 16 && screenBits == 16)
        Show<uint16_t, uint16_t>(frame, screen, pitch, to, part, Same{});
    else if (frame.bitsPerPixel == 16)
        Show<uint16_t, uint32_t>(frame, screen, pitch, to, part, WidenRgb565{alpha});
    else if (screenBits == 32)
        Show<uint32_t, uint32_t>(frame, screen, pitch, to, part,
                                 [alpha](uint32_t p) { return p | alpha; });
    else
        Show<uint32_t, uint16_t>(frame, screen, pitch, to, part, NarrowXrgb8888{});
}

} // namespace compat
