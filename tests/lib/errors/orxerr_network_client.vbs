' A script client of orxErr's network messages: the request objects are instances of the
' script's own classes, read by property name. The expected texts follow the language the
' driver names ("russian" under a Russian locale); Wine's VBScript has no ChrW, so the Russian
' ones are written as their Windows-1251 bytes, which Chr turns into text under that code page.

Class HttpRequest
    Public LastRC
    Public ResponseCode
    Public ResponseText
    Public ErrorCode
    Public ErrorText
End Class

Class WGetRequest
    Public LastRC
    Public WGetReturnCode
    Public OutputLog
    Public Win32ErrorCode
End Class

Class OnlyLastRC
    Public LastRC
End Class

Dim russian
russian = False
If WScript.Arguments.Count > 0 Then russian = (WScript.Arguments(0) = "russian")

' Text of Windows-1251 bytes in hexadecimal.
Function R(hex)
    Dim i, text
    text = ""
    For i = 1 To Len(hex) Step 2
        text = text & Chr(HexValue(Mid(hex, i, 1)) * 16 + HexValue(Mid(hex, i + 1, 1)))
    Next
    R = text
End Function

Function HexValue(digit)
    HexValue = InStr("0123456789ABCDEF", digit) - 1
End Function

Function T(english, russianBytes)
    If russian Then
        T = R(russianBytes)
    Else
        T = english
    End If
End Function

Function Http(lastRC, responseCode, responseText, errorCode, errorText)
    Dim h
    Set h = New HttpRequest
    h.LastRC = lastRC
    h.ResponseCode = responseCode
    h.ResponseText = responseText
    h.ErrorCode = errorCode
    h.ErrorText = errorText
    Set Http = h
End Function

Function WGet(lastRC, exitCode, log, win32)
    Dim w
    Set w = New WGetRequest
    w.LastRC = lastRC
    w.WGetReturnCode = exitCode
    w.OutputLog = log
    w.Win32ErrorCode = win32
    Set WGet = w
End Function

Function FirstLine(text)
    Dim at
    at = InStr(text, crlf)
    If at > 0 Then
        FirstLine = Left(text, at - 1)
    Else
        FirstLine = text
    End If
End Function

Dim e, crlf, only, logText, x
crlf = Chr(13) & Chr(10)
Set e = CreateObject("Basekit0308.orxErr")

