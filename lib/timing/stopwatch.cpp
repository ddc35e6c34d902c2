#include "lib/timing/stopwatch.h"

#include "support/as/numberformat.h"
#include "support/as/numbers.h"

namespace bk {

void TickStopwatch::FirstMark(bool beep) {
    if (beep) clock_.Beep();
    first_ = clock_.TickCount();
}

double TickStopwatch::DifferenceMs() const {
    return support::asLongToUnsignedLong(static_cast<std::int32_t>(last_ - first_));
}

void CounterStopwatch::FirstMark(bool beep) {
    if (beep) clock_.Beep();
    first_ = clock_.Counter();
}

double CounterStopwatch::Difference() const {
    // Subtracted in 64 bits, so a large counter loses no precision before the conversion;
    // unsigned, so marks taken in any order cannot overflow.
    const auto counts = static_cast<std::int64_t>(static_cast<std::uint64_t>(last_) - static_cast<std::uint64_t>(first_));
    return support::asLargeIntegerToDouble(counts);
}

double CounterStopwatch::FrequencyPerSec() const { return support::asLargeIntegerToDouble(clock_.CounterFrequency()); }

std::optional<double> CounterStopwatch::DifferenceMs() const {
    const double perMs = FrequencyPerMs();
    if (!(perMs > 0)) return std::nullopt;
    return Difference() / perMs;
}

std::optional<double> CounterStopwatch::DifferenceSec() const {
    const double perSec = FrequencyPerSec();
    if (!(perSec > 0)) return std::nullopt;
    return Difference() / perSec;
}

std::optional<std::wstring> StopwatchReport(double total, long iterations, bool integerValues, bool useSeconds) {
    const auto format = [&](double value) -> std::optional<std::wstring> {
        if (integerValues) return support::asFormatInt64(value);
        return support::asFormatDouble(value);
    };
    const wchar_t* const unit = useSeconds ? L" sec." : L" ms.";
    const auto totalText = format(total);
    if (!totalText) return std::nullopt;
    if (iterations <= 0) return *totalText + unit;
    const auto perText = format(total / iterations);
    if (!perText) return std::nullopt;
    return *perText + unit + L" / " + support::asFormatLong(iterations) + L" (" + *totalText + unit + L")";
}

}  // namespace bk
