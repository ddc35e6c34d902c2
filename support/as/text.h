// Text helpers of the support library. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace support {

// The text without any of the characters of `set` at both ends.
std::wstring TrimSet(std::wstring_view text, std::wstring_view set);
// The text without blanks (U+0020) at both ends.
std::wstring asTrimEx(std::wstring_view text);
// The text without carriage returns and line feeds at both ends.
std::wstring asTrimCRLF(std::wstring_view text);
// The zero-terminated wide text at an address (empty for a null address).
std::wstring asGetStringFromPointerW(const wchar_t* address);
// The text without its first n characters (all of it gone when n is past the end).
std::wstring asCutLeft(std::wstring_view text, size_t n);

}  // namespace support
