// File-name services of the support library that ask the system: full path names, new
// temporary file names and files beside the running program.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace support {

// The full file name of a module; module 0 is the process's executable. `longName` asks for
// the long form of the path.
std::wstring esGetModuleFileName(HMODULE module, bool longName);

// The absolute path of `name` (relative names are resolved against the current directory);
// empty when the system cannot resolve it.
std::wstring esGetFullFileName(std::wstring_view name);

// The folder of the running executable (without a trailing separator).
std::wstring esGetAppFolder();

// The full name of `name` in the folder of the running executable; not tested for existence.
std::wstring esGetFileAppPath(std::wstring_view name);

// A new file name in `folder` (empty: the user's temporary folder) with the given extension
// (without its dot, e.g. "TXT"). No file of that name exists when it is returned; the file is
// not created. Empty when the folder cannot be found or no free name turns up.
std::wstring esGetTempFileName2(std::wstring_view folder, std::wstring_view extension);

// The long form of `path` (every short 8.3 component replaced by its long name); `path` as
// given when the system cannot tell (the file does not exist, say). `flags`: 0, no others
// are defined.
std::wstring esGetLongFileName(std::wstring_view path, long flags = 0);

}  // namespace support
