// The timers' differences and report lines, on a clock the tests set.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "lib/timing/stopwatch.h"
#include "support/as/numberformat.h"
#include "support/as/numbers.h"

namespace {

// A clock that stands where the test puts it and notes every beep and reading in order.
class TestClock : public bk::StopwatchClock {
public:
    void Beep() override { events.push_back("beep"); }
    std::uint32_t TickCount() override {
        events.push_back("ticks");
        return ticks;
    }
    std::int64_t Counter() override {
        events.push_back("counter");
        return counter;
    }
    std::int64_t CounterFrequency() override { return frequency; }

    std::uint32_t ticks = 0;
    std::int64_t counter = 0;
    std::int64_t frequency = 10'000'000;
    std::vector<std::string> events;
};

}  // namespace

TEST(TickStopwatch, MarksAndDifferences) {
    TestClock clock;
    bk::TickStopwatch watch(clock);
    clock.ticks = 5000;
    watch.FirstMark(true);
    clock.ticks = 5250;
    watch.LastMark();
    EXPECT_EQ(250.0, watch.DifferenceMs());
    EXPECT_EQ(0.25, watch.DifferenceSec());
    // The beep comes before the mark, so it is not part of the measured time.
    EXPECT_EQ((std::vector<std::string>{"beep", "ticks", "ticks"}), clock.events);

    clock.events.clear();
    watch.FirstMark(false);
    EXPECT_EQ((std::vector<std::string>{"ticks"}), clock.events);
}

TEST(TickStopwatch, ATickCountThatWrapsBetweenTheMarksStillGivesTheTimeThatPassed) {
    TestClock clock;
    bk::TickStopwatch watch(clock);
    clock.ticks = 0xFFFFFF00u;  // 256 ms before the wrap
    watch.FirstMark(false);
    clock.ticks = 0x00000100u;  // 256 ms after it
    watch.LastMark();
    EXPECT_EQ(512.0, watch.DifferenceMs());
    EXPECT_EQ(0.512, watch.DifferenceSec());

    // Large differences without a wrap are read unsigned as well.
    clock.ticks = 0x10;
    watch.FirstMark(false);
    clock.ticks = 0xF0000010u;
    watch.LastMark();
    EXPECT_EQ(4026531840.0, watch.DifferenceMs());
}

TEST(TickStopwatch, ALastMarkWithoutAFirstMeasuresFromZero) {
    TestClock clock;
    bk::TickStopwatch watch(clock);
    EXPECT_EQ(0.0, watch.DifferenceMs());
    clock.ticks = 0xFFFFFFFFu;
    watch.LastMark();
    EXPECT_EQ(4294967295.0, watch.DifferenceMs());
}

