#include "support/as/numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace support {
namespace {

std::wstring Widen(const char* first, const char* last) { return std::wstring(first, last); }

}  // namespace


std::wstring asFormatDouble(double value) {
    if (std::isnan(value)) return L"nan";
    if (std::isinf(value)) return value < 0 ? L"-inf" : L"inf";
    if (value == 0) return L"0";  // also -0
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (result.ec != std::errc()) return L"nan";  // cannot happen with this buffer size
    return Widen(buffer, result.ptr);
}

std::optional<std::wstring> asFormatInt64(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double whole = std::round(value);
    // 2^63 itself is out of range; -2^63 is the smallest value that fits.
    if (whole >= 9223372036854775808.0 || whole < -9223372036854775808.0) return std::nullopt;
    const auto n = static_cast<long long>(whole);
    return std::to_wstring(n);
}

double asLongToUnsignedLong(std::int32_t value) { return static_cast<double>(static_cast<std::uint32_t>(value)); }

double asLargeIntegerToDouble(std::int64_t value) { return static_cast<double>(value); }

}  // namespace support
