#include "support/components/setting_value.h"

#include <climits>

namespace support {

std::optional<long> ParseSettingNumber(std::wstring_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    if (i == text.size()) return std::nullopt;
    long long n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        n = n * 10 + (text[i] - L'0');
        if (n > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    }
    if (negative) n = -n;
    if (n < INT_MIN || n > INT_MAX) return std::nullopt;
    return static_cast<long>(n);
}

std::wstring SettingTextFromBytes(std::span<const std::uint8_t> bytes) {
    auto unitAt = [&bytes](size_t i) { return static_cast<std::uint32_t>(bytes[i] | (bytes[i + 1] << 8)); };
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::uint32_t unit = unitAt(i);
        if (unit == 0) break;
        // A 16-bit wchar_t takes the UTF-16 units as they are. A 32-bit one (other platforms)
        // holds code points: a surrogate pair becomes its one character; a lone surrogate
        // stays as it is, as it would in a 16-bit text.
        if constexpr (sizeof(wchar_t) == 4) {
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
                const std::uint32_t next = unitAt(i + 2);
                if (next >= 0xDC00 && next <= 0xDFFF) {
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
                    i += 2;
                }
            }
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

}  // namespace support
