// Process and system helpers of the support library (Windows).
#pragma once

#include <windows.h>

#include <string>

namespace support {

// The full file name of a module; module 0 is the process's executable. `longName` asks for
// the long form of the path.
std::wstring esGetModuleFileName(HMODULE module, bool longName);

// The zero-terminated wide text at an address (empty for a null address).
std::wstring asGetStringFromPointerW(const wchar_t* address);

}  // namespace support
