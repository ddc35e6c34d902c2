// Version numbers, byte sizes and system names as the About box shows them.
#include <gtest/gtest.h>

#include "support/as/figure_texts.h"
#include "support/as/os_name.h"

using namespace support;

namespace {

TEST(FigureTexts, VersionPadsMinorAndRevision) {
    EXPECT_EQ(L"1.00.0000", asFormatVersion(1, 0, 0));
    EXPECT_EQ(L"3.08.0001", asFormatVersion(3, 8, 1));
    EXPECT_EQ(L"12.345.67890", asFormatVersion(12, 345, 67890)) << "wider numbers are not cut";
    EXPECT_EQ(L"-1.-05.0000", asFormatVersion(-1, -5, 0));
    EXPECT_EQ(L"-2147483648.00.0000", asFormatVersion(INT32_MIN, 0, 0));
}

TEST(FigureTexts, ByteSizesWithThreeSignificantDigits) {
    EXPECT_EQ(L"0 bytes", asFormatByteSizeEx(0));
    EXPECT_EQ(L"1023 bytes", asFormatByteSizeEx(1023));
    EXPECT_EQ(L"1.00 KB", asFormatByteSizeEx(1024));
    EXPECT_EQ(L"1.50 KB", asFormatByteSizeEx(1536));
    EXPECT_EQ(L"10.0 KB", asFormatByteSizeEx(10 * 1024 - 2)) << "9.998 rounds into the next width";
    EXPECT_EQ(L"100 KB", asFormatByteSizeEx(100 * 1024));
    EXPECT_EQ(L"1.00 MB", asFormatByteSizeEx(1024 * 1024 - 1)) << "1023.999 KB is shown as 1 MB";
    EXPECT_EQ(L"3.75 GB", asFormatByteSizeEx(3ull * 1024 * 1024 * 1024 + 768ull * 1024 * 1024));
    EXPECT_EQ(L"16.0 EB", asFormatByteSizeEx(UINT64_MAX));
}

TEST(FigureTexts, SystemNames) {
    OsVersionNumbers xp{5, 1, 2600, true, true, L"Service Pack 3"};
    EXPECT_EQ(L"Microsoft Windows XP (5.1.2600)\r\nService Pack 3", OsFullName(xp, true, true));
    EXPECT_EQ(L"Microsoft Windows XP", OsFullName(xp, false, false));
    EXPECT_EQ(L"Microsoft Windows 10 (10.0.19045)", OsFullName({10, 0, 19045, true, true, L""}, true, true));
    EXPECT_EQ(L"Microsoft Windows 11", OsFullName({10, 0, 22631, true, true, L""}, true, false));
    EXPECT_EQ(L"Microsoft Windows Server 2008 R2", OsFullName({6, 1, 7601, true, false, L""}, false, false));
    EXPECT_EQ(L"Microsoft Windows 98", OsFullName({4, 10, 1998, false, true, L""}, false, false));
    EXPECT_EQ(L"Microsoft Windows NT 12.3", OsFullName({12, 3, 1, true, true, L""}, false, false));
}

}  // namespace
