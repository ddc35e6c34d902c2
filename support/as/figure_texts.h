// Version numbers and byte counts as the About box shows them. Platform-free; the texts do
// not follow the locale.
#pragma once

#include <cstdint>
#include <string>

namespace support {

// major "." minor with at least two digits "." revision with at least four: "3.08.0001",
// "1.00.0000". A negative part keeps its sign ("-1.05.0000").
std::wstring asFormatVersion(std::int32_t major, std::int32_t minor, std::int32_t revision);

// A byte count as a short text: "0 bytes" to "1023 bytes", then KB, MB, GB, TB, PB, EB
// (steps of 1024) with three significant digits, rounded to nearest: "1.00 KB", "15.5 MB",
// "512 GB". A value that rounds up to 1024 of a unit is shown in the next unit ("1.00 MB").
std::wstring asFormatByteSizeEx(std::uint64_t bytes);

}  // namespace support
