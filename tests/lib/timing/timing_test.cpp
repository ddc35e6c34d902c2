// orxBenchMark and orxBenchMarkHP on the system's clocks: marks around a real pause give a
// plausible time and the figures agree with each other. The exact texts are the stopwatch
// tests' (stopwatch_test.cpp); late-bound calls with their defaults the script client's.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/harness/library.h"

using namespace bktest;

namespace {

template <class T>
double Figure(T* object, HRESULT (STDMETHODCALLTYPE T::*member)(double*)) {
    double v = -1;
    EXPECT_EQ(S_OK, (object->*member)(&v));
    return v;
}

template <class T>
std::wstring Report(T* object, LONG iterations, VARIANT_BOOL integerValues, VARIANT_BOOL useSeconds) {
    Bstr text;
    EXPECT_EQ(S_OK, object->toString(iterations, integerValues, useSeconds, text.put()));
    return text.str();
}

// A pause of 100 ms measured by a stopwatch: generous bounds, since a busy machine may
// stretch it and the tick count moves in steps (under Wine it was seen 20 ms behind).
constexpr double kPauseMs = 100;
constexpr double kAtLeastMs = 90;
constexpr double kTicksAtLeastMs = 50;
constexpr double kAtMostMs = 5000;

}  // namespace

TEST(BenchMark, ANewTimerMeasuresNothing) {
    auto watch = Create<_orxBenchMark>(CLSID_orxBenchMark);
    ASSERT_TRUE(watch);
    EXPECT_EQ(0.0, Figure(watch.get(), &_orxBenchMark::GetTickDifferenceMS));
    EXPECT_EQ(L"0 sec.", Report(watch.get(), 0, VARIANT_FALSE, VARIANT_TRUE));
    auto hp = Create<_orxBenchMarkHP>(CLSID_orxBenchMarkHP);
    ASSERT_TRUE(hp);
    EXPECT_EQ(0.0, Figure(hp.get(), &_orxBenchMarkHP::GetTickDifference));
    EXPECT_EQ(L"0 ms.", Report(hp.get(), 0, VARIANT_FALSE, VARIANT_FALSE));
}

TEST(BenchMark, MarksAroundAPauseGiveAPlausibleTime) {
    auto watch = Create<_orxBenchMark>(CLSID_orxBenchMark);
    ASSERT_TRUE(watch);
    ASSERT_EQ(S_OK, watch->FirstMark(VARIANT_FALSE));
    Sleep(static_cast<DWORD>(kPauseMs));
    ASSERT_EQ(S_OK, watch->LastMark());
    const double ms = Figure(watch.get(), &_orxBenchMark::GetTickDifferenceMS);
    EXPECT_GE(ms, kTicksAtLeastMs);
    EXPECT_LE(ms, kAtMostMs);
    EXPECT_EQ(ms, static_cast<double>(static_cast<long long>(ms)));  // whole milliseconds
    EXPECT_DOUBLE_EQ(ms / 1000, Figure(watch.get(), &_orxBenchMark::GetTickDifferenceSec));
    // Asking again changes nothing: the figures are those of the marks.
    Sleep(20);
    EXPECT_EQ(ms, Figure(watch.get(), &_orxBenchMark::GetTickDifferenceMS));
}

TEST(BenchMark, ALastMarkWithoutAFirstCountsFromZero) {
    auto watch = Create<_orxBenchMark>(CLSID_orxBenchMark);
    ASSERT_TRUE(watch);
    const DWORD before = GetTickCount();
    ASSERT_EQ(S_OK, watch->LastMark());
    const DWORD after = GetTickCount();
    const double ms = Figure(watch.get(), &_orxBenchMark::GetTickDifferenceMS);
    EXPECT_GE(ms, static_cast<double>(before));
    EXPECT_LE(ms, static_cast<double>(after));
}

TEST(BenchMarkHP, MarksAroundAPauseGiveAPlausibleTimeInEveryUnit) {
    auto watch = Create<_orxBenchMarkHP>(CLSID_orxBenchMarkHP);
    ASSERT_TRUE(watch);
    ASSERT_EQ(S_OK, watch->FirstMark(VARIANT_FALSE));
    Sleep(static_cast<DWORD>(kPauseMs));
    ASSERT_EQ(S_OK, watch->LastMark());

    LARGE_INTEGER frequency{};
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    const double perSec = Figure(watch.get(), &_orxBenchMarkHP::GetTickFrequencyPerSec);
    EXPECT_EQ(static_cast<double>(frequency.QuadPart), perSec);
    EXPECT_DOUBLE_EQ(perSec / 1000, Figure(watch.get(), &_orxBenchMarkHP::GetTickFrequencyPerMS));

    const double counts = Figure(watch.get(), &_orxBenchMarkHP::GetTickDifference);
    const double ms = Figure(watch.get(), &_orxBenchMarkHP::GetTickDifferenceMS);
    const double sec = Figure(watch.get(), &_orxBenchMarkHP::GetTickDifferenceSec);
    EXPECT_GE(ms, kAtLeastMs);
    EXPECT_LE(ms, kAtMostMs);
    EXPECT_DOUBLE_EQ(counts / perSec, sec);
    EXPECT_DOUBLE_EQ(sec * 1000, ms);
}

TEST(BenchMarkHP, ALastMarkWithoutAFirstCountsFromZero) {
    auto watch = Create<_orxBenchMarkHP>(CLSID_orxBenchMarkHP);
    ASSERT_TRUE(watch);
    LARGE_INTEGER before{}, after{};
    QueryPerformanceCounter(&before);
    ASSERT_EQ(S_OK, watch->LastMark());
    QueryPerformanceCounter(&after);
    const double counts = Figure(watch.get(), &_orxBenchMarkHP::GetTickDifference);
    EXPECT_GE(counts, static_cast<double>(before.QuadPart));
    EXPECT_LE(counts, static_cast<double>(after.QuadPart));
}
