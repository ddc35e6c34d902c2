#include "support/as/errornumber.h"

#include <cstdint>

namespace support {

std::wstring asGetErrorNumber(long number) {
    if (number >= -65535 && number <= 65535) return std::to_wstring(number);
    const auto value = static_cast<std::uint32_t>(number);
    std::wstring text = L"0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += L"0123456789ABCDEF"[(value >> shift) & 0xF];
    return text;
}

}  // namespace support
