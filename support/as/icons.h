// Window icons from the program's icon resources.
#pragma once

#include <windows.h>

#include <string_view>

namespace support {

// Sets a window's large and small icons (system sizes) from icon resource `name` of `module`
// (0: the executable). The icons are loaded once per size and kept until the program ends.
// Returns whether both icons were found.
bool asSetWindowResIconAll(HWND window, std::wstring_view name, HMODULE module = nullptr);

}  // namespace support
