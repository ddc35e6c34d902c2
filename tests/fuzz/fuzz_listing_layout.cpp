// The listing view's layout on any text, width and character widths: the lines cover the text
// exactly in order, each fits the width (but for a single character, or a blank hanging at its
// end), no surrogate pair is split, and offsets, lines and points map onto each other.
#include <algorithm>
#include <string>

#include "app/mainwindow/listing_layout.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool IsHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool InsidePair(const std::wstring& text, std::size_t offset) {
    return offset > 0 && offset < text.size() && IsHigh(text[offset - 1]) && IsLow(text[offset]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int maxWidth = data[0];
    const unsigned seed = data[1] | 1u;
    const std::wstring text = fuzz::WideFromBytes(fuzz::Bytes(data + 2, size - 2));
    metaview::CharWidths widths([seed](wchar_t first, int* w) {
        for (std::size_t i = 0; i < metaview::CharWidths::kBlock; ++i)
            w[i] = static_cast<int>(((static_cast<unsigned>(first) + i) * seed) % 17);
    });
    metaview::ListingLayout layout;
    layout.Build(text, maxWidth, widths);
    FUZZ_CHECK(layout.lineCount() >= 1);

    std::size_t expected = 0;
    for (std::size_t line = 0; line < layout.lineCount(); ++line) {
        const std::size_t start = layout.LineStart(line), end = layout.LineEnd(line);
        FUZZ_CHECK(start <= end && end <= text.size());
        if (start != expected) {
            const std::wstring gap = text.substr(expected, start - expected);
            FUZZ_CHECK(gap == L"\n" || gap == L"\r\n");
        }
        FUZZ_CHECK(!InsidePair(text, start) && !InsidePair(text, end));
        // The line's width, a blank at its end left out.
        std::size_t last = end;
        if (last > start && text[last - 1] == L' ') --last;
        int width = 0;
        for (std::size_t i = start; i < last; ++i) width += widths(text[i]);
        const bool oneCharacter = last - start <= 1 || (last - start == 2 && IsHigh(text[start]) && IsLow(text[start + 1]));
        FUZZ_CHECK(width <= std::max(maxWidth, 1) || oneCharacter);

        const bool goesOn = line + 1 < layout.lineCount() && layout.LineStart(line + 1) == end;
        for (std::size_t o = start; o < end || (o == end && !goesOn); ++o) FUZZ_CHECK(layout.LineOf(o) == line);
        // A point across the line lands on the line, never inside a pair, and the offset's
        // place is no further from the point than one character's width.
        for (int x = -3; x <= width + 20; x += 7) {
            const std::size_t at = layout.OffsetAt(text, line, x, widths);
            FUZZ_CHECK(at >= start && at <= end && !InsidePair(text, at));
            FUZZ_CHECK(layout.XOf(text, line, at, widths) <= std::max(x, 0) + 16);
        }
        expected = end;
    }
    FUZZ_CHECK(expected == text.size());

    // Caret steps go over whole characters and come back.
    for (std::size_t o = 0; o < text.size(); o = metaview::NextCharOffset(text, o)) {
        const std::size_t next = metaview::NextCharOffset(text, o);
        FUZZ_CHECK(next > o && !InsidePair(text, next));
        FUZZ_CHECK(metaview::PreviousCharOffset(text, next) == o || (text[o] == L'\r' && next == o + 1));
    }
    return 0;
}
