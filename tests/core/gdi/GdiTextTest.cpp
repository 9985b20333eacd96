// Fonts found by face name and text drawn at its place, in its colour, over what is there.
#include "TestFiles.h"
#include "compat/GdiSeams.h"
#include "compat/Seams.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

namespace seams = compat::seams;

HFONT MakeFont(const char* face, int height, int weight = FW_NORMAL,
               DWORD quality = ANTIALIASED_QUALITY) {
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH | FF_DONTCARE, face);
}

std::string FileName(HFONT font) {
    seams::FontFace face;
    EXPECT_TRUE(seams::DescribeFont(font, &face));
    return face.file.substr(face.file.find_last_of('/') + 1);
}

seams::FontFace Face(HFONT font) {
    seams::FontFace face;
    EXPECT_TRUE(seams::DescribeFont(font, &face));
    return face;
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// What a draw changed on a canvas of one background value.
struct Changes {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1; // inclusive bounds
    int count = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Changes Compare(HDC dc, int width, int height, uint32_t background) {
    Changes changes;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t raw = 0;
            seams::ReadRawPixel(dc, x, y, &raw);
            if (raw == background)
                continue;
            ++changes.count;
            changes.left = std::min(changes.left, x);
            changes.right = std::max(changes.right, x);
            changes.top = std::min(changes.top, y);
            changes.bottom = std::max(changes.bottom, y);
        }
    return changes;
}

// A 32-bit canvas in the game's sky colour, writing in transparent mode.
class TextTest : public testing::Test {
protected:
    static constexpr int kWidth = 320, kHeight = 120;
    static constexpr COLORREF kSky = RGB(63, 189, 240);
    static constexpr uint32_t kSkyRaw = 0x3FBDF0;

    void SetUp() override {
        canvas = seams::CreatePixelContext(kWidth, kHeight, 32);
        ASSERT_NE(canvas, nullptr);
        seams::FillRawPixels(canvas, kSkyRaw);
        SetBkMode(canvas, TRANSPARENT);
    }
    void TearDown() override {
        // Giving up the context lets its font go; then every font can be deleted.
        seams::DeletePixelContext(canvas);
        for (HFONT font : fonts)
            EXPECT_TRUE(DeleteObject(font));
    }
    HFONT Font(const char* face, int height, int weight = FW_NORMAL,
               DWORD quality = ANTIALIASED_QUALITY) {
        HFONT font = MakeFont(face, height, weight, quality);
        EXPECT_NE(font, nullptr);
        if (font)
            fonts.push_back(font);
        return font;
    }
    // Writes the text on a fresh sky and returns what changed.
    Changes Write(HFONT font, COLORREF color, int x, int y, const char* text) {
        seams::FillRawPixels(canvas, kSkyRaw);
        EXPECT_NE(SelectObject(canvas, font), nullptr);
        SetTextColor(canvas, color);
        EXPECT_TRUE(TextOutA(canvas, x, y, text, static_cast<int>(std::strlen(text))));
        return Compare(canvas, kWidth, kHeight, kSkyRaw);
    }

    // Pixels that are neither sky nor text colour: where the two were mixed.
    int PartlyCovered(COLORREF text) const {
        int mixed = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const COLORREF c = GetPixel(canvas, x, y);
                mixed += c != kSky && c != text;
            }
        return mixed;
    }

    HDC canvas = nullptr;
    std::vector<HFONT> fonts;
};

