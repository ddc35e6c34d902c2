// The record a Monitor keeps: normalised rectangles, the device-name cut, sizes that overflow,
// the rectangle from a size, the one monitor of a host without monitor functions.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "lib/monitors/monitor_record.h"

using bk::MonitorRecord;
using support::Rect;

namespace {

MonitorRecord WithName(std::wstring_view name) {
    MonitorRecord r;
    for (size_t i = 0; i < name.size() && i < r.deviceName.size(); ++i) r.deviceName[i] = name[i];
    return r;
}

}  // namespace

TEST(MonitorRecord, StoringPutsTheEdgesOfBothRectanglesInOrder) {
    MonitorRecord r;
    r.monitor = Rect{1920, 1080, 0, 0};
    r.workArea = Rect{10, 1040, 1910, 0};
    r.flags = 5;
    const MonitorRecord s = bk::StoredMonitorRecord(r);
    EXPECT_EQ((Rect{0, 0, 1920, 1080}), s.monitor);
    EXPECT_EQ((Rect{10, 0, 1910, 1040}), s.workArea);
    EXPECT_EQ(5u, s.flags);
    // A monitor reported with left > right has a non-negative width once stored.
    EXPECT_EQ(1920, bk::Extent(s.monitor.left, s.monitor.right));
    // Rectangles already in order and negative coordinates (a monitor left of the primary) stay.
    r.monitor = Rect{-1280, -24, 0, 1000};
    EXPECT_EQ(r.monitor, bk::StoredMonitorRecord(r).monitor);
}

TEST(MonitorRecord, TheDeviceNameEndsAtItsFirstZeroAndNeverFillsTheWholeField) {
    EXPECT_EQ(L"\\\\.\\DISPLAY1", bk::MonitorDeviceName(bk::StoredMonitorRecord(WithName(L"\\\\.\\DISPLAY1"))));
    EXPECT_EQ(L"", bk::MonitorDeviceName(bk::StoredMonitorRecord(MonitorRecord{})));

    // 32 characters without a zero: the last one is cut, so 31 remain.
    const std::wstring full(32, L'A');
    EXPECT_EQ(std::wstring(31, L'A'), bk::MonitorDeviceName(bk::StoredMonitorRecord(WithName(full))));
    const std::wstring thirtyOne = L"\\\\.\\DISPLAY-with-a-long-name-31";
    ASSERT_EQ(31u, thirtyOne.size());
    EXPECT_EQ(thirtyOne, bk::MonitorDeviceName(bk::StoredMonitorRecord(WithName(thirtyOne))));

    // What follows the first zero is not part of the name.
    MonitorRecord r = WithName(L"AB");
    r.deviceName[3] = L'Z';
    EXPECT_EQ(L"AB", bk::MonitorDeviceName(bk::StoredMonitorRecord(r)));
}

TEST(MonitorRecord, ExtentsBeyondThirtyTwoBitsAreRefused) {
    EXPECT_EQ(0, bk::Extent(5, 5));
    EXPECT_EQ(INT_MAX, bk::Extent(0, INT_MAX));
    EXPECT_EQ(INT_MAX, bk::Extent(-1, INT_MAX - 1));
    EXPECT_FALSE(bk::Extent(-1, INT_MAX));
    EXPECT_FALSE(bk::Extent(INT_MIN, INT_MAX));
    EXPECT_FALSE(bk::Extent(INT_MIN, 0));
    EXPECT_EQ(INT_MIN + 1, bk::Extent(0, INT_MIN + 1));
}

TEST(MonitorRecord, ARectangleFromASizeKeepsItsEdgesInsideThirtyTwoBits) {
    EXPECT_EQ((Rect{0, 0, 10, 10}), bk::RectFromSize(0, 0, 10, 10));
    EXPECT_EQ((Rect{-5, 7, -2, 3}), bk::RectFromSize(-5, 7, 3, -4));  // negative sizes pass as given
    EXPECT_EQ((Rect{INT_MAX - 1, 0, INT_MAX, 1}), bk::RectFromSize(INT_MAX - 1, 0, 1, 1));
    EXPECT_FALSE(bk::RectFromSize(INT_MAX, 0, 1, 1));
    EXPECT_FALSE(bk::RectFromSize(0, INT_MAX, 1, 1));
    EXPECT_FALSE(bk::RectFromSize(INT_MIN, 0, -1, 0));
    EXPECT_FALSE(bk::RectFromSize(0, INT_MIN, 0, -1));
}

TEST(MonitorRecord, TheDesktopAsTheOnlyMonitorIsPrimaryAndNamedDisplay) {
    const MonitorRecord r = bk::SingleDisplayRecord(Rect{0, 0, 800, 600}, Rect{0, 0, 800, 572});
    EXPECT_EQ(1u, r.flags);
    EXPECT_EQ(L"DISPLAY", bk::MonitorDeviceName(r));
    EXPECT_EQ((Rect{0, 0, 800, 600}), r.monitor);
    EXPECT_EQ((Rect{0, 0, 800, 572}), r.workArea);
}
