' A script client of orxErr: the script's own error objects (instances of a class of the
' script) are read by property name, as any automation object with Number, Description,
' Source, HelpFile and HelpContext serves.

Class ScriptError
    Public Number
    Public Description
    Public Source
    Public HelpFile
    Public HelpContext
End Class

' An error object whose Source cannot be read: reading it raises the script's own error.
Class BrokenError
    Public Property Get Number
        Number = 5
    End Property
    Public Property Get Description
        Description = "x"
    End Property
    Public Property Get Source
        Err.Raise 70, "BrokenError", "No access to the source"
    End Property
End Class

Dim e, m, crlf
crlf = Chr(13) & Chr(10)
Set m = CreateObject("Basekit0308.orxErr")

Set e = New ScriptError
e.Number = 53
e.Description = "File not found"
e.Source = "Script"
e.HelpFile = ""
e.HelpContext = 0
Check "GetShortErrorMessage of a script's object", m.GetShortErrorMessage(e), "Error 53: File not found"
Check "GetErrorMessage of a script's object", m.GetErrorMessage(e), _
      "Error number: 53" & crlf & "Description:  File not found" & crlf & crlf & "Source:       Script"
Check "ErrorDisplay silent", m.ErrorDisplay(e, 16, "", "Lead-in", True), 1

' The runtime's own error object serves as well.
On Error Resume Next
Err.Raise 9, "Caller", "Subscript out of range"
Check "GetShortErrorMessage of Err", m.GetShortErrorMessage(Err), "Error 9: Subscript out of range"
Err.Clear

' A property read that fails fails the member with the object's error.
Dim x
x = m.GetErrorMessage(New BrokenError)
Check "failed read: Err.Number", Err.Number, 70
' The object's own text where the script engine hands it over (Wine's passes the number
' only, and the standard text of 70 stands in).
Check "failed read: Err.Description", Err.Description = "No access to the source" Or _
      Err.Description = "Permission denied", True
Err.Clear
On Error GoTo 0

Check "GetShortErrorMessageAPI", m.GetShortErrorMessageAPI(0), "Unknown Win32 API error."

Finish