' Every result code of the three tables.
Check "HTTP request LastRC 0", e.GetErrorMessageHTTPRequest(Http(0, 0, "", 0, "")), T("Operation completed successfully.", "CEEFE5F0E0F6E8FF20E7E0E2E5F0F8E5EDE020F3F1EFE5F8EDEE2E")
Check "HTTP request LastRC 1", e.GetErrorMessageHTTPRequest(Http(1, 0, "", 0, "")), T("InternetOpen() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E65744F70656E28292E")
Check "HTTP request LastRC 2", e.GetErrorMessageHTTPRequest(Http(2, 0, "", 0, "")), T("InternetConnect() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E6574436F6E6E65637428292E")
Check "HTTP request LastRC 3", e.GetErrorMessageHTTPRequest(Http(3, 0, "", 0, "")), T("InternetOpenRequest() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E65744F70656E5265717565737428292E")
Check "HTTP request LastRC 4", e.GetErrorMessageHTTPRequest(Http(4, 0, "", 0, "")), T("InternetSendRequest() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E657453656E645265717565737428292E")
Check "HTTP request LastRC 5", e.GetErrorMessageHTTPRequest(Http(5, 0, "", 0, "")), T("InternetSendRequestEx() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E657453656E6452657175657374457828292E")
Check "HTTP request LastRC 6", e.GetErrorMessageHTTPRequest(Http(6, 0, "", 0, "")), T("InternetWriteFile() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E6574577269746546696C6528292E")
Check "HTTP request LastRC 7", e.GetErrorMessageHTTPRequest(Http(7, 0, "", 0, "")), T("InternetEndRequest() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E6574456E645265717565737428292E")
Check "HTTP request LastRC 8", e.GetErrorMessageHTTPRequest(Http(8, 0, "", 0, "")), T("InternetReadFile() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E65745265616446696C6528292E")
Check "HTTP request LastRC 9", e.GetErrorMessageHTTPRequest(Http(9, 0, "", 0, "")), T("Operation canceled.", "CEEFE5F0E0F6E8FF20E1FBEBE020EEF2ECE5EDE5EDE02E")
Check "HTTP request LastRC 10", e.GetErrorMessageHTTPRequest(Http(10, 0, "", 0, "")), T("InternetSetOption() failed. Can't set proxy server user name.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E65745365744F7074696F6E28292E20CDE520F3E4E0EBEEF1FC20F3F1F2E0EDEEE2E8F2FC20E8ECFF20EFEEEBFCE7EEE2E0F2E5EBFF20EFF0EEEAF1E82DF1E5F0E2E5F0E02E")
Check "HTTP request LastRC 11", e.GetErrorMessageHTTPRequest(Http(11, 0, "", 0, "")), T("InternetSetOption() failed. Can't set proxy server password.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E65745365744F7074696F6E28292E20CDE520F3E4E0EBEEF1FC20F3F1F2E0EDEEE2E8F2FC20EFE0F0EEEBFC20EFF0EEEAF1E82DF1E5F0E2E5F0E02E")
Check "HTTP request LastRC 12", e.GetErrorMessageHTTPRequest(Http(12, 0, "", 0, "")), T("InternetSetOption() failed. Can't set server user name.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E65745365744F7074696F6E28292E20CDE520F3E4E0EBEEF1FC20F3F1F2E0EDEEE2E8F2FC20E8ECFF20EFEEEBFCE7EEE2E0F2E5EBFF20F1E5F0E2E5F0E02E")
Check "HTTP request LastRC 13", e.GetErrorMessageHTTPRequest(Http(13, 0, "", 0, "")), T("InternetSetOption() failed. Can't set server password.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E65745365744F7074696F6E28292E20CDE520F3E4E0EBEEF1FC20F3F1F2E0EDEEE2E8F2FC20EFE0F0EEEBFC20F1E5F0E2E5F0E02E")
Check "HTTP request LastRC 14", e.GetErrorMessageHTTPRequest(Http(14, 0, "", 0, "")), T("Invalid compressed data were received from server.", "D1E5F0E2E5F020E2E5F0EDF3EB20EDE5E2E5F0EDFBE520F1E6E0F2FBE520E4E0EDEDFBE52E")
Check "FTP client LastRC 0", e.GetErrorMessageFTPClient(Http(0, 0, "", 0, "")), T("Operation completed successfully.", "CEEFE5F0E0F6E8FF20E7E0E2E5F0F8E5EDE020F3F1EFE5F8EDEE2E")
Check "FTP client LastRC 1", e.GetErrorMessageFTPClient(Http(1, 0, "", 0, "")), T("InternetOpen() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E65744F70656E28292E")
Check "FTP client LastRC 2", e.GetErrorMessageFTPClient(Http(2, 0, "", 0, "")), T("InternetConnect() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E6574436F6E6E65637428292E")
Check "FTP client LastRC 3", e.GetErrorMessageFTPClient(Http(3, 0, "", 0, "")), T("Connection was already established.", "D1EEE5E4E8EDE5EDE8E520F3E6E520F3F1F2E0EDEEE2EBE5EDEE2E")
Check "FTP client LastRC 4", e.GetErrorMessageFTPClient(Http(4, 0, "", 0, "")), T("Connection was not established yet.", "D1EEE5E4E8EDE5EDE8E520E5F9B820EDE520F3F1F2E0EDEEE2EBE5EDEE2E")
Check "FTP client LastRC 5", e.GetErrorMessageFTPClient(Http(5, 0, "", 0, "")), T("FtpGetCurrentDirectory() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E82046747047657443757272656E744469726563746F727928292E")
Check "FTP client LastRC 6", e.GetErrorMessageFTPClient(Http(6, 0, "", 0, "")), T("FtpSetCurrentDirectory() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E82046747053657443757272656E744469726563746F727928292E")
Check "FTP client LastRC 7", e.GetErrorMessageFTPClient(Http(7, 0, "", 0, "")), T("FtpCreateDirectory() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E8204674704372656174654469726563746F727928292E")
Check "FTP client LastRC 8", e.GetErrorMessageFTPClient(Http(8, 0, "", 0, "")), T("FtpRemoveDirectory() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E82046747052656D6F76654469726563746F727928292E")
Check "FTP client LastRC 9", e.GetErrorMessageFTPClient(Http(9, 0, "", 0, "")), T("FtpFindFirstFile() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E82046747046696E64466972737446696C6528292E")
Check "FTP client LastRC 10", e.GetErrorMessageFTPClient(Http(10, 0, "", 0, "")), T("InternetFindNextFile() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E657446696E644E65787446696C6528292E")
Check "FTP client LastRC 11", e.GetErrorMessageFTPClient(Http(11, 0, "", 0, "")), T("FtpGetFile() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E82046747047657446696C6528292E")
Check "FTP client LastRC 12", e.GetErrorMessageFTPClient(Http(12, 0, "", 0, "")), T("FtpPutFile() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E82046747050757446696C6528292E")
Check "FTP client LastRC 13", e.GetErrorMessageFTPClient(Http(13, 0, "", 0, "")), T("FtpRenameFile() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E82046747052656E616D6546696C6528292E")
Check "FTP client LastRC 14", e.GetErrorMessageFTPClient(Http(14, 0, "", 0, "")), T("FtpDeleteFile() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E82046747044656C65746546696C6528292E")
Check "WGet request LastRC 0", e.GetErrorMessageHTTPRequestHT(WGet(0, 0, "", 0)), T("Operation completed successfully.", "CEEFE5F0E0F6E8FF20E7E0E2E5F0F8E5EDE020F3F1EFE5F8EDEE2E")
Check "WGet request LastRC 1", e.GetErrorMessageHTTPRequestHT(WGet(1, 0, "", 0)), T("URL is not specified.", "55524C20EDE520E7E0E4E0ED2E")
Check "WGet request LastRC 2", e.GetErrorMessageHTTPRequestHT(WGet(2, 0, "", 0)), T("Error writing cookie file.", "CEF8E8E1EAE020E7E0EFE8F1E820F4E0E9EBE020EAF3EAEEE22E")
Check "WGet request LastRC 3", e.GetErrorMessageHTTPRequestHT(WGet(3, 0, "", 0)), T("Error writing optional data file.", "CEF8E8E1EAE020E7E0EFE8F1E820F4E0E9EBE020EEEFF6E8EEEDE0EBFCEDFBF520E4E0EDEDFBF52E")
Check "WGet request LastRC 4", e.GetErrorMessageHTTPRequestHT(WGet(4, 0, "", 0)), T("Can't run WGet.", "CDE520F3E4E0EBEEF1FC20E7E0EFF3F1F2E8F2FC20574765742E")
Check "WGet request LastRC 5", e.GetErrorMessageHTTPRequestHT(WGet(5, 0, "", 0)), T("Error reading WGet log file.", "CEF8E8E1EAE020F7F2E5EDE8FF20F4E0E9EBE020EBEEE3E020574765742E")
Check "WGet request LastRC 6", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 0, "", 0))), T("WGet execution results in error.", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92E")
Check "WGet request LastRC 7", e.GetErrorMessageHTTPRequestHT(WGet(7, 0, "", 0)), T("Error reading request results file.", "CEF8E8E1EAE020F7F2E5EDE8FF20F4E0E9EBE020F0E5E7F3EBFCF2E0F2EEE220E7E0EFF0EEF1E02E")
Check "WGet request LastRC 8", e.GetErrorMessageHTTPRequestHT(WGet(8, 0, "", 0)), T("Error reading cookie file.", "CEF8E8E1EAE020F7F2E5EDE8FF20F4E0E9EBE020EAF3EAEEE22E")
Check "WGet request LastRC 98", e.GetErrorMessageHTTPRequestHT(WGet(98, 0, "", 0)), T("Operation canceled.", "CEEFE5F0E0F6E8FF20E1FBEBE020EEF2ECE5EDE5EDE02E")
Check "WGet request LastRC 99", e.GetErrorMessageHTTPRequestHT(WGet(99, 0, "", 0)), T("Unknown error.", "CDE5E8E7E2E5F1F2EDE0FF20EEF8E8E1EAE02E")
Check "WGet exit code 1", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 1, "", 0))), T("WGet execution results in error #1: Generic error code.", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92023313A20CEE1F9E8E920EAEEE420EEF8E8E1EAE82E")
Check "WGet exit code 2", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 2, "", 0))), T("WGet execution results in error #2: Parse error (command-line options, "".wgetrc"", "".netrc"" etc).", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92023323A20CEF8E8E1EAE020EFE0F0F1E8EDE3E02028EAEEECE0EDE4EDE0FF20F1F2F0EEEAE02C20222E776765747263222C20222E6E657472632220657463292E")
Check "WGet exit code 3", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 3, "", 0))), T("WGet execution results in error #3: File I/O error.", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92023333A20CEF8E8E1EAE020E2E2EEE4E02DE2FBE2EEE4E02E")
Check "WGet exit code 4", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 4, "", 0))), T("WGet execution results in error #4: Network failure.", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92023343A20D1E5F2E5E2E0FF20EEF8E8E1EAE02E")
Check "WGet exit code 5", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 5, "", 0))), T("WGet execution results in error #5: SSL verification failure.", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92023353A20CEF8E8E1EAE020E2E5F0E8F4E8EAE0F6E8E82053534C2E")
Check "WGet exit code 6", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 6, "", 0))), T("WGet execution results in error #6: Username/password authentication failure.", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92023363A20CEF8E8E1EAE020E0F3F2E5EDF2E8F4E8EAE0F6E8E820EFEE20EBEEE3E8EDF32FEFE0F0EEEBFE2E")
Check "WGet exit code 7", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 7, "", 0))), T("WGet execution results in error #7: Protocol errors.", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92023373A20CEF8E8E1EAE020EFF0EEF2EEEAEEEBEEE22E")
Check "WGet exit code 8", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 8, "", 0))), T("WGet execution results in error #8: Server issued an error response.", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92023383A20D1E5F0E2E5F020E2E5F0EDF3EB20EEF2E2E5F220F120EEF8E8E1EAEEE92E")
Check "WGet exit code 9", FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 9, "", 0))), T("WGet execution results in error #9: Unknown error.", "C2FBEFEEEBEDE5EDE8E5205747657420E7E0E2E5F0F8E8EBEEF1FC20EEF8E8E1EAEEE92023393A20CDE5E8E7E2E5F1F2EDE0FF20EEF8E8E1EAE02E")

