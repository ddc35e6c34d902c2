#include "support/es/hex.h"

namespace support {
namespace {

std::wstring HexDigits(std::uint64_t value, int digits) {
    std::wstring text(static_cast<size_t>(digits) + 2, L'0');
    text[1] = L'x';
    for (int i = digits + 1; i >= 2; --i, value >>= 4) text[static_cast<size_t>(i)] = L"0123456789ABCDEF"[value & 0xF];
    return text;
}

}  // namespace

std::wstring esHexEx4(std::uint32_t value) { return HexDigits(value, 8); }

std::wstring esHexEx8(std::uint64_t value) { return HexDigits(value, 16); }

}  // namespace support
