// The texts the system keeps for numbered messages (FormatMessageW), in one place.
#pragma once

#include <windows.h>

#include <string>

namespace support {

// The message `code` of the system's table, or of `module`'s message table when a module is
// given, without line breaks or blanks at its ends; empty when there is none.
std::wstring FormatSystemMessage(DWORD code, HMODULE module = nullptr);

}  // namespace support
