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

}  // namespace
}  // namespace support
