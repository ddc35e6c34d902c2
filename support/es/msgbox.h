// The program's message box: the system message box with the program's own icon.
#pragma once

#include <windows.h>

#include <string_view>

namespace support {

// Shows a modal message box and returns the button pressed (IDOK, IDCANCEL, ...; 0 when the box
// could not be shown). `style` is a MessageBox style; when it asks for an icon (MB_ICON...) and
// `iconName` names an icon resource of the executable, that icon is shown in its place.
// An empty `title` means the application title (esGetThunderMainTitle). `owner` 0 means the
// thread's active window.
int esMsgBoxEx(std::wstring_view text, UINT style, std::wstring_view title, std::wstring_view iconName,
               HWND owner = nullptr);

}  // namespace support
