' The About box from a VBScript client: ShowAboutBoxEx with only a title, ShowAboutBox with
' class instances of the script as form and application object, and the errors a script sees.
' The test program that starts this script closes each dialog and checks what it showed.

Class ScriptForm
    Public hWnd
End Class

Class ScriptApp
    Public Title
    Public Major
    Public Minor
    Public Revision
End Class

Class TitleOnlyApp
    Public Title
End Class

Dim about
Set about = CreateObject("Basekit0308.orxMain")

WScript.Echo "showing 1"
about.ShowAboutBoxEx "Script Title"
WScript.Echo "closed 1"

Dim form, app
Set form = New ScriptForm
form.hWnd = 0
Set app = New ScriptApp
app.Title = "Script Application"
app.Major = 2
app.Minor = 3
app.Revision = 45
WScript.Echo "showing 2"
about.ShowAboutBox form, app, "A description from the script."
WScript.Echo "closed 2"

' An application object without the version numbers: the script gets the error, no dialog.
Dim partial
Set partial = New TitleOnlyApp
partial.Title = "No numbers"
On Error Resume Next
about.ShowAboutBox form, partial
Check "missing Major raises 438", Err.Number, 438
Err.Clear
about.ShowAboutBox2 Nothing, Nothing, Nothing
Check "no application object raises 91", Err.Number, 91
Err.Clear
' A control without AboutBox or Parent: nothing shown, no error.
Dim notAControl
Set notAControl = New ScriptApp
about.ShowMSAboutBox notAControl
Check "ShowMSAboutBox of a plain object", Err.Number, 0
On Error GoTo 0

Finish
