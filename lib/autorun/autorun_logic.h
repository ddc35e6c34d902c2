// The rules of autorun registration, apart from the registry. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace bk {

// The key, under the current user's or the machine's root, whose string values name the
// programs the system starts at logon: value name = the program's identifier, data = the
// command line.
inline constexpr wchar_t kAutorunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Whether `appGuid` can name a value: not empty and without a null character (the registry
// would cut the name there and so reach another value).
bool IsAutorunValueName(std::wstring_view appGuid);

// The command line to store. The caller's own is stored as given. Without one it is the
// program's own path, in double quotes when the path holds a blank: unquoted, the system
// would read "C:\Program Files\X\x.exe" as the program C:\Program with arguments.
std::wstring AutorunCommandLine(std::wstring_view given, std::wstring_view programPath);

// Whether a stored command line registers a program: something other than blanks.
bool IsAutorunEntry(std::wstring_view stored);

}  // namespace bk