' How the parts are put together.
Check "HTTP response part", e.GetErrorMessageHTTPRequest(Http(4, 404, "Not Found", 0, "")), _
      T("InternetSendRequest() failed.", "CEF8E8E1EAE020F4F3EDEAF6E8E820496E7465726E657453656E645265717565737428292E") & crlf & crlf & "HTTP response: 404, Not Found."
Check "code outside the table", e.GetErrorMessageFTPClient(Http(15, 0, "", 12002, "Timed out")), _
      "WinInet error: 12002" & crlf & "Description:   Timed out"
logText = "--2024-05-01--  http://example.com/" & crlf & "ERROR 404: Not Found."
Check "WGet's log", e.GetErrorMessageHTTPRequestHT(WGet(6, 8, logText, 0)), _
      FirstLine(e.GetErrorMessageHTTPRequestHT(WGet(6, 8, "", 0))) & crlf & crlf & "WGet's messages:" & crlf & crlf & logText

' No object: an empty message, and nothing shown.
Check "no HTTP request object", e.GetErrorMessageHTTPRequest(Nothing), ""
Check "no FTP client object", e.GetErrorMessageFTPClient(Nothing), ""
Check "display without an object", e.ErrorDisplayHTTPRequestHT(Nothing), 0
Check "display silent", e.ErrorDisplayFTPClient(Http(1, 0, "", 0, ""), 16, "", "Lead-in", True), 1
Check "display silent, WGet", e.ErrorDisplayHTTPRequestHT(WGet(5, 0, "", 0), 16, "Title", "", True), 1
Check "display silent, HTTP", e.ErrorDisplayHTTPRequest(Http(9, 0, "", 0, ""), , , , True), 1

' An object that lacks a property the message needs fails the call.
Set only = New OnlyLastRC
only.LastRC = 1
Check "WGet LastRC alone", e.GetErrorMessageHTTPRequestHT(only), T("URL is not specified.", "55524C20EDE520E7E0E4E0ED2E")
On Error Resume Next
x = e.GetErrorMessageHTTPRequest(only)
Check "missing property: Err.Number", Err.Number, 438
Err.Clear
On Error GoTo 0

Finish
