' A script client of orxAlone: creates it by programmatic id and uses every member
' late-bound. The window to mark is the test program's; its handle is the first argument and
' it answers the activation message with a non-zero value.

Dim a, b, c, g, other, hwnd, message
hwnd = CLng(WScript.Arguments(0))
g = "{5D0C7A52-3E1B-4F80-A6C4-0B9E2F7D3C11}"
other = "{5D0C7A52-3E1B-4F80-A6C4-0B9E2F7D3C12}"

Set a = CreateObject("Basekit0308.orxAlone")
Check "AppGUID before any test", a.AppGUID, ""
Check "MarkPrevInstanceWindow before any test", a.MarkPrevInstanceWindow(hwnd, 70), False
Check "UnMarkPrevInstanceWindow before any test", a.UnMarkPrevInstanceWindow(hwnd), False
Check "ActivatePrevInstanceWindow before any test", a.ActivatePrevInstanceWindow, False

' The three tests: the first object is alone, a second one is not.
Check "IsAlone", a.IsAlone(g), True
Check "IsAlone twice on one object", a.IsAlone(g), True
Set b = CreateObject("Basekit0308.orxAlone")
Check "IsAlone of a second object", b.IsAlone(g), False
Check "IsAloneOnDesktop", a.IsAloneOnDesktop(g), True
Check "IsAloneOnDesktop of a second object", b.IsAloneOnDesktop(g), False
Check "IsAloneAtUser", a.IsAloneAtUser(g), True
Check "IsAloneAtUser of a second object", b.IsAloneAtUser(g), False
Check "AppGUID", a.AppGUID, g

message = a.WM_ACTIVATE_PREV_INSTANCE
Check "WM_ACTIVATE_PREV_INSTANCE is a registered message", message >= &HC000&, True
Check "WM_ACTIVATE_PREV_INSTANCE is the same for every object", b.WM_ACTIVATE_PREV_INSTANCE, message

' The mark, with the last GUID and with a given one.
Check "MarkPrevInstanceWindow with method 72", a.MarkPrevInstanceWindow(hwnd, 72), False
Check "MarkPrevInstanceWindow with method 68", a.MarkPrevInstanceWindow(hwnd, 68), False
Check "MarkPrevInstanceWindow", a.MarkPrevInstanceWindow(hwnd, 70), True
Check "ActivatePrevInstanceWindow (the window answers)", b.ActivatePrevInstanceWindow, True
Check "ActivatePrevInstanceWindowEx of another GUID", b.ActivatePrevInstanceWindowEx(other), False
Check "UnMarkPrevInstanceWindow", a.UnMarkPrevInstanceWindow(hwnd), True
Check "UnMarkPrevInstanceWindow again", a.UnMarkPrevInstanceWindow(hwnd), False
Check "ActivatePrevInstanceWindow without a mark", b.ActivatePrevInstanceWindow, False
Check "MarkPrevInstanceWindowEx", a.MarkPrevInstanceWindowEx(hwnd, 70, other), True
Check "ActivatePrevInstanceWindowEx", b.ActivatePrevInstanceWindowEx(other), True
Check "UnMarkPrevInstanceWindowEx", a.UnMarkPrevInstanceWindowEx(hwnd, other), True
Check "MarkPrevInstanceWindowEx without a window", a.MarkPrevInstanceWindowEx(0, 69, other), False

' Release rules: the second object keeps the name after the first has gone.
Set a = Nothing
Set c = CreateObject("Basekit0308.orxAlone")
Check "IsAlone while the second object lives", c.IsAlone(g), False
Set b = Nothing
Check "IsAlone after both have gone", c.IsAlone(g), True

' A name that cannot be made is an error, not "alone".
On Error Resume Next
Dim r
r = c.IsAlone("no-such-folder\" & g)
Check "IsAlone with an unusable name raises", Err.Number <> 0, True
Check "the error's source", Err.Source, "Basekit0308.orxAlone"
Err.Clear
On Error GoTo 0

Finish
