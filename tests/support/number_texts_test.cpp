// Hexadecimal texts of a fixed width and numbers with digit grouping.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "support/as/numberformat.h"
#include "support/es/hex.h"

namespace support {
namespace {

TEST(HexTexts, KeepTheirWidthFromZeroToTheLargestValue) {
    EXPECT_EQ(esHexEx4(0), L"0x00000000");
    EXPECT_EQ(esHexEx4(0x400000), L"0x00400000");
    EXPECT_EQ(esHexEx4(0xDEADBEEF), L"0xDEADBEEF");
    EXPECT_EQ(esHexEx4(std::numeric_limits<std::uint32_t>::max()), L"0xFFFFFFFF");

    EXPECT_EQ(esHexEx8(0), L"0x0000000000000000");
    EXPECT_EQ(esHexEx8(0x140000000ull), L"0x0000000140000000");
    EXPECT_EQ(esHexEx8(0x00007FFA12345678ull), L"0x00007FFA12345678");
    EXPECT_EQ(esHexEx8(std::numeric_limits<std::uint64_t>::max()), L"0xFFFFFFFFFFFFFFFF");
}

TEST(GroupedNumbers, GroupsOfThreeFromTheRight) {
    EXPECT_EQ(FormatGroupedNumber(0), L"0");
    EXPECT_EQ(FormatGroupedNumber(999), L"999");
    EXPECT_EQ(FormatGroupedNumber(1000), L"1,000");
    EXPECT_EQ(FormatGroupedNumber(122880), L"122,880");
    EXPECT_EQ(FormatGroupedNumber(1000000), L"1,000,000");
    // The largest 32-bit size fills the 13-character column of a module line exactly.
    EXPECT_EQ(FormatGroupedNumber(4294967295u), L"4,294,967,295");
    EXPECT_EQ(FormatGroupedNumber(std::numeric_limits<std::uint64_t>::max()), L"18,446,744,073,709,551,615");
}

TEST(GroupedNumbers, SignedValuesDownToTheSmallest) {
    EXPECT_EQ(asFormatLong(0), L"0");
    EXPECT_EQ(asFormatLong(-1), L"-1");
    EXPECT_EQ(asFormatLong(-999), L"-999");
    EXPECT_EQ(asFormatLong(-1000), L"-1,000");
    EXPECT_EQ(asFormatLong(65536), L"65,536");
    EXPECT_EQ(asFormatLong(std::numeric_limits<std::int32_t>::max()), L"2,147,483,647");
    EXPECT_EQ(asFormatLong(std::numeric_limits<std::int32_t>::min()), L"-2,147,483,648");
    EXPECT_EQ(FormatGroupedInt64(5000000000ll), L"5,000,000,000");
    EXPECT_EQ(FormatGroupedInt64(std::numeric_limits<std::int64_t>::min()), L"-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace support
