// Whole numbers as text with digit grouping. Platform-free.
//
// The grouping is fixed, not taken from the user's locale: a comma between groups of three
// digits ("1,234,567", "-65,536"). Texts that feed fixed-width columns then have one width
// for a given value on every system (the largest 32-bit count, "4,294,967,295", is 13
// characters).
#pragma once

#include <cstdint>
#include <string>

namespace support {

// A non-negative count with digit grouping ("0", "999", "1,000").
std::wstring FormatGroupedNumber(std::uint64_t value);

// A 32-bit signed value with digit grouping and a leading "-" when negative.
std::wstring asFormatLong(std::int32_t value);

// A 64-bit signed value with digit grouping and a leading "-" when negative.
std::wstring FormatGroupedInt64(std::int64_t value);

}  // namespace support
