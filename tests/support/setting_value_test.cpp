// Stored setting values as they read back: numbers from text, text from raw registry bytes.
#include <gtest/gtest.h>

#include <vector>

#include "support/components/setting_value.h"

namespace support {
namespace {

TEST(SettingNumber, WholeDecimalNumbersInTheRangeOfALong) {
    EXPECT_EQ(ParseSettingNumber(L"0"), 0);
    EXPECT_EQ(ParseSettingNumber(L"-16384"), -16384);
    EXPECT_EQ(ParseSettingNumber(L"+7"), 7);
    EXPECT_EQ(ParseSettingNumber(L"2147483647"), 2147483647L);
    EXPECT_EQ(ParseSettingNumber(L"-2147483648"), -2147483647L - 1);
    for (const wchar_t* bad : {L"", L"-", L"+", L" 1", L"1 ", L"1.5", L"0x10", L"2147483648", L"-2147483649",
                               L"99999999999999999999", L"\u0661"})
        EXPECT_FALSE(ParseSettingNumber(bad).has_value()) << bad;
}

TEST(SettingText, StopsAtTheFirstNullAndDropsAnOddLastByte) {
    const std::vector<std::uint8_t> withNull{'a', 0, 'b', 0, 0, 0, 'c', 0};
    EXPECT_EQ(SettingTextFromBytes(withNull), L"ab");
    const std::vector<std::uint8_t> unterminated{0x1F, 0x04, 'x', 0};  // "Пx" without a terminator
    EXPECT_EQ(SettingTextFromBytes(unterminated), L"\u041Fx");
    const std::vector<std::uint8_t> odd{'a', 0, 'b'};
    EXPECT_EQ(SettingTextFromBytes(odd), L"a");
    EXPECT_EQ(SettingTextFromBytes({}), L"");
}

TEST(SettingText, SurrogatePairsAreOneCharacterAndLoneSurrogatesStay) {
    // U+1F600 as UTF-16 LE: the same text whether wchar_t holds UTF-16 units or code points.
    const std::vector<std::uint8_t> pair{0x3D, 0xD8, 0x00, 0xDE, '!', 0};
    EXPECT_EQ(SettingTextFromBytes(pair), L"\U0001F600!");
    const std::vector<std::uint8_t> lone{0x3D, 0xD8, 'x', 0, 0x00, 0xDE};
    const auto high = static_cast<wchar_t>(0xD83D), low = static_cast<wchar_t>(0xDE00);
    EXPECT_EQ(SettingTextFromBytes(lone), (std::wstring{high, L'x', low}));
    const std::vector<std::uint8_t> cut{0x3D, 0xD8, 0x00};  // the odd byte is no unit
    EXPECT_EQ(SettingTextFromBytes(cut), std::wstring(1, high));
}

}  // namespace
}  // namespace support
