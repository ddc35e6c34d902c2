// Numbers as text and numeric conversions of the support library. Platform-free.
// The texts do not depend on the locale: digits, an optional "-", "." as decimal separator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace support {

// (asFormatLong, with digit grouping, is in numberformat.h.)

// A double in decimal with up to 15 significant digits and no trailing zeros ("0.25",
// "1500", "0.333333333333333"); in exponent form when very small or very large ("1e-07",
// "1e+20"). "inf", "-inf" and "nan" for the values that are not numbers.
std::wstring asFormatDouble(double value);

// A double rounded to a whole number (halves away from zero) in decimal ("3", "-2");
// nothing when the value is not a number or lies outside the 64-bit signed range.
std::optional<std::wstring> asFormatInt64(double value);

// A 32-bit value read as unsigned (0 to 4294967295).
double asLongToUnsignedLong(std::int32_t value);

// A 64-bit count as a double (exact up to 2^53).
double asLargeIntegerToDouble(std::int64_t value);

}  // namespace support
