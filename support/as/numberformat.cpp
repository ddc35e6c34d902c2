#include "support/as/numberformat.h"

namespace support {

std::wstring FormatGroupedNumber(std::uint64_t value) {
    const std::wstring digits = std::to_wstring(value);
    std::wstring text;
    text.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += L',';
        text += digits[i];
    }
    return text;
}

std::wstring FormatGroupedInt64(std::int64_t value) {
    if (value >= 0) return FormatGroupedNumber(static_cast<std::uint64_t>(value));
    // The magnitude taken in unsigned arithmetic, so that the smallest value has one too.
    return L"-" + FormatGroupedNumber(0 - static_cast<std::uint64_t>(value));
}

std::wstring asFormatLong(std::int32_t value) { return FormatGroupedInt64(value); }

}  // namespace support
