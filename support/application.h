// Application-wide helpers of the support library: the path registration of the running
// executable, the application's hidden owner window and the program's icons.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace support {

// Registers the running executable for the shell under the current user's
// Software\Microsoft\Windows\CurrentVersion\App Paths\<exe name>: default value = full path,
// "Path" = its folder. Returns whether both values were written.
bool esRegisterAppPath();

// Whether the program runs inside its development environment. A native build never does.
constexpr bool esIsInIDE() { return false; }

// The application's hidden top-level owner window, created on first use and destroyed when the
// program ends. Its caption is the application title (the version resource's FileDescription,
// else the executable's base name). Null when it cannot be created.
HWND esGetThunderMainHandle();
// That window's caption: the default title of the program's messages.
std::wstring esGetThunderMainTitle();

// Sets a window's large and small icons (system sizes) from icon resource `name` of `module`
// (0: the executable). The icons are loaded once per size and kept until the program ends.
// Returns whether both icons were found.
bool asSetWindowResIconAll(HWND window, std::wstring_view name, HMODULE module = nullptr);

}  // namespace support
