// The command-line splitting, the runtime's split rules and the search walk, without the
// object model (the members built on them are tested through COM in the other programs).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/main/cmdline_split.h"
#include "lib/main/collection_split.h"
#include "lib/main/search_walk.h"

namespace bk {
namespace {

std::vector<std::wstring> Split(std::wstring_view line) {
    std::vector<std::wstring> out;
    SplitCommandLine(line, out);
    return out;
}

TEST(CommandLineSplit, BlanksQuotesAndTheUnclosedQuote) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(Split(L""), V{});
    EXPECT_EQ(Split(L"   "), V{});
    EXPECT_EQ(Split(L"  a   b "), (V{L"a", L"b"}));
    EXPECT_EQ(Split(L"a\tb"), V{L"a\tb"}) << "a tab is an ordinary character";
    EXPECT_EQ(Split(L"\"C:\\My Files\\x.jpg\" next"), (V{L"C:\\My Files\\x.jpg", L"next"}));
    EXPECT_EQ(Split(L"\"open  to the end  "), V{L"open  to the end"}) << "the line loses its end blanks first";
    EXPECT_EQ(Split(L"in\"side\" x"), (V{L"in\"side\"", L"x"})) << "a quote inside an argument is part of it";
    EXPECT_EQ(Split(L"\"a\"b"), (V{L"a", L"b"})) << "text after a closing quote starts a new argument";
    EXPECT_EQ(Split(L"\"\" x"), (V{L"", L"x"}));
}

bool Exact(std::wstring_view a, std::wstring_view b) { return a == b; }

TEST(SplitText, LimitsEmptyPartsAndDelimiters) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(SplitText(L"a,b,,c", L",", -1, Exact), (V{L"a", L"b", L"", L"c"}));
    EXPECT_EQ(SplitText(L"a,b,c", L",", 2, Exact), (V{L"a", L"b,c"}));
    EXPECT_EQ(SplitText(L"a,b", L",", 0, Exact), V{});
    EXPECT_EQ(SplitText(L"", L",", -1, Exact), V{});
    EXPECT_EQ(SplitText(L"a,b", L"", -1, Exact), V{L"a,b"});
    EXPECT_EQ(SplitText(L"aXXXb", L"XX", -1, Exact), (V{L"a", L"Xb"})) << "occurrences do not overlap";
    EXPECT_EQ(SplitText(L",", L",", -5, Exact), (V{L"", L""})) << "other negative limits mean none";
}

TEST(SplitText, SearchingFindsThePlacesComparingFinds) {
    // Without a comparison the delimiter is searched for; the pieces are the same.
    const struct {
        const wchar_t* text;
        const wchar_t* delimiter;
        long limit;
    } cases[] = {{L"a,b,,c", L",", -1}, {L"a,b,c", L",", 2},  {L"aXXXb", L"XX", -1}, {L",,", L",", -1},
                 {L"abc", L"abcd", -1}, {L"xyxyx", L"xyx", 3}, {L"a,b", L",", 0},    {L"a,b", L"", 5}};
    for (const auto& c : cases)
        EXPECT_EQ(SplitText(c.text, c.delimiter, c.limit), SplitText(c.text, c.delimiter, c.limit, Exact)) << c.text;
    const std::vector<TextPiece> pieces = SplitPieces(L"ab--c--", L"--", -1);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[1].offset, 4u);
    EXPECT_EQ(pieces[1].length, 1u);
    EXPECT_EQ(pieces[2].offset, 7u) << "the empty piece after the last delimiter";
    EXPECT_EQ(pieces[2].length, 0u);
}

TEST(SearchWalk, FirstMatchEmptyRangesAndTheLastPosition) {
    SearchResult found;
    auto isSeven = [](long p, bool& matched) {
        matched = p == 7;
        return 0;
    };
    EXPECT_EQ(FindFirst(ResolveRange(std::nullopt, std::nullopt, 1, 10), 0, 0, isSeven, found), 0);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.position, 7);
    FindFirst(ResolveRange(8, std::nullopt, 1, 10), 0, 0, isSeven, found);
    EXPECT_FALSE(found.found);
    EXPECT_EQ(found.position, 0);
    int tested = 0;
    FindFirst(SearchRange{5, 4}, -1, 0, [&](long, bool&) { return ++tested, 0; }, found);
    EXPECT_EQ(tested, 0) << "a range ending before it starts is empty";
    // The last position of the long range is reached without overflowing the counter.
    FindFirst(SearchRange{0x7FFFFFFEL, 0x7FFFFFFFL}, -1, 0, [&](long p, bool& m) { m = p == 0x7FFFFFFFL; return 0; },
              found);
    EXPECT_TRUE(found.found);
    // A failing test ends the walk with its status.
    EXPECT_EQ(FindFirst(SearchRange{1, 3}, 0, 0, [](long, bool&) { return 5; }, found), 5);
}

}  // namespace
}  // namespace bk
