#include "support/as/figure_texts.h"

#include <cstdio>
#include <iterator>

namespace support {
namespace {

std::wstring Padded(std::int32_t value, int digits) {
    wchar_t buffer[32];
    // The sign does not count towards the digits.
    if (value < 0) {
        std::swprintf(buffer, std::size(buffer), L"-%0*lld", digits, -static_cast<long long>(value));
    } else {
        std::swprintf(buffer, std::size(buffer), L"%0*d", digits, value);
    }
    return buffer;
}

}  // namespace

std::wstring asFormatVersion(std::int32_t major, std::int32_t minor, std::int32_t revision) {
    return Padded(major, 1) + L"." + Padded(minor, 2) + L"." + Padded(revision, 4);
}

std::wstring asFormatByteSizeEx(std::uint64_t bytes) {
    if (bytes < 1024) return std::to_wstring(bytes) + L" bytes";
    static constexpr const wchar_t* kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB", L"EB"};
    double value = static_cast<double>(bytes) / 1024.0;
    size_t unit = 0;
    // Three significant digits: 2 decimals below 10, 1 below 100, none below 1024. A value
    // that rounds to 1024 moves on to the next unit.
    for (;;) {
        const int decimals = value < 9.995 ? 2 : value < 99.95 ? 1 : 0;
        if (decimals == 0 && value >= 1023.5 && unit + 1 < std::size(kUnits)) {
            value /= 1024.0;
            ++unit;
            continue;
        }
        wchar_t buffer[64];
        std::swprintf(buffer, std::size(buffer), L"%.*f %ls", decimals, value, kUnits[unit]);
        return buffer;
    }
}

}  // namespace support
