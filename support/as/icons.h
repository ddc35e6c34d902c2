// Window icons from the program's icon resources.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <string_view>

namespace support {

// Sets a window's large and small icons (system sizes) from icon resource `name` of `module`
// (0: the executable). The icons are loaded once per size and kept until the program ends.
// Returns whether both icons were found.
bool asSetWindowResIconAll(HWND window, std::wstring_view name, HMODULE module = nullptr);

// A picture object (an icon picture) made from a copy of an icon or cursor handle: the
// picture owns its copy, the caller keeps `handle`. E_INVALIDARG for a null handle.
HRESULT asGetIconFromHandle(HICON handle, IPictureDisp** picture);

// A window's large (small) icon as a picture: the icon the window was given (WM_GETICON), else
// its class's. E_FAIL when it has none.
HRESULT asGetWindowIcon(HWND window, IPictureDisp** picture);
HRESULT asGetWindowIconSmall(HWND window, IPictureDisp** picture);

// Icon resource `name` of `module` at the system's large (small) icon size, as a picture that
// owns the icon.
HRESULT asLoadResIconEx(std::wstring_view name, HMODULE module, IPictureDisp** picture);
HRESULT asLoadResIconSmallEx(std::wstring_view name, HMODULE module, IPictureDisp** picture);

// Sets a window's large and small icons to the given handles (null removes them); the window
// does not own them.
void asSetWindowIconAll(HWND window, HICON big, HICON small);

}  // namespace support
