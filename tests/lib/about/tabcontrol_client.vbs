' A script client of orxTabControl: creates it by programmatic id and pages the script's own
' class instances, which the control reaches late-bound. Every page call is written into one
' log: "2Z" for page 2's ZOrder, "2V" / "2H" for its Visible set to True / False.

Dim log, shownEvents
log = ""
shownEvents = ""

Class Page
    Public Number
    Private shown
    Public Sub ZOrder()
        log = log & Number & "Z "
    End Sub
    Public Property Get Visible()
        Visible = shown
    End Property
    Public Property Let Visible(v)
        shown = v
        If v Then log = log & Number & "V " Else log = log & Number & "H "
    End Property
End Class

' A page that cannot be shown: no Visible.
Class BarePicture
    Public Sub ZOrder()
    End Sub
End Class

' A page whose ZOrder fails with an error of its own.
Class StuckPage
    Public Visible
    Public Sub ZOrder()
        Err.Raise 70, "StuckPage", "The page is stuck"
    End Sub
End Class

' Pages as a form's control array offers them: LBound, UBound and the element by index as
' the default member.
Class PageArray
    Private items
    Private lower
    Public Sub Init(lowerBound, elements)
        lower = lowerBound
        items = elements
    End Sub
    Public Property Get LBound()
        LBound = lower
    End Property
    Public Property Get UBound()
        UBound = lower + CountOf(items) - 1
    End Property
    Public Default Function Item(i)
        Set Item = items(i - lower)
    End Function
End Class

Function CountOf(a)
    CountOf = UBound(a) + 1
End Function

Function NewPage(n)
    Set NewPage = New Page
    NewPage.Number = n
End Function

Function NewArray(lowerBound, elements)
    Set NewArray = New PageArray
    NewArray.Init lowerBound, elements
End Function

Sub TC_TabShown(CurrTab)
    shownEvents = shownEvents & CurrTab & " "
End Sub

Dim tc, p1, p2, p3, bindError, before
Set tc = CreateObject("Basekit0308.orxTabControl")
Set p1 = NewPage(1)
Set p2 = NewPage(2)
Set p3 = NewPage(3)

' Events, where the host can bind them to this script's TC_ procedures.
On Error Resume Next
WScript.ConnectObject tc, "TC_"
bindError = Err.Number
Err.Clear
On Error GoTo 0
If bindError <> 0 Then WScript.Echo "note: this host cannot bind events (error " & bindError & ")"

Check "fresh CurrentTab", tc.CurrentTab, 0
Check "fresh TabsCount", tc.TabsCount, 0

' AddTab restacks all pages in list order, leaves them visible and shows the new one.
tc.AddTab p1
tc.AddTab p2
log = ""
tc.AddTab p3
Check "AddTab calls", log, "1Z 2Z 3Z 1V 2V 3V 3Z 3V "
Check "AddTab makes the new page current", tc.CurrentTab, 3
Check "TabsCount", tc.TabsCount, 3
Check "TabItem", tc.TabItem(2) Is p2, True

' Paging, with the wraps at both ends.
tc.PopNextTab
Check "next of the last is the first", tc.CurrentTab, 1
tc.PopPrevTab
Check "previous of the first is the last", tc.CurrentTab, 3
tc.PopPrevTab
Check "previous", tc.CurrentTab, 2

' HideOtherTabs and PopOnlyThisTab.
log = ""
tc.PopTab 1, True, True
Check "PopOnlyThisTab moves only the chosen page", log, "1H 2H 3H 1Z 1V "
log = ""
tc.PopTab , , True
Check "the current page by default, the others hidden", log, "1Z 2Z 3Z 1H 2H 3H 1Z 1V "
log = ""
tc.ArrangeTabs
Check "ArrangeTabs", log, "1Z 2Z 3Z 1V 2V 3V 1Z 1V "

' Failures: nothing changes.
Dim x
log = ""
On Error Resume Next
tc.PopTab 4
Check "PopTab past the end: Err.Number", Err.Number, 5
Check "PopTab past the end: Err.Description", Err.Description, "Invalid procedure call or argument"
Err.Clear
tc.AddTab Nothing
Check "AddTab Nothing: Err.Number", Err.Number, 380
Err.Clear
Set x = tc.TabItem(4)
Check "TabItem past the end: Err.Number", Err.Number, 9
Check "TabItem past the end: Err.Description", Err.Description, "Subscript out of range"
Err.Clear
On Error GoTo 0
Check "failures call no page", log, ""
Check "failures keep the current page", tc.CurrentTab, 1
Check "failures keep the pages", tc.TabsCount, 3

' FillTabs: a control array with its own lower bound.
log = ""
tc.FillTabs NewArray(5, Array(p3, p1, p2)), True
Check "FillTabs count", tc.TabsCount, 3
Check "FillTabs shows the last", tc.CurrentTab, 3
Check "FillTabs order", tc.TabItem(1) Is p3, True
Check "FillTabs calls", log, "3Z 1Z 2Z 3H 1H 2H 2Z 2V "
tc.FillTabs NewArray(0, Array(p2))
Check "FillTabs with one page", tc.CurrentTab & "/" & tc.TabsCount, "1/1"

' ClearTabs keeps the position, which then names no page.
tc.ClearTabs
Check "ClearTabs count", tc.TabsCount, 0
Check "ClearTabs keeps CurrentTab", tc.CurrentTab, 1
On Error Resume Next
tc.PopTab
Check "PopTab after ClearTabs: Err.Number", Err.Number, 5
Err.Clear
tc.PopNextTab
Check "PopNextTab of no pages: Err.Number", Err.Number, 5
Err.Clear

' A page's own failures reach the script.
tc.AddTab New BarePicture
Check "a page without Visible: Err.Number", Err.Number, 438
Err.Clear
tc.ClearTabs
tc.AddTab New StuckPage
' (Wine's script engine hands a class's raised error out as its number only, so the text
' that arrives is the number's standard one.)
Check "a page's own error: Err.Number", Err.Number, 70
Err.Clear
On Error GoTo 0

If bindError = 0 Then
    Check "TabShown", shownEvents, "1 2 3 1 3 2 1 1 1 3 1 "
End If

Finish
