// UTF-8 and UTF-16 conversions of the support library. Platform-free: byte layouts are the
// same everywhere, whatever the width of wchar_t (16 bits on Windows, 32 bits elsewhere).
#pragma once

#include <string>
#include <string_view>

namespace support {

// The text as UTF-8 bytes. A lone surrogate (no character) becomes U+FFFD, as the system's
// conversion makes it.
std::string asUNICODEToUTF8(std::wstring_view text);

// The text of UTF-8 bytes. Each ill-formed part (a stray continuation byte, a sequence cut
// short, an overlong form, a surrogate or a value past U+10FFFF) becomes one U+FFFD for each
// of its maximal parts, the way the system's conversion replaces them.
std::wstring asUTF8ToUNICODE(std::string_view bytes);

// The text as UTF-16 little-endian bytes (no terminator).
std::string Utf16LeBytes(std::wstring_view text);

// The text of UTF-16 little-endian bytes: every whole unit, kept as it is (an odd last byte
// belongs to no unit and is dropped). Where wchar_t is 32 bits, a surrogate pair gives its
// one character and a lone surrogate stays a unit of its own.
std::wstring TextFromUtf16Le(std::string_view bytes);

}  // namespace support