TEST_F(TextTest, GameFacesResolveThroughTheFallbackList) {
    // Verdana where installed, else DejaVu Sans in its regular weight.
    const std::string verdana = FileName(Font("verdana", -23));
    EXPECT_TRUE(Contains(verdana, "erdana") || verdana == "DejaVuSans.ttf") << verdana;
    // Mistral where installed, else Kaushan Script (a package the game installs).
    const std::string mistral = FileName(Font("Mistral", -64));
    EXPECT_TRUE(Contains(mistral, "istral") || Contains(mistral, "KaushanScript")) << mistral;

    seams::HideFontFamily("Verdana");
    EXPECT_EQ(FileName(Font("VERDANA", -23)), "DejaVuSans.ttf");
    seams::HideFontFamily("Mistral");
    EXPECT_TRUE(Contains(FileName(Font("mistral", -64)), "KaushanScript"));
    // Without Kaushan Script: Dancing Script, or whatever fontconfig offers, but a font.
    seams::HideFontFamily("Kaushan Script");
    const std::string last = FileName(Font("mistral", -64));
    EXPECT_FALSE(last.empty());
    EXPECT_FALSE(Contains(last, "Kaushan")) << last;

    // Any other face is fontconfig's best match, which is always some font.
    EXPECT_FALSE(FileName(Font("No Such Face At All", -12)).empty());
    EXPECT_FALSE(FileName(Font("", 0)).empty());
}

TEST_F(TextTest, BoldIsARealFaceWhereOneExistsElseSynthetic) {
    seams::HideFontFamily("Verdana");
    seams::HideFontFamily("Mistral");
    HFONT bold = Font("verdana", -23, FW_BOLD);
    EXPECT_EQ(FileName(bold), "DejaVuSans-Bold.ttf");
    EXPECT_FALSE(Face(bold).syntheticBold);
    EXPECT_FALSE(Face(Font("verdana", -23, FW_NORMAL)).syntheticBold);
    // The script face has no bold weight: the renderer makes one.
    HFONT script = Font("mistral", -64, FW_BOLD);
    EXPECT_TRUE(Contains(FileName(script), "KaushanScript"));
    EXPECT_TRUE(Face(script).syntheticBold);
}

TEST_F(TextTest, NegativeHeightIsTheEmPositiveTheWholeCell) {
    EXPECT_EQ(Face(Font("verdana", -23)).emPixels, 23);
    EXPECT_EQ(Face(Font("verdana", -64)).emPixels, 64);
    // The cell adds the space above and below the em, so the same number gives a smaller em.
    const int cellEm = Face(Font("verdana", 23)).emPixels;
    EXPECT_LT(cellEm, 23);
    EXPECT_GT(cellEm, 15);
    // A cell-sized font draws no taller than its cell.
    const Changes text = Write(fonts.back(), RGB(0, 0, 0), 10, 10, "Mjgy|");
    EXPECT_LE(text.height(), 23);
    EXPECT_GE(text.top, 10);
}

TEST_F(TextTest, TextAppearsAtItsPlaceInItsColourOverTheBackground) {
    const COLORREF yellow = RGB(255, 255, 0);
    for (const char* face : {"verdana", "mistral"}) {
        SCOPED_TRACE(face);
        HFONT font = Font(face, std::string(face) == "verdana" ? -23 : -40);
        const Changes text = Write(font, yellow, 40, 30, "Score: 1250");
        // Its cell starts at (40, 30): ink begins just right of x and below y.
        EXPECT_GE(text.left, 36);
        EXPECT_LE(text.left, 46);
        EXPECT_GE(text.top, 30);
        EXPECT_LE(text.top, 30 + 16);
        EXPECT_GT(text.width(), 80);
        EXPECT_LT(text.right, kWidth - 1);

        int full = 0, unchanged = 0;
        for (int y = text.top; y <= text.bottom; ++y)
            for (int x = text.left; x <= text.right; ++x) {
                const COLORREF c = GetPixel(canvas, x, y);
                if (c == kSky) {
                    ++unchanged;
                    continue;
                }
                full += c == yellow;
                // Partly covered pixels mix the text colour into the sky under them.
                EXPECT_GE(GetRValue(c), 63);
                EXPECT_GE(GetGValue(c), 189);
                EXPECT_LE(GetBValue(c), 240);
            }
        EXPECT_GT(full, 50);
        // The sky shows between the glyphs.
        EXPECT_GT(unchanged, (text.width() * text.height()) / 3);
    }
}

