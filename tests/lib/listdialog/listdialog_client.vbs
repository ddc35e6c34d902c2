' A script client of orxSimpleListDialog: creates it by programmatic id, fills it with a
' collection made by orxMain.Collection and shows it. Show waits until the window is closed;
' the test program closes it from outside (it reads the window first).

Dim m, d, d2, c, f
Set m = CreateObject("Basekit0308.orxMain")
Set d = CreateObject("Basekit0308.orxSimpleListDialog")

Check "Elements starts empty", d.Elements.Count, 0
Check "ShowCountInCaption starts True", d.ShowCountInCaption, True
Check "Caption starts empty", d.Caption, ""
Set f = d.Font
Check "Font.Name", f.Name, "Tahoma"
Check "Font.Size", f.Size, 9
Check "Font.Charset", f.Charset, 204
Check "Font.Weight", f.Weight, 100
Check "Font.Bold", f.Bold, False
Check "Font.Italic", f.Italic, False
Check "Font.Underline", f.Underline, False
Check "Font.Strikethrough", f.Strikethrough, False

Set c = m.Collection("one", "two" & vbTab & "C:\two.txt", 3)
Set d.Elements = c
Check "Elements is the caller's collection", d.Elements Is c, True
c.Add "four"
Check "a later Add shows through Elements", d.Elements.Count, 4
c.Remove 4
d.Caption = "Script list"
Check "Caption", d.Caption, "Script list"
d.ShowCountInCaption = False
Check "ShowCountInCaption", d.ShowCountInCaption, False
d.ShowCountInCaption = True

' The font is kept as the object given, so a change through it is the dialog's.
Set d2 = CreateObject("Basekit0308.orxSimpleListDialog")
Set d.Font = d2.Font
Check "Font is the object given", d.Font Is d2.Font, True
d.Font.Size = 12
Check "Font.Size changed through the dialog", d2.Font.Size, 12

WScript.Echo "showing Script list"
d.Show
WScript.Echo "closed Script list"

Set d.Elements = Nothing
Check "Elements set to Nothing gives an empty collection", d.Elements.Count, 0
Check "the caller's collection is left as it was", c.Count, 3
d.Caption = "Empty"
WScript.Echo "showing Empty"
d.Show
WScript.Echo "closed Empty"

Finish
