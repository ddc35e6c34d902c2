// The benchmark timers' rules: marks, differences and the report line. Platform-free: the
// time comes from a StopwatchClock, the system's in the library and one the tests control.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bk {

// What the timers need of the system.
class StopwatchClock {
public:
    virtual ~StopwatchClock() = default;
    // The simple beep that announces a first mark.
    virtual void Beep() = 0;
    // Milliseconds since the system started, in 32 bits: wraps to 0 after about 49.7 days.
    virtual std::uint32_t TickCount() = 0;
    // The high-resolution counter and its counts per second (0: the host has none).
    virtual std::int64_t Counter() = 0;
    virtual std::int64_t CounterFrequency() = 0;
};

// Millisecond marks of the tick count. Both marks start at 0; their order is not checked.
class TickStopwatch {
public:
    explicit TickStopwatch(StopwatchClock& clock) : clock_(clock) {}

    void FirstMark(bool beep);
    void LastMark() { last_ = clock_.TickCount(); }

    // Milliseconds from the first mark to the last, counted modulo 2^32: a tick count that
    // wrapped between the marks still gives the time that passed.
    double DifferenceMs() const;
    double DifferenceSec() const { return DifferenceMs() / 1000; }

private:
    StopwatchClock& clock_;
    std::uint32_t first_ = 0;
    std::uint32_t last_ = 0;
};

// Marks of the high-resolution counter. Both marks start at 0; their order is not checked.
// The frequency is asked afresh for every figure that needs it; a host without the counter
// (frequency 0) has no figures in time units.
class CounterStopwatch {
public:
    explicit CounterStopwatch(StopwatchClock& clock) : clock_(clock) {}

    void FirstMark(bool beep);
    void LastMark() { last_ = clock_.Counter(); }

    // Counts from the first mark to the last.
    double Difference() const;
    double FrequencyPerSec() const;
    double FrequencyPerMs() const { return FrequencyPerSec() / 1000; }
    std::optional<double> DifferenceMs() const;
    std::optional<double> DifferenceSec() const;

private:
    StopwatchClock& clock_;
    std::int64_t first_ = 0;
    std::int64_t last_ = 0;
};

// The report line for a total of `total` milliseconds or seconds (`useSeconds`):
//   iterations > 0:  "<per> ms. / <iterations> (<total> ms.)"  (" sec." for seconds)
//   otherwise:       "<total> ms."
// Values with decimals, or rounded to whole numbers when `integerValues`. Nothing when a
// value cannot be written as a whole number (beyond the 64-bit range).
std::optional<std::wstring> StopwatchReport(double total, long iterations, bool integerValues, bool useSeconds);

}  // namespace bk
