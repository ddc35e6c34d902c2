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
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == L'\0') break;
        text += unit;
    }
    return text;
}

}  // namespace support
