// The About dialog's figure texts.
#include <gtest/gtest.h>

#include <limits>

#include "lib/about/about_figures.h"

using bk::FormatDuration;

namespace {

constexpr double kMs = 10000.0;  // 100-nanosecond units per millisecond

TEST(FormatDuration, HoursMinutesSecondsAndPlainMilliseconds) {
    EXPECT_EQ(L"1:02:03.4", FormatDuration(3723004 * kMs));
    EXPECT_EQ(L"0:00:00.0", FormatDuration(0));
    EXPECT_EQ(L"0:00:00.5", FormatDuration(5 * kMs));
    EXPECT_EQ(L"0:00:00.250", FormatDuration(250 * kMs));
    EXPECT_EQ(L"0:00:59.999", FormatDuration(59999 * kMs));
    EXPECT_EQ(L"0:01:00.0", FormatDuration(60000 * kMs));
    EXPECT_EQ(L"25:00:00.0", FormatDuration(25 * 3600000 * kMs)) << "hours do not wrap at a day";
    EXPECT_EQ(L"123456:00:00.0", FormatDuration(123456.0 * 3600000 * kMs));
}

TEST(FormatDuration, PartsOfAMillisecondRoundHalvesToEven) {
    EXPECT_EQ(L"0:00:00.2", FormatDuration(2.5 * kMs));
    EXPECT_EQ(L"0:00:00.4", FormatDuration(3.5 * kMs));
    EXPECT_EQ(L"0:00:00.3", FormatDuration(2.6 * kMs));
    // A rest that rounds up to a whole second or minute carries into it.
    EXPECT_EQ(L"0:00:01.0", FormatDuration(999.6 * kMs));
    EXPECT_EQ(L"0:01:00.0", FormatDuration(59999.6 * kMs));
    EXPECT_EQ(L"1:00:00.0", FormatDuration(3599999.7 * kMs));
}

TEST(FormatDuration, CountsThatAreNoDurationAreAnError) {
    EXPECT_EQ(L"*Error*", FormatDuration(-1));
    EXPECT_EQ(L"*Error*", FormatDuration(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(L"*Error*", FormatDuration(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(L"*Error*", FormatDuration(1e19));
}

TEST(AboutFigures, MemoryAndDateTexts) {
    EXPECT_EQ(L"1.50 GB (37%)", bk::FreePhysicalMemoryText(L"1.50 GB", 63));
    EXPECT_EQ(L"0 bytes (0%)", bk::FreePhysicalMemoryText(L"0 bytes", 250));
    EXPECT_EQ(L"08.12.2026 21:05", bk::DateTimeText(L"08.12.2026", L"21:05"));
}

}  // namespace

namespace {

TEST(ElapsedUnits, ZeroExitMeansUpToNow) {
    EXPECT_EQ(500.0, bk::ElapsedUnits(1000, 0, 1500)) << "still running: up to now";
    EXPECT_EQ(200.0, bk::ElapsedUnits(1000, 1200, 99999)) << "ended: up to its exit";
    EXPECT_EQ(0.0, bk::ElapsedUnits(1000, 0, 900)) << "a clock set back";
    EXPECT_EQ(L"1:02:03.4", bk::FormatDuration(bk::ElapsedUnits(0x01D0000000000000ull, 0,
                                                                0x01D0000000000000ull + 37230040000ull)));
}

}  // namespace
