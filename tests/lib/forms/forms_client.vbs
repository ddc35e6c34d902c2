' A script client of orxMain's option-button and button helpers whose controls are the
' script's own objects: VBScript classes standing for option buttons, a control array and
' command buttons.

Dim log
log = ""

Class OptionButton
    Public Tag
    Private selected
    Private isEnabled
    Public Property Get Value()
        Value = selected
    End Property
    Public Property Let Value(v)
        selected = v
        log = log & Tag & ".Value=" & v & " "
    End Property
    Public Property Get Enabled()
        Enabled = isEnabled
    End Property
    Public Property Let Enabled(v)
        isEnabled = v
        log = log & Tag & ".Enabled=" & v & " "
    End Property
End Class

' A control array with a gap at index 2.
Class OptionArray
    Public Buttons
    Public Property Get LBound()
        LBound = 0
    End Property
    Public Property Get UBound()
        UBound = 3
    End Property
    Public Default Function Item(i)
        If i = 2 Then Err.Raise 340
        Set Item = Buttons(i)
    End Function
End Class

' (A class of this engine cannot declare a public variable named Default: properties serve.)
Class CommandButton
    Public Enabled
    Public Clicks
    Private isDefault
    Private isCancel
    Public Property Get Default()
        Default = isDefault
    End Property
    Public Property Let Default(v)
        isDefault = v
    End Property
    Public Property Get Cancel()
        Cancel = isCancel
    End Property
    Public Property Let Cancel(v)
        isCancel = v
    End Property
    Public Property Get Value()
        Value = False
    End Property
    Public Property Let Value(v)
        If v Then Clicks = Clicks + 1
    End Property
End Class

Class CheckBox
    Public Enabled
    Public Clicks
    Public Property Get Value()
        Value = False
    End Property
    Public Property Let Value(v)
        Clicks = Clicks + 1
    End Property
End Class

Function NewOption(tag, isSelected)
    Dim b
    Set b = New OptionButton
    b.Tag = tag
    b.Value = isSelected
    Set NewOption = b
End Function

Dim m, group, i
Set m = CreateObject("Basekit0308.orxMain")
Set group = New OptionArray
group.Buttons = Array(NewOption("a", False), NewOption("b", False), Nothing, NewOption("d", True))

Check "GetSelectedOptionButtonIndex past a gap", m.GetSelectedOptionButtonIndex(group), 3
m.SetSelectedOptionButtonIndex group, 1
Check "SetSelectedOptionButtonIndex", group.Buttons(1).Value, True
Check "GetSelectedOptionButtonIndex, first selected", m.GetSelectedOptionButtonIndex(group), 1
log = ""
m.SetSelectedOptionButtonIndex group, 2
Check "SetSelectedOptionButtonIndex of the gap selects the lowest", log, "a.Value=True "
group.Buttons(0).Value = False
group.Buttons(3).Value = False
log = ""
m.EnableOptionButtonGroup group
Check "EnableOptionButtonGroup order", log, "b.Enabled=True a.Enabled=True d.Enabled=True "
log = ""
m.DisableOptionButtonGroup group
Check "DisableOptionButtonGroup order", log, "a.Enabled=False d.Enabled=False b.Enabled=False "
Check "a group without bounds", m.GetSelectedOptionButtonIndex(New CommandButton), -1

Dim button, box
Set button = New CommandButton
button.Enabled = True
button.Clicks = 0
Check "PressButton on an enabled button", m.PressButton(button), True
Check "its click ran", button.Clicks, 1
button.Enabled = False
Check "PressButton on a disabled button", m.PressButton(button), False
Check "no click", button.Clicks, 1
Set box = New CheckBox
box.Enabled = True
box.Clicks = 0
Check "PressButton on a check box", m.PressButton(box), False
Check "a check box is not clicked", box.Clicks, 0
Check "PressButton on Nothing", m.PressButton(Nothing), False

' The guard needs a text box: a button is refused with error 5.
On Error Resume Next
m.AddTextBoxInsertHook button
Check "AddTextBoxInsertHook on a button", Err.Number, 5
Err.Clear
m.RemoveTextBoxInsertHook Nothing
Check "RemoveTextBoxInsertHook on Nothing", Err.Number, 5
Err.Clear
On Error GoTo 0
m.ClearTextBoxInsertHooks

' The watcher refuses a button where the text box belongs.
Dim watcher
Set watcher = CreateObject("Basekit0308.orxTextBoxDefButtonWatcher")
On Error Resume Next
watcher.Init Nothing, button, button
Check "orxTextBoxDefButtonWatcher.Init with a button as text box", Err.Number, 13
Err.Clear
watcher.Init Nothing, Nothing, Nothing
Check "orxTextBoxDefButtonWatcher.Init with nothing", Err.Number, 0
On Error GoTo 0

Finish
