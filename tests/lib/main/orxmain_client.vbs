' A script client of orxMain: creates it by programmatic id and uses it late-bound, as
' scripts and other automation clients do.

Dim m, p, x
Set m = CreateObject("Basekit0308.orxMain")

' Command line.
Set p = m.CommandLine
p.SetNewCommandLine "one ""two three""   four", False
Check "Count", p.Count, 2
Check "Item(-1)", p.Item(-1), "one"
Check "Item(0) as default member", p(0), "two three"
Check "Item(1)", p.Item(1), "four"
Check "same parser", m.CommandLine Is p, True
p.SetNewCommandLine "a b"
Check "Count with the program name added by default", p.Count, 2

On Error Resume Next
x = p.Item(2)
Check "Item past the end: Err.Number", Err.Number, 9
Check "Item past the end: Err.Description", Err.Description, "Subscript out of range"
Err.Clear
x = p.Item(-2)
Check "Item(-2): Err.Number", Err.Number, 9
Err.Clear
On Error GoTo 0

' Array builders and the array searches with IsFound by reference. The builders return
' typed arrays (of String, of Long), which this script engine passes on but cannot index, so
' their elements are checked through the searches.
Dim texts, longs, found, unset
texts = m.ArrayString(1, "x", True)
Check "ArrayString type", VarType(texts), vbArray + vbString
Check "ArrayString elements", m.InArrayString(texts, "1") & m.InArrayString(texts, "x") & m.InArrayString(texts, "True"), "012"
Check "InArrayString is exact", m.InArrayString(texts, "TRUE"), -1
Check "InArrayStringText ignores case", m.InArrayStringText(texts, "TRUE"), 2
Check "IsInArrayStringText", m.IsInArrayStringText(texts, "X"), True
longs = m.ArrayLong(2.5, 3.5, "7")
Check "ArrayLong type", VarType(longs), vbArray + vbLong
Check "ArrayLong halves to even", m.InArrayLong(longs, 2) & m.InArrayLong(longs, 4) & m.InArrayLong(longs, 7), "012"
found = False
Check "InArrayLong", m.InArrayLong(longs, 7, , , found), 2
Check "InArrayLong IsFound", found, True
Check "InArrayLong not found", m.InArrayLong(longs, 99, , , found), -1
Check "InArrayLong IsFound after a miss", found, False
Check "InArrayLong StartAt", m.InArrayLong(longs, 2, 1, , unset), -1
Check "IsFound of an unset variable becomes a Boolean", TypeName(unset), "Boolean"
Check "IsInArrayLong", m.IsInArrayLong(longs, 4), True
On Error Resume Next
x = m.InArrayLong(longs, 99, 1, 5)
Check "InArrayLong past the end: Err.Number", Err.Number, 9
Err.Clear
On Error GoTo 0
longs = m.ArrayLong()
Check "ArrayLong without arguments", m.InArrayLong(longs, 0), -1

' Collections.
Dim c, s, item, joined
Set c = m.Collection("a", "b", 3)
Check "Collection Count", c.Count, 3
Check "Collection item by key", c("2"), "b"
Check "InCollection", m.InCollection(c, 3), 3
found = False
Check "InCollectionString", m.InCollectionString(c, "3", 2, , found), 3
Check "InCollectionString IsFound", found, True
Check "IsInCollectionStringText", m.IsInCollectionStringText(c, "B"), True
Check "JoinCollection", m.JoinCollection(c, ", "), "a, b, 3"
Set s = m.SplitCollection("x-y-z", "-")
joined = ""
For Each item In s
    joined = joined & "[" & item & "]"
Next
Check "For Each over SplitCollection", joined, "[x][y][z]"
Check "SplitCollection with Limit", m.SplitCollection("one two three", , 2).Item(2), "two three"
Set c = m.Collection()
Check "Collection without arguments", c.Count, 0

Finish
