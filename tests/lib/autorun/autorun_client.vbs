' A script client of orxAutorunSupport: creates it by programmatic id and uses every member
' late-bound, under the current user's Run key and under the machine's.

Dim a, id, sh
Set a = CreateObject("Basekit0308.orxAutorunSupport")
Set sh = CreateObject("WScript.Shell")
id = "{bk-autorun-script-client}"

Check "ForCurrentUserOnly of a new object", a.ForCurrentUserOnly, True

Sub UnderRoot(rootName, runKey)
    Check rootName & ": AddToAutorun with a command line", a.AddToAutorun(id, "C:\Program Files\App\app.exe /q"), True
    Check rootName & ": stored as given", sh.RegRead(runKey & id), "C:\Program Files\App\app.exe /q"
    Check rootName & ": IsInAutorun", a.IsInAutorun(id), True
    Check rootName & ": GetAutorunString", a.GetAutorunString(id), "C:\Program Files\App\app.exe /q"
    Check rootName & ": AddToAutorun without a command line", a.AddToAutorun(id), True
    Check rootName & ": the script host's own path", InStr(1, a.GetAutorunString(id), "script.exe", vbTextCompare) > 0, True
    Check rootName & ": blanks", a.AddToAutorun(id, "  "), True
    Check rootName & ": blanks are not registered", a.IsInAutorun(id), False
    Check rootName & ": blanks read back", a.GetAutorunString(id), "  "
    Check rootName & ": DeleteFromAutorun", a.DeleteFromAutorun(id), True
    Check rootName & ": IsInAutorun after deleting", a.IsInAutorun(id), False
    Check rootName & ": GetAutorunString after deleting", a.GetAutorunString(id), ""
    Check rootName & ": DeleteFromAutorun again", a.DeleteFromAutorun(id), False
    Check rootName & ": empty identifier", a.AddToAutorun("", "x.exe") Or a.IsInAutorun("") Or a.DeleteFromAutorun(""), False
    Check rootName & ": GetAutorunString of the empty identifier", a.GetAutorunString(""), ""
End Sub

UnderRoot "user", "HKCU\Software\Microsoft\Windows\CurrentVersion\Run\"
a.ForCurrentUserOnly = False
Check "ForCurrentUserOnly switched off", a.ForCurrentUserOnly, False
UnderRoot "machine", "HKLM\Software\Microsoft\Windows\CurrentVersion\Run\"

' Values under one root are not seen under the other.
Check "written under the machine root", a.AddToAutorun(id, "m.exe"), True
a.ForCurrentUserOnly = True
Check "not under the user's root", a.IsInAutorun(id), False
a.ForCurrentUserOnly = False
Check "removed again", a.DeleteFromAutorun(id), True

Finish
