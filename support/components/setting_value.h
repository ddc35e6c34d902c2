// How stored setting values read back. Platform-free: the registry hands over raw bytes,
// which may come from any program, so their shape is checked here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace support {

// A whole decimal number with an optional sign, in the range of a 32-bit signed integer;
// nothing for any other text (blanks, fractions, digits of other scripts, an empty text).
std::optional<long> ParseSettingNumber(std::wstring_view text);

// The text of a string value's bytes (UTF-16 little-endian): up to the first null character,
// if any; an odd last byte is not part of any character and is dropped. Where wchar_t is 32
// bits, a surrogate pair gives its one character.
std::wstring SettingTextFromBytes(std::span<const std::uint8_t> bytes);

}  // namespace support
