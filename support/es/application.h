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

// The application's hidden top-level owner window, created on first use and destroyed when the
// program ends. Its caption is the application title (the version resource's FileDescription,
// else the executable's base name). Null when it cannot be created.
HWND esGetThunderMainHandle();
// That window's caption: the default title of the program's messages.
std::wstring esGetThunderMainTitle();

// Whether the program runs on Windows of the NT family (not of the 9x family).
bool esIsHostWinNT();


}  // namespace support
