#include "support/components/customcolors.h"

#include <optional>

namespace support {
namespace {

constexpr wchar_t kHexDigits[] = L"0123456789ABCDEF";

std::optional<unsigned> HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return static_cast<unsigned>(c - L'0');
    if (c >= L'A' && c <= L'F') return static_cast<unsigned>(c - L'A' + 10);
    if (c >= L'a' && c <= L'f') return static_cast<unsigned>(c - L'a' + 10);
    return std::nullopt;
}

std::wstring_view TrimBlanks(std::wstring_view s) {
    while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t')) s.remove_suffix(1);
    return s;
}

// "RRGGBB" to 0x00BBGGRR.
std::optional<std::uint32_t> ParseEntry(std::wstring_view entry) {
    entry = TrimBlanks(entry);
    if (entry.size() != 6) return std::nullopt;
    std::uint32_t rgb = 0;
    for (wchar_t c : entry) {
        const auto d = HexDigit(c);
        if (!d) return std::nullopt;
        rgb = (rgb << 4) | *d;
    }
    const std::uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return r | (g << 8) | (b << 16);
}

}  // namespace

CustomColors::CustomColors() { colors_.fill(0xFFFFFF); }

std::wstring CustomColors::SaveToText() const {
    std::wstring text;
    text.reserve(kCount * 7);
    for (size_t i = 0; i < kCount; ++i) {
        if (i) text += L',';
        const std::uint32_t c = colors_[i];
        const unsigned channels[3] = {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
        for (unsigned v : channels) {
            text += kHexDigits[v >> 4];
            text += kHexDigits[v & 0xF];
        }
    }
    return text;
}

bool CustomColors::LoadFromText(std::wstring_view text) {
    Colors read{};
    size_t count = 0;
    for (;;) {
        const size_t comma = text.find(L',');
        const auto entry = ParseEntry(text.substr(0, comma));
        if (!entry || count == kCount) return false;
        read[count++] = *entry;
        if (comma == std::wstring_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (count != kCount) return false;
    colors_ = read;
    return true;
}

}  // namespace support
