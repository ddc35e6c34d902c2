// The listing view's layout: where lines are broken for the width, and how offsets, lines and
// points map onto each other.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/mainwindow/listing_layout.h"

namespace metaview {
namespace {

// Every character 8 pixels wide, as in a monospaced font; `wide` ones 16.
CharWidths Fixed(std::wstring_view wide = L"") {
    const std::wstring wideChars(wide);
    return CharWidths([wideChars](wchar_t first, int* widths) {
        for (std::size_t i = 0; i < CharWidths::kBlock; ++i)
            widths[i] = wideChars.find(static_cast<wchar_t>(first + i)) != std::wstring::npos ? 16 : 8;
    });
}

std::vector<std::wstring> Lines(std::wstring_view text, int maxWidth, CharWidths widths) {
    ListingLayout layout;
    layout.Build(text, maxWidth, widths);
    std::vector<std::wstring> lines;
    for (std::size_t i = 0; i < layout.lineCount(); ++i)
        lines.emplace_back(text.substr(layout.LineStart(i), layout.LineEnd(i) - layout.LineStart(i)));
    return lines;
}

using L = std::vector<std::wstring>;

// U+1F600 in UTF-16, spelt out: wchar_t is wider than 16 bits in some builds of these tests.
const std::wstring kPair{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};

TEST(ListingLayout, OnlyLargeTextsOrLongLinesGoToTheListingView) {
    EXPECT_FALSE(IsLargeListing(L""));
    EXPECT_FALSE(IsLargeListing(std::wstring(999, L'x') + L"\r\n" + std::wstring(999, L'y')));
    EXPECT_TRUE(IsLargeListing(L"a\r\n" + std::wstring(1000, L'x') + L"\r\nb"));
    EXPECT_TRUE(IsLargeListing(L"short\n" + std::wstring(1000, L'x')));  // the last line counts too
    std::wstring many;
    while (many.size() < kLargeListingChars) many += L"Tag Name                        : value\r\n";
    EXPECT_TRUE(IsLargeListing(many));
}

TEST(ListingLayout, LinesBreakAfterTheLastBlankThatFitsElseAtTheWidth) {
    // 8 characters fit in 64 pixels.
    EXPECT_EQ(Lines(L"aaa bbb ccc\r\nshort\r\nxxxxxxxxxx", 64, Fixed()), (L{L"aaa bbb ", L"ccc", L"short", L"xxxxxxxx", L"xx"}));
    // A line that fits exactly is left alone; a blank that does not fit hangs at the line's end.
    EXPECT_EQ(Lines(L"12345678\n1234 678 abc", 64, Fixed()), (L{L"12345678", L"1234 678 ", L"abc"}));
    // Line breaks with and without CR; a text ending in one has an empty last line.
    EXPECT_EQ(Lines(L"a\nb\r\nc\r\n", 64, Fixed()), (L{L"a", L"b", L"c", L""}));
    EXPECT_EQ(Lines(L"", 64, Fixed()), (L{L""}));
    EXPECT_EQ(Lines(L"\r\n\r\n", 64, Fixed()), (L{L"", L"", L""}));
    // Too narrow for one character: each line still keeps one.
    EXPECT_EQ(Lines(L"abc", 0, Fixed()), (L{L"a", L"b", L"c"}));
    // Wide characters count by their width.
    EXPECT_EQ(Lines(L"WWWWW", 64, Fixed(L"W")), (L{L"WWWW", L"W"}));
}

TEST(ListingLayout, ASurrogatePairIsNeverSplit) {
    const std::wstring pair = kPair;  // two UTF-16 units, one glyph
    // The low half has no width: the pair takes the width of one character.
    EXPECT_EQ(Lines(L"abcdefg" + pair + L"h", 64, Fixed()), (L{L"abcdefg" + pair, L"h"}));
    // Where the width ends between the halves, the pair goes to the next line whole.
    EXPECT_EQ(Lines(L"abcdefg" + pair, 56, Fixed(std::wstring(1, pair[0]))), (L{L"abcdefg", pair}));
    // Alone on a line too narrow even for it.
    EXPECT_EQ(Lines(pair + pair, 1, Fixed()), (L{pair, pair}));
}

TEST(ListingLayout, TheLinesCoverTheTextExactlyWhateverTheWidths) {
    std::mt19937 random(7);
    const std::wstring alphabet = L"ab  \r\n\tWi" + kPair + L"\xD800\xDC00";
    for (int round = 0; round < 200; ++round) {
        std::wstring text;
        const int length = static_cast<int>(random() % 300);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        CharWidths widths([&random](wchar_t, int* w) {
            for (std::size_t i = 0; i < CharWidths::kBlock; ++i) w[i] = static_cast<int>(random() % 20);
        });
        ListingLayout layout;
        layout.Build(text, static_cast<int>(random() % 100), widths);
        std::size_t expected = 0;
        for (std::size_t i = 0; i < layout.lineCount(); ++i) {
            const std::size_t start = layout.LineStart(i), end = layout.LineEnd(i);
            ASSERT_LE(start, end);
            // Between lines only a line break is skipped; a line broken for the width goes on
            // right where it stopped.
            if (start != expected) {
                const std::wstring gap = text.substr(expected, start - expected);
                ASSERT_TRUE(gap == L"\n" || gap == L"\r\n") << "round " << round << " line " << i;
            }
            ASSERT_FALSE(start < end && start > 0 && text[start] >= 0xDC00 && text[start] <= 0xDFFF &&
                         text[start - 1] >= 0xD800 && text[start - 1] <= 0xDBFF);
            const bool goesOn = i + 1 < layout.lineCount() && layout.LineStart(i + 1) == end;
            for (std::size_t o = start; o < end || (o == end && !goesOn); ++o) ASSERT_EQ(layout.LineOf(o), i) << o;
            expected = end;
        }
        ASSERT_EQ(expected, text.size());
    }
}

TEST(ListingLayout, OffsetsLinesAndPointsMapOntoEachOther) {
    const std::wstring text = L"aaa bbb ccc\r\nxy";
    CharWidths widths = Fixed();
    ListingLayout layout;
    layout.Build(text, 64, widths);  // "aaa bbb " | "ccc" | "xy"
    ASSERT_EQ(layout.lineCount(), 3u);
    // An offset where a broken line goes on is on the line it starts; one inside a line break,
    // on the line the break ends.
    EXPECT_EQ(layout.LineOf(8), 1u);
    EXPECT_EQ(layout.LineOf(11), 1u);
    EXPECT_EQ(layout.LineOf(12), 1u);
    EXPECT_EQ(layout.LineOf(13), 2u);
    EXPECT_EQ(layout.LineOf(1000), 2u);

    EXPECT_EQ(layout.XOf(text, 1, 10, widths), 16);
    EXPECT_EQ(layout.XOf(text, 1, 12, widths), 24);  // past the line's end: at its end
    EXPECT_EQ(layout.OffsetAt(text, 1, 16, widths), 10u);
    EXPECT_EQ(layout.OffsetAt(text, 1, 19, widths), 10u);  // left half of "c": before it
    EXPECT_EQ(layout.OffsetAt(text, 1, 20, widths), 11u);  // right half: after it
    EXPECT_EQ(layout.OffsetAt(text, 1, -5, widths), 8u);
    EXPECT_EQ(layout.OffsetAt(text, 1, 500, widths), 11u);

    const std::wstring withPair = L"a" + kPair + L"b";
    layout.Build(withPair, 64, widths);
    EXPECT_EQ(layout.OffsetAt(withPair, 0, 13, widths), 3u);  // right half of the pair: after it
    EXPECT_EQ(layout.OffsetAt(withPair, 0, 10, widths), 1u);
}

TEST(ListingLayout, CaretStepsAndWords) {
    const std::wstring text = L"ab\r\n" + kPair + L" cd";
    EXPECT_EQ(NextCharOffset(text, 2), 4u);      // over "\r\n"
    EXPECT_EQ(NextCharOffset(text, 4), 6u);      // over the pair
    EXPECT_EQ(NextCharOffset(text, 100), text.size());
    EXPECT_EQ(PreviousCharOffset(text, 4), 2u);
    EXPECT_EQ(PreviousCharOffset(text, 6), 4u);
    EXPECT_EQ(PreviousCharOffset(text, 0), 0u);
    EXPECT_EQ(WordAt(text, 0), (std::pair<std::size_t, std::size_t>{0, 2}));
    EXPECT_EQ(WordAt(text, 2), (std::pair<std::size_t, std::size_t>{0, 2}));  // just after a word
    EXPECT_EQ(WordAt(text, 8), (std::pair<std::size_t, std::size_t>{7, 9}));
    EXPECT_EQ(WordAt(L"a  b", 2), (std::pair<std::size_t, std::size_t>{2, 2}));
}

TEST(ListingLayout, WidthsAreMeasuredOncePerBlock) {
    int calls = 0;
    CharWidths widths([&calls](wchar_t, int* w) {
        ++calls;
        for (std::size_t i = 0; i < CharWidths::kBlock; ++i) w[i] = i == 5 ? -3 : 7;
    });
    EXPECT_EQ(widths(L'a'), 7);
    EXPECT_EQ(widths(L'b'), 7);
    EXPECT_EQ(widths(static_cast<wchar_t>(5)), 0);  // nonsense from the font: no width
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(widths(static_cast<wchar_t>(0xDC05)), 0);  // a low surrogate
    EXPECT_EQ(widths(static_cast<wchar_t>(0xD806)), 7);
    EXPECT_EQ(calls, 3);
}

}  // namespace
}  // namespace metaview
