#include "support/as/text.h"

namespace support {

std::wstring TrimSet(std::wstring_view text, std::wstring_view set) {
    const auto first = text.find_first_not_of(set);
    if (first == std::wstring_view::npos) return {};
    const auto last = text.find_last_not_of(set);
    return std::wstring(text.substr(first, last - first + 1));
}

std::wstring asTrimEx(std::wstring_view text) { return TrimSet(text, L" "); }
std::wstring asTrimCRLF(std::wstring_view text) { return TrimSet(text, L"\r\n"); }
std::wstring asCutLeft(std::wstring_view text, size_t n) {
    return n >= text.size() ? std::wstring() : std::wstring(text.substr(n));
}

std::wstring asGetStringFromPointerW(const wchar_t* address) { return address ? std::wstring(address) : std::wstring(); }

}  // namespace support
