// In-memory dialog templates, byte by byte as the dialog functions read them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/win/dialog_template.h"

namespace support {
namespace {

// The template's bytes as 16-bit words.
std::vector<std::uint16_t> Words(const std::vector<std::uint32_t>& dwords) {
    std::vector<std::uint16_t> words(dwords.size() * 2);
    std::memcpy(words.data(), dwords.data(), dwords.size() * 4);
    return words;
}

// `count` UTF-16 units of the template from word `at` (wchar_t is not 16 bits everywhere).
std::u16string Units(const std::vector<std::uint16_t>& words, size_t at, size_t count) {
    return std::u16string(words.begin() + static_cast<std::ptrdiff_t>(at),
                          words.begin() + static_cast<std::ptrdiff_t>(at + count));
}

TEST(DialogTemplate, HeaderWithoutControls) {
    const auto words = Words(DialogTemplate(0x80C800C0u, 0x1u, L"AB", 1, 2, 300, 200).Build());
    ASSERT_EQ(words.size(), 14u);  // 28 bytes: 7 whole double words
    EXPECT_EQ(words[0] | (words[1] << 16), 0x80C800C0u);  // style
    EXPECT_EQ(words[2] | (words[3] << 16), 0x1u);         // extended style
    EXPECT_EQ(words[4], 0u);                               // no controls
    EXPECT_EQ(words[5], 1u);
    EXPECT_EQ(words[6], 2u);
    EXPECT_EQ(words[7], 300u);
    EXPECT_EQ(words[8], 200u);
    EXPECT_EQ(words[9], 0u);   // no menu
    EXPECT_EQ(words[10], 0u);  // the predefined dialog class
    EXPECT_EQ(words[11], L'A');
    EXPECT_EQ(words[12], L'B');
    EXPECT_EQ(words[13], 0u);
}

TEST(DialogTemplate, FontSetsItsStyleAndControlsStartOnDwordBoundaries) {
    DialogTemplate t(0x80000000u, 0, L"X");
    t.Font(9, L"Tahoma");
    t.Control(DialogTemplate::kButton, 7, L"Ok", 0x50010001u, 0, 10, 20, 50, 14);
    t.Control(L"msctls_progress32", 8, L"", 0x50000000u, 0x200u, 1, 1, 2, 2);
    const auto dwords = t.Build();
    const auto words = Words(dwords);
    EXPECT_EQ(words[0] | (words[1] << 16), 0x80000000u | DialogTemplate::kSetFont);
    EXPECT_EQ(words[4], 2u);
    // Header 18 bytes, menu, class, "X\0": 26 bytes; then the point size and "Tahoma\0".
    EXPECT_EQ(words[13], 9u);
    EXPECT_EQ(Units(words, 14, 6), u"Tahoma");
    // 26 + 2 + 14 = 42 bytes: the first control starts at the next double word, 44.
    size_t at = 44 / 2;
    EXPECT_EQ(words[at] | (words[at + 1] << 16), 0x50010001u);
    EXPECT_EQ(words[at + 8], 7u);        // id
    EXPECT_EQ(words[at + 9], 0xFFFFu);   // a predefined class by atom
    EXPECT_EQ(words[at + 10], 0x0080u);  // button
    EXPECT_EQ(words[at + 11], L'O');
    EXPECT_EQ(words[at + 13], 0u);
    EXPECT_EQ(words[at + 14], 0u);  // no creation data
    // 18 + 4 + 6 + 2 = 30 bytes: the second control starts at 44 + 32.
    at = (44 + 32) / 2;
    EXPECT_EQ(words[at] | (words[at + 1] << 16), 0x50000000u);
    EXPECT_EQ(words[at + 2] | (words[at + 3] << 16), 0x200u);
    EXPECT_EQ(Units(words, at + 9, 17), u"msctls_progress32");
    EXPECT_EQ(dwords.size() * 4 % 4, 0u);
}

TEST(DialogTemplate, TextsAreUtf16WithSurrogatePairs) {
    // The same words whether wchar_t holds UTF-16 units or whole code points.
    const auto words = Words(DialogTemplate(0, 0, L"\u00E9\U0001F600").Build());
    EXPECT_EQ(Units(words, 11, 4), (std::u16string{0x00E9, 0xD83D, 0xDE00, 0}));
}

}  // namespace
}  // namespace support