// The same text at the same place is laid from what it left there last time only where it
// finds the same pixels: over another background it is mixed afresh, exactly as a text never
// written there before.
TEST_F(TextTest, TextWrittenAgainAtItsPlaceMixesWithWhatIsThereNow) {
    HFONT font = Font("verdana", -23);
    const char* text = "Time 6:58";
    const int length = static_cast<int>(std::strlen(text));
    Write(font, RGB(255, 255, 255), 10, 10, text);
    Write(font, RGB(255, 255, 255), 10, 10, text); // laid from what was kept
    seams::FillRawPixels(canvas, 0x102030);
    ASSERT_TRUE(TextOutA(canvas, 10, 10, text, length));
    ASSERT_TRUE(TextOutA(canvas, 10, 60, text, length)); // never written there
    int mixed = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint32_t again = 0, fresh = 0;
            seams::ReadRawPixel(canvas, x, y, &again);
            seams::ReadRawPixel(canvas, x, y + 50, &fresh);
            ASSERT_EQ(fresh, again) << "at " << x << ", " << y;
            mixed += fresh != 0x102030 && fresh != 0xFFFFFF;
        }
    EXPECT_GT(mixed, 20); // anti-aliased edges, mixed with the new background
}

TEST_F(TextTest, FullCoverageIsTheTextColoursOwnPixelAt16Bits) {
    HDC narrow = seams::CreatePixelContext(200, 60, 16);
    seams::FillRawPixels(narrow, 0);
    SetBkMode(narrow, TRANSPARENT);
    SetTextColor(narrow, RGB(228, 103, 101));
    HFONT font = Font("verdana", -30, FW_BOLD);
    SelectObject(narrow, font);
    ASSERT_TRUE(TextOutA(narrow, 5, 5, "HIT", 3));
    int matching = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            uint32_t raw = 0;
            seams::ReadRawPixel(narrow, x, y, &raw);
            EXPECT_LE(raw, 0xFFFFu);
            // The raw value SetPixel writes for the colour, as a colour key would match it.
            matching += raw == ((28u << 11) | (25u << 5) | 12u);
        }
    EXPECT_GT(matching, 100);
    seams::DeletePixelContext(narrow); // lets the font go
}

// White over black at 32 bits shows each pixel's coverage c as its channels; the same text
// over any colour, at either depth, mixes each channel as (text * c + under * (255 - c) + 127)
// / 255, to the bit, whatever the row's length and the pixel's place in it.
TEST_F(TextTest, EdgesMixTheColoursByCoverageExactlyAtBothDepths) {
    HFONT font = Font("verdana", -23);
    const char* text = "Level 12: Whirlpool";
    const int length = static_cast<int>(std::strlen(text));
    seams::FillRawPixels(canvas, 0);
    SelectObject(canvas, font);
    SetTextColor(canvas, RGB(255, 255, 255));
    ASSERT_TRUE(TextOutA(canvas, 3, 4, text, length));
    const COLORREF ink = RGB(228, 103, 101), under = RGB(63, 189, 240);
    auto mix = [](int u, int t, int c) { return (t * c + u * (255 - c) + 127) / 255; };
    for (int bits : {16, 32}) {
        SCOPED_TRACE(bits);
        HDC other = seams::CreatePixelContext(kWidth, kHeight, bits);
        const uint32_t underRaw = bits == 16 ? (7u << 11) | (47u << 5) | 30u : 0x3FBDF0;
        seams::FillRawPixels(other, underRaw);
        SetBkMode(other, TRANSPARENT);
        SelectObject(other, font);
        SetTextColor(other, ink);
        ASSERT_TRUE(TextOutA(other, 3, 4, text, length));
        // The colour of the 16-bit sky as the mix reads it: each channel widened to 8 bits.
        const COLORREF read = bits == 16 ? RGB(57, 190, 247) : under;
        int partial = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uint32_t coverage = 0, got = 0;
                seams::ReadRawPixel(canvas, x, y, &coverage);
                seams::ReadRawPixel(other, x, y, &got);
                const int c = static_cast<int>(coverage & 0xFF);
                partial += c > 0 && c < 255;
                const int r = mix(GetRValue(read), GetRValue(ink), c);
                const int g = mix(GetGValue(read), GetGValue(ink), c);
                const int b = mix(GetBValue(read), GetBValue(ink), c);
                const uint32_t want = c == 0       ? underRaw
                                      : bits == 16 ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3
                                                   : static_cast<uint32_t>(r << 16 | g << 8 | b);
                ASSERT_EQ(want, got) << "at " << x << ", " << y << ", coverage " << c;
            }
        EXPECT_GT(partial, 100);
        seams::DeletePixelContext(other); // lets the font go
    }
}

