// Numbers as hexadecimal text of a fixed width. Platform-free.
//
// The texts are "0x" followed by upper-case digits, zero-padded to the width of the value's
// type: 10 characters for a 32-bit value, 18 for a 64-bit one, so that columns of them line up.
#pragma once

#include <cstdint>
#include <string>

namespace support {

// A 32-bit value as "0x" and 8 digits ("0x00400000").
std::wstring esHexEx4(std::uint32_t value);

// A 64-bit value as "0x" and 16 digits ("0x0000000140000000").
std::wstring esHexEx8(std::uint64_t value);

}  // namespace support
