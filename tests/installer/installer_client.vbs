' A script client of the installed library: creates classes by programmatic id, which works
' only when the installer registered it, and uses one late-bound.

Dim m, p
On Error Resume Next
Set m = CreateObject("Basekit0308.orxMain")
Check "CreateObject Basekit0308.orxMain: Err.Number", Err.Number, 0
On Error GoTo 0
If Not m Is Nothing Then
    WScript.Echo "created orxMain"
    Set p = m.CommandLine
    p.SetNewCommandLine "one ""two three""", False
    Check "CommandLine.Count", p.Count, 1
    Check "CommandLine.Item(0)", p.Item(0), "two three"
End If
Check "CreateObject Basekit0308.orxErr", IsObject(CreateObject("Basekit0308.orxErr")), True
Finish
