' The checks of every script client: one line per check and a summary at the end; the
' client ends with Finish, so its exit code is the number of failed checks.
' (Placed before each client's own script when the build copies it beside the test programs.)
Option Explicit

Dim checks, failures
checks = 0
failures = 0

Sub Check(name, actual, expected)
    checks = checks + 1
    If actual = expected Then
        WScript.Echo "ok " & name
    Else
        failures = failures + 1
        WScript.Echo "FAIL " & name & ": got [" & actual & "] expected [" & expected & "]"
    End If
End Sub

Sub Finish()
    WScript.Echo "checks=" & checks & " failures=" & failures
    WScript.Quit failures
End Sub

