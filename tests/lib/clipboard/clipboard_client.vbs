' A script client of orxClipboard: every member, late-bound, with the script's own variables
' for the by-reference arguments (the HTML contexts, the byte array, the size, the file list).

Dim c, m, crlf, x, n, accented, twoLetters
crlf = Chr(13) & Chr(10)
' Wine's VBScript has no ChrW: letters outside ASCII come from the ANSI code page.
accented = "Caf" & Chr(&HE9) & " " & Chr(&HFC)
twoLetters = Chr(&HC0) & Chr(&HE4)
Set c = CreateObject("Basekit0308.orxClipboard")
Set m = CreateObject("Basekit0308.orxMain")

Check "Clear", c.Clear(), True
Check "GetFormatsCount of an empty clipboard", c.GetFormatsCount(), 0

' Text.
Check "SetText", c.SetText(accented), True
Check "GetText", c.GetText(), accented
Check "GetText ANSI", c.GetText(True), accented
Check "IsFormatAvailable CF_UNICODETEXT", c.IsFormatAvailable(13), True
Check "IsFormatAvailable CF_HDROP", c.IsFormatAvailable(15), False

' Formats.
n = 0
For Each x In c.GetFormats()
    n = n + 1
Next
Check "GetFormats lists every format", n, c.GetFormatsCount()
Check "GetFormatsCount after SetText", c.GetFormatsCount() >= 4, True
Check "CF_HTML is registered", c.CF_HTML >= &HC000&, True
Check "GetFormatName of CF_HTML", c.GetFormatName(c.CF_HTML), "HTML Format"
Check "GetFormatName of a built-in format", c.GetFormatName(1), ""

' HTML: the contexts come back through the script's variables.
Dim s, e
s = "<HTML><BODY>"
e = "</BODY></HTML>"
Check "SetHTML", c.SetHTML("x", s, e), True
Check "start context handed back", s, "<HTML><BODY><!--StartFragment-->"
Check "end context handed back", e, "<!--EndFragment--></BODY></HTML>"
Check "GetHTML default part", c.GetHTML(), "x"
Check "GetHTML raw header", Left(c.GetHTML(0), 55), _
      "Version:1.0" & crlf & "StartHTML:0000000105" & crlf & "EndHTML:0000000170" & crlf
Check "GetHTML fragment offsets", Mid(c.GetHTML(0), 56, 50), _
      "StartFragment:0000000137" & crlf & "EndFragment:0000000138" & crlf
Check "GetHTML ghrvContextStart", c.GetHTML(2), "<HTML><BODY><!--StartFragment-->"
Check "GetHTML ghrvContextEnd", c.GetHTML(3), "<!--EndFragment--></BODY></HTML>"
Check "GetHTML ghrvSelection", c.GetHTML(5), ""
Check "GetHTML ghrvSourceURL", c.GetHTML(6), ""
Check "GetHTML out of range", c.GetHTML(7), ""
Check "SetHTML with the default contexts", c.SetHTML(twoLetters), True
Check "GetHTML of letters outside ASCII", c.GetHTML(4), twoLetters
Check "GetHTML ghrvHTML", c.GetHTML(1), "<HTML><BODY><!--StartFragment-->" & twoLetters & _
      "<!--EndFragment--></BODY></HTML>"
Check "their UTF-8 bytes set the offsets", Mid(c.GetHTML(0), 56, 50), _
      "StartFragment:0000000137" & crlf & "EndFragment:0000000141" & crlf
Check "SetHTML of nothing", c.SetHTML(""), False

' Raw data: an empty variable receives the bytes, and they go back as they came.
Dim data, size
c.Clear
c.SetText "raw"
Check "GetRAWData", c.GetRAWData(1, data, size), True
Check "GetRAWData size", size >= 4, True
Check "GetRAWData gives an array", IsArray(data), True  ' (Wine's TypeName calls every array Variant())
c.Clear
Check "SetRAWData", c.SetRAWData(1, data), True
Check "text placed as raw bytes", c.GetText(True), "raw"
Dim none
Check "GetRAWData of a format not there", c.GetRAWData(&HBFFF&, none), False
Check "the variable stays empty", IsEmpty(none), True

' Shell file lists, wide and ANSI.
Dim files, got
Set files = m.Collection("C:\docs\a.txt", "C:\docs\b c.txt")
c.Clear
Check "SetShellFiles", c.SetShellFiles(files), True
Set got = c.GetShellFiles()
Check "GetShellFiles count", got.Count, 2
Check "GetShellFiles first", got(1), "C:\docs\a.txt"
Check "GetShellFiles second", got(2), "C:\docs\b c.txt"
c.Clear
Check "SetShellFiles ANSI", c.SetShellFiles(files, False), True
Set got = c.GetShellFiles()
Check "GetShellFiles of the ANSI list", got(2), "C:\docs\b c.txt"
Check "SetShellFiles of an empty list", c.SetShellFiles(m.Collection()), False
c.Clear
Check "GetShellFiles of an empty clipboard", c.GetShellFiles() Is Nothing, True

Finish
