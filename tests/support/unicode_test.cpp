// UTF-8 and UTF-16 conversions: exact bytes for every plane, and the replacement of what is
// no character.
#include <gtest/gtest.h>

#include "support/as/unicode.h"

using namespace support;

namespace {

// A character past U+FFFF as wchar_t text: a surrogate pair where wchar_t has 16 bits.
std::wstring Emoji() {
    if constexpr (sizeof(wchar_t) == 2) return std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)};
    return std::wstring(1, static_cast<wchar_t>(0x1F600));
}

}  // namespace

TEST(Utf8, EachPlaneGivesItsBytesAndComesBack) {
    const std::wstring text = L"A\u00E9\u0416\u65E5" + Emoji();
    const std::string bytes = asUNICODEToUTF8(text);
    EXPECT_EQ(std::string("A\xC3\xA9\xD0\x96\xE6\x97\xA5\xF0\x9F\x98\x80"), bytes);
    EXPECT_EQ(text, asUTF8ToUNICODE(bytes));
    EXPECT_EQ(std::string("a\0b", 3), asUNICODEToUTF8(std::wstring(L"a\0b", 3)));  // nulls stay
}

TEST(Utf8, WhatIsNoCharacterBecomesOneReplacementPerMaximalPart) {
    const std::wstring r(1, wchar_t(0xFFFD));
    EXPECT_EQ(r + L"A", asUTF8ToUNICODE("\x80"
                                        "A"));  // stray continuation
    EXPECT_EQ(r + L"A", asUTF8ToUNICODE("\xE2\x82"
                                        "A"));                      // cut short before a letter
    EXPECT_EQ(r, asUTF8ToUNICODE("\xF0\x9F\x98"));                  // cut short by the end
    EXPECT_EQ(r + r, asUTF8ToUNICODE("\xC0\x80"));                  // overlong
    EXPECT_EQ(r + r + r, asUTF8ToUNICODE("\xED\xA0\x80"));          // a surrogate
    EXPECT_EQ(r + r + r + r, asUTF8ToUNICODE("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_EQ(r + r, asUTF8ToUNICODE("\xFF\xFE"));
    // A lone surrogate in wide text is no character either.
    EXPECT_EQ("x\xEF\xBF\xBDy", asUNICODEToUTF8(std::wstring{L'x', wchar_t(0xD800), L'y'}));
}

TEST(Utf16Le, BytesOfPairsAndOddEnds) {
    EXPECT_EQ(std::string("A\0\x16\x04=\xD8\0\xDE", 8), Utf16LeBytes(L"A\u0416" + Emoji()));
    EXPECT_EQ(L"A\u0416" + Emoji(), TextFromUtf16Le(std::string("A\0\x16\x04=\xD8\0\xDE", 8)));
    // An odd last byte is no unit; a lone surrogate unit is kept as it is.
    EXPECT_EQ(L"AB", TextFromUtf16Le(std::string("A\0B\0C", 5)));
    EXPECT_EQ((std::wstring{L'a', wchar_t(0xDC00)}), TextFromUtf16Le(std::string("a\0\0\xDC", 4)));
    EXPECT_EQ(std::string("\0\xDC", 2), Utf16LeBytes(std::wstring(1, wchar_t(0xDC00))));
}
