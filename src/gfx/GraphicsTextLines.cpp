// Measured text: widths, and texts broken into lines that fit a width.
#include "gfx/CGraphics.h"

#include <cstring>

namespace {

// A text of more lines than this is cut.
constexpr int kMaxLines = 32;

struct TextLine {
    int start;
    int length;
};

SIZE SizeOf(HDC context, const char* text, int length) {
    SIZE size{};
    if (!GetTextExtentPoint32A(context, text, length, &size))
        return SIZE{};
    return size;
}

int WidthOf(HDC context, const char* text, int length) {
    return SizeOf(context, text, length).cx;
}

// The longest run of text from `start` that fits, at least one character, shortened to end after
// its last '/' or blank, or before its last '.', when the text goes on beyond it.
int FittingLength(HDC context, const char* text, int start, int total, int maxWidth) {
    int length = 1;
    while (start + length < total && WidthOf(context, text + start, length + 1) <= maxWidth)
        ++length;
    if (start + length == total)
        return length;
    for (int end = length - 1; end > 0; --end) {
        if (text[start + end] == '/' || text[start + end] == ' ')
            return end + 1;
        if (text[start + end] == '.')
            return end;
    }
    return length;
}

} // namespace

// The size of the text in the font, measured on the back buffer; empty with no display up.
SIZE CGraphics::MeasureText(HFONT font, const char* text) {
    if (!backBuffer || !text)
        return SIZE{};
    HDC context = nullptr;
    if (FAILED(backBuffer->GetDC(&context)) || !context)
        return SIZE{};
    SelectObject(context, font);
    const SIZE size = SizeOf(context, text, static_cast<int>(strlen(text)));
    backBuffer->ReleaseDC(context);
    return size;
}

int CGraphics::TextWidth(HFONT font, const char* text) {
    return MeasureText(font, text).cx;
}

int CGraphics::LineHeight(HFONT font) {
    return MeasureText(font, "A").cy;
}

int CGraphics::PrintLines(HFONT font, COLORREF colour, int x, int y, int maxWidth, bool upward,
                          const char* text) {
    if (!backBuffer || !text)
        return 0;
    HDC context = nullptr;
    if (FAILED(backBuffer->GetDC(&context)) || !context)
        return 0;
    SelectObject(context, font);
    const int total = static_cast<int>(strlen(text));
    TextLine lines[kMaxLines];
    int count = 0;
    for (int start = 0; start < total && count < kMaxLines; ++count) {
        lines[count] = {start, FittingLength(context, text, start, total, maxWidth)};
        start += lines[count].length;
    }
    const SIZE cell = SizeOf(context, "A", 1);
    int lineY = upward ? y - (count - 1) * cell.cy : y;
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, colour);
    for (int i = 0; i < count; ++i, lineY += cell.cy)
        TextOutA(context, x, lineY, text + lines[i].start, lines[i].length);
    backBuffer->ReleaseDC(context);
    return count;
}