TEST_F(TextTest, BoldIsWiderThanNormal) {
    for (const char* face : {"verdana", "mistral"}) {
        SCOPED_TRACE(face);
        const Changes normal = Write(Font(face, -30), RGB(0, 0, 0), 10, 10, "Level 12");
        const Changes bold = Write(Font(face, -30, FW_BOLD), RGB(0, 0, 0), 10, 10, "Level 12");
        EXPECT_GT(bold.width(), normal.width());
        EXPECT_GT(bold.count, normal.count);
    }
}

// The extent is where the next text would start: what TextOutA drew lies within it, and the two
// halves of a text measure the whole.
TEST_F(TextTest, ExtentHoldsTheDrawnTextAndAddsUp) {
    HFONT font = Font("verdana", -23);
    const Changes drawn = Write(font, RGB(0, 0, 0), 10, 10, "x 13");
    SIZE whole{}, left{}, right{}, none{};
    ASSERT_TRUE(GetTextExtentPoint32A(canvas, "x 13", 4, &whole));
    EXPECT_LE(drawn.right, 10 + whole.cx);
    EXPECT_GE(drawn.right, 10 + whole.cx - 4);
    EXPECT_LE(drawn.bottom, 10 + whole.cy);
    EXPECT_GT(whole.cy, 23);
    ASSERT_TRUE(GetTextExtentPoint32A(canvas, "x 13", 2, &left));
    ASSERT_TRUE(GetTextExtentPoint32A(canvas, "13", 2, &right));
    EXPECT_NEAR(left.cx + right.cx, whole.cx, 1);
    ASSERT_TRUE(GetTextExtentPoint32A(canvas, "", 0, &none));
    EXPECT_EQ(none.cx, 0);
    EXPECT_FALSE(GetTextExtentPoint32A(canvas, "abc", 3, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "abc", 3, &none));
}

TEST_F(TextTest, OpaqueModeFillsTheCellWithTheBackgroundColour) {
    HFONT font = Font("verdana", -23);
    SetBkMode(canvas, OPAQUE);
    SetBkColor(canvas, RGB(10, 20, 30));
    const Changes box = Write(font, RGB(255, 255, 255), 50, 40, "ii");
    EXPECT_EQ(box.left, 50);
    EXPECT_EQ(box.top, 40);
    EXPECT_GE(box.height(), 23);
    // The top-left of the cell lies above the letters: background, not sky, not text.
    EXPECT_EQ(GetPixel(canvas, 50, 40), RGB(10, 20, 30));
    EXPECT_EQ(box.count, box.width() * box.height());
}

