// The texts of the About dialog's figures: process times and memory. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bk {

inline constexpr std::wstring_view kNotAvailable = L"N/A";
inline constexpr std::wstring_view kFigureError = L"*Error*";

// A duration given in 100-nanosecond units as "h:mm:ss.m": hours as a plain number, minutes and
// seconds as two digits, then the remaining whole milliseconds as a plain number (5 ms give
// ".5", 250 ms ".250"). The count is rounded to whole milliseconds, halves to even, before it
// is divided. "*Error*" for a negative, infinite or too large count.
std::wstring FormatDuration(double count);

// The free share of physical memory: "<available> (<100 - load>%)".
std::wstring FreePhysicalMemoryText(std::wstring_view available, uint32_t memoryLoadPercent);

// The process's elapsed time in 100-nanosecond units: exit minus creation, where an exit time
// of 0 (the process still runs) stands for `now`. Never negative (a clock set back gives 0).
double ElapsedUnits(std::uint64_t creation, std::uint64_t exit, std::uint64_t now);

// "<date> <time>", as the creation time shows.
std::wstring DateTimeText(std::wstring_view date, std::wstring_view time);

}  // namespace bk