TEST(CounterStopwatch, DifferencesInCountsAndTimeFollowTheFrequency) {
    TestClock clock;
    bk::CounterStopwatch watch(clock);
    clock.counter = 1'000'000'000'000;
    watch.FirstMark(true);
    clock.counter += 2'500'000;  // 0.25 s at 10 MHz
    watch.LastMark();
    EXPECT_EQ((std::vector<std::string>{"beep", "counter", "counter"}), clock.events);
    EXPECT_EQ(2'500'000.0, watch.Difference());
    EXPECT_EQ(10'000'000.0, watch.FrequencyPerSec());
    EXPECT_EQ(10'000.0, watch.FrequencyPerMs());
    EXPECT_EQ(250.0, watch.DifferenceMs());
    EXPECT_EQ(0.25, watch.DifferenceSec());

    // The frequency is asked each time, not kept from the first call.
    clock.frequency = 5'000'000;
    EXPECT_EQ(0.5, watch.DifferenceSec());
    EXPECT_EQ(5000.0, watch.FrequencyPerMs());
}

TEST(CounterStopwatch, ALargeCounterLosesNoCountsAndMarksInEitherOrderGiveASignedDifference) {
    TestClock clock;
    bk::CounterStopwatch watch(clock);
    // Beyond 2^53 a double cannot hold every count: the difference is taken before converting.
    clock.counter = (std::int64_t{1} << 60) + 1;
    watch.FirstMark(false);
    clock.counter += 3;
    watch.LastMark();
    EXPECT_EQ(3.0, watch.Difference());

    clock.counter -= 10;
    watch.FirstMark(false);
    EXPECT_EQ(10.0, watch.Difference());
    clock.counter += 20;
    watch.FirstMark(false);  // a first mark taken after the last one: negative
    EXPECT_EQ(-10.0, watch.Difference());
}

TEST(CounterStopwatch, WithoutACounterThereIsNoTime) {
    TestClock clock;
    clock.frequency = 0;
    bk::CounterStopwatch watch(clock);
    clock.counter = 100;
    watch.LastMark();
    EXPECT_EQ(100.0, watch.Difference());
    EXPECT_FALSE(watch.DifferenceMs());
    EXPECT_FALSE(watch.DifferenceSec());
    EXPECT_EQ(0.0, watch.FrequencyPerSec());
}

TEST(StopwatchReport, TotalsInSecondsOrMilliseconds) {
    EXPECT_EQ(L"0.1 sec.", bk::StopwatchReport(0.1, 0, false, true));
    EXPECT_EQ(L"100 ms.", bk::StopwatchReport(100, 0, false, false));
    EXPECT_EQ(L"1.234 sec.", bk::StopwatchReport(1.234, 0, false, true));
    // No iterations, zero and negative counts are all the plain total.
    EXPECT_EQ(L"0.1 sec.", bk::StopwatchReport(0.1, -3, false, true));
    EXPECT_EQ(L"0 ms.", bk::StopwatchReport(0, 0, false, false));
}

TEST(StopwatchReport, PerIterationWithTheCountAndTheTotal) {
    EXPECT_EQ(L"25 ms. / 4 (100 ms.)", bk::StopwatchReport(100, 4, false, false));
    EXPECT_EQ(L"0.025 sec. / 4 (0.1 sec.)", bk::StopwatchReport(0.1, 4, false, true));
    EXPECT_EQ(L"33.3333333333333 ms. / 3 (100 ms.)", bk::StopwatchReport(100, 3, false, false));
    // Tiny figures per iteration keep their digits instead of reading as 0.
    EXPECT_EQ(L"2e-07 sec. / 1,000,000 (0.2 sec.)", bk::StopwatchReport(0.2, 1'000'000, false, true));
}

TEST(StopwatchReport, WholeNumbersRoundHalvesAwayFromZero) {
    EXPECT_EQ(L"26 ms. / 4 (103 ms.)", bk::StopwatchReport(102.5, 4, true, false));
    EXPECT_EQ(L"0 sec. / 4 (1 sec.)", bk::StopwatchReport(0.5, 4, true, true));
    EXPECT_EQ(L"-3 ms.", bk::StopwatchReport(-2.5, 0, true, false));
    // Beyond the 64-bit range there is no whole number to write.
    EXPECT_FALSE(bk::StopwatchReport(1e19, 0, true, false));
    EXPECT_FALSE(bk::StopwatchReport(1e19, 0, false, false) == std::nullopt);
}

TEST(NumberTexts, FormatsOfTheSupportCalls) {
    EXPECT_EQ(L"-2,147,483,648", support::asFormatLong(-2147483647 - 1));
    EXPECT_EQ(L"4,000", support::asFormatLong(4000));
    EXPECT_EQ(L"0", support::asFormatDouble(-0.0));
    EXPECT_EQ(L"1500", support::asFormatDouble(1500));
    EXPECT_EQ(L"0.3", support::asFormatDouble(0.1 + 0.2));
    EXPECT_EQ(L"1e+20", support::asFormatDouble(1e20));
    EXPECT_EQ(L"-9223372036854775808", support::asFormatInt64(-9223372036854775808.0));
    EXPECT_FALSE(support::asFormatInt64(9223372036854775808.0));
    EXPECT_FALSE(support::asFormatInt64(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(4294967295.0, support::asLongToUnsignedLong(-1));
    EXPECT_EQ(2147483648.0, support::asLongToUnsignedLong(INT32_MIN));
}