TEST_F(TextTest, ClippedAtTheEdgesOfTheTarget) {
    HFONT font = Font("verdana", -40);
    const Changes whole = Write(font, RGB(0, 0, 0), 100, 40, "Wide");
    const Changes leftTop = Write(font, RGB(0, 0, 0), -20, -15, "Wide");
    EXPECT_EQ(leftTop.left, 0);
    EXPECT_EQ(leftTop.top, 0);
    EXPECT_LT(leftTop.count, whole.count);
    // Past the right and bottom edges: only the part inside is drawn, nothing wraps around.
    const Changes rightBottom = Write(font, RGB(0, 0, 0), kWidth - 30, kHeight - 20, "Wide");
    EXPECT_GT(rightBottom.count, 0);
    EXPECT_LT(rightBottom.count, whole.count);
    EXPECT_GE(rightBottom.left, kWidth - 32);
    EXPECT_GE(rightBottom.top, kHeight - 20);
    // Wholly outside, at the far ends of the coordinates: nothing drawn, nothing broken.
    EXPECT_EQ(Write(font, RGB(0, 0, 0), INT32_MAX, INT32_MAX, "Wide").count, 0);
    EXPECT_EQ(Write(font, RGB(0, 0, 0), INT32_MIN, INT32_MIN, "Wide").count, 0);
}

TEST_F(TextTest, LengthCountsCharactersAndEmptyTextDrawsNothing) {
    HFONT font = Font("verdana", -23);
    const Changes whole = Write(font, RGB(0, 0, 0), 10, 10, "Score: 1250");
    seams::FillRawPixels(canvas, kSkyRaw);
    ASSERT_TRUE(TextOutA(canvas, 10, 10, "Score: 1250", 5));
    const Changes part = Compare(canvas, kWidth, kHeight, kSkyRaw);
    EXPECT_LT(part.right, whole.right - 30);
    EXPECT_EQ(part.left, whole.left);

    seams::FillRawPixels(canvas, kSkyRaw);
    EXPECT_TRUE(TextOutA(canvas, 10, 10, "", 0));
    EXPECT_FALSE(TextOutA(canvas, 10, 10, "abc", -1));
    EXPECT_FALSE(TextOutA(canvas, 10, 10, nullptr, 3));
    EXPECT_FALSE(TextOutA(nullptr, 10, 10, "abc", 3));
    EXPECT_EQ(Compare(canvas, kWidth, kHeight, kSkyRaw).count, 0);
}

TEST_F(TextTest, EachFontDrawsItsOwnShapes) {
    // The same text in two fonts must not come from one remembered rendering.
    HFONT normal = Font("verdana", -23);
    HFONT hard = Font("verdana", -23, FW_NORMAL, NONANTIALIASED_QUALITY);
    const Changes first = Write(normal, RGB(0, 0, 0), 10, 10, "Time: 42");
    const Changes again = Write(normal, RGB(0, 0, 0), 10, 10, "Time: 42");
    EXPECT_EQ(first.count, again.count);
    Write(hard, RGB(0, 0, 0), 10, 10, "Time: 42");
    // Without anti-aliasing every changed pixel is the text colour itself.
    EXPECT_EQ(PartlyCovered(RGB(0, 0, 0)), 0);
    Write(normal, RGB(0, 0, 0), 10, 10, "Time: 42");
    EXPECT_GT(PartlyCovered(RGB(0, 0, 0)), 20);
}

TEST_F(TextTest, WindowsCharactersAndTheStockFont) {
    // 0x80 is the euro sign in the Windows character set; DejaVu Sans has it.
    HFONT font = Font("verdana", -23);
    EXPECT_GT(Write(font, RGB(0, 0, 0), 10, 10, "\x80").count, 20);
    // A context with no font selected writes in the platform's own.
    HDC fresh = seams::CreatePixelContext(100, 40, 32);
    seams::FillRawPixels(fresh, 0xFFFFFF);
    SetBkMode(fresh, TRANSPARENT);
    EXPECT_TRUE(TextOutA(fresh, 2, 2, "Hi", 2));
    // Black (the default text colour) on white, starting near the point given.
    const Changes ink = Compare(fresh, 100, 40, 0xFFFFFF);
    EXPECT_GT(ink.count, 20);
    EXPECT_LE(ink.left, 5);
    EXPECT_LE(ink.top, 10);
    int black = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            black += GetPixel(fresh, x, y) == RGB(0, 0, 0);
    EXPECT_GT(black, 10);
    seams::DeletePixelContext(fresh);
}

} // namespace
