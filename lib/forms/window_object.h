// The library's own windows and controls as automation objects: one small wrapper over an
// HWND that answers by name (IDispatch without type information), so that the helpers that
// serve a caller's forms and controls (late binding, orxTabControl's pages) serve our own.
//
// Members: hWnd (read), Visible, Enabled, Left, Top, Width, Height (twips in the parent's
// client area, as a form's controls measure), Caption and Text (the window text), Tag (a text
// the object keeps), and the method ZOrder([Position]): 0 or omitted brings the window to the
// front of its siblings, 1 sends it to the back. The object does not own the window; once the
// window is gone every member fails with run-time error 91 except hWnd and Tag.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace bk {

// A new wrapper over `window`; the caller owns it.
HRESULT CreateWindowObject(HWND window, IDispatch** out) noexcept;

}  // namespace bk
