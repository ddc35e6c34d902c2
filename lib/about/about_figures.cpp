#include "lib/about/about_figures.h"

#include <cmath>

namespace bk {
namespace {

constexpr int64_t kUnitsPerMs = 10000;  // 100-nanosecond units in a millisecond

// `units` in whole milliseconds, halves to even.
int64_t RoundToMs(int64_t units) {
    int64_t q = units / kUnitsPerMs;
    int64_t r = units % kUnitsPerMs;  // same sign as units
    if (r < 0) {
        r += kUnitsPerMs;
        --q;
    }
    if (r * 2 > kUnitsPerMs || (r * 2 == kUnitsPerMs && (q % 2 != 0))) ++q;
    return q;
}

std::wstring TwoDigits(int64_t n) {
    std::wstring s = std::to_wstring(n);
    if (s.size() < 2) s.insert(0, 2 - s.size(), L'0');
    return s;
}

}  // namespace

std::wstring FormatDuration(double count) {
    // Up to about 29,000 years: far beyond any process, and safe from overflow below.
    if (!std::isfinite(count) || count < 0 || count > 9.0e18) return std::wstring(kFigureError);
    // Whole milliseconds first (halves to even), then whole divisions: a rest just below an
    // hour or a minute carries into it rather than showing as 60 minutes or seconds.
    int64_t ms = RoundToMs(std::llround(count));
    const int64_t hours = ms / 3600000;
    ms -= hours * 3600000;
    const int64_t minutes = ms / 60000;
    ms -= minutes * 60000;
    const int64_t seconds = ms / 1000;
    ms -= seconds * 1000;
    return std::to_wstring(hours) + L":" + TwoDigits(minutes) + L":" + TwoDigits(seconds) + L"." + std::to_wstring(ms);
}

std::wstring FreePhysicalMemoryText(std::wstring_view available, uint32_t memoryLoadPercent) {
    const uint32_t load = memoryLoadPercent > 100 ? 100 : memoryLoadPercent;
    return std::wstring(available) + L" (" + std::to_wstring(100 - load) + L"%)";
}

double ElapsedUnits(std::uint64_t creation, std::uint64_t exit, std::uint64_t now) {
    const std::uint64_t end = exit == 0 ? now : exit;
    return end > creation ? static_cast<double>(end - creation) : 0.0;
}

std::wstring DateTimeText(std::wstring_view date, std::wstring_view time) {
    return std::wstring(date) + L" " + std::wstring(time);
}

}  // namespace bk
