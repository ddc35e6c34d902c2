' A script client of orxMultiMonitor and Monitor: creates orxMultiMonitor by programmatic id
' and uses every member of both classes late-bound on the test display (one screen).

Dim mm, all, m, item, n, x
Set mm = CreateObject("Basekit0308.orxMultiMonitor")

Set all = mm.GetAllMonitors()
Check "one monitor", all.Count, 1
n = 0
For Each item In all
    n = n + 1
    Check "For Each gives the primary monitor", item.Primary, True
Next
Check "For Each over the monitors", n, 1
Set m = all(1)

Check "Primary", m.Primary, True
Check "Flags", m.Flags And 1, 1
Check "DeviceName", Left(m.DeviceName, 11), "\\.\DISPLAY"
Check "MonitorLeft", m.MonitorLeft, 0
Check "MonitorTop", m.MonitorTop, 0
Check "MonitorWidth", m.MonitorWidth, 1280
Check "MonitorHeight", m.MonitorHeight, 1024
Check "MonitorRight", m.MonitorRight, 1280
Check "MonitorBottom", m.MonitorBottom, 1024
Check "WorkAreaLeft inside", m.WorkAreaLeft >= 0, True
Check "WorkAreaTop inside", m.WorkAreaTop >= 0, True
Check "WorkAreaWidth", m.WorkAreaWidth, m.WorkAreaRight - m.WorkAreaLeft
Check "WorkAreaHeight", m.WorkAreaHeight, m.WorkAreaBottom - m.WorkAreaTop
Check "WorkAreaRight inside", m.WorkAreaRight <= 1280, True
Check "WorkAreaBottom inside", m.WorkAreaBottom <= 1024, True

' Look-ups with each flag, by the enumeration's values.
Check "MonitorFromPoint far outside, mffDefaultToNull", mm.MonitorFromPoint(100000, 100000, 0) Is Nothing, True
Check "MonitorFromPoint far outside, mffDefaultToPrimary", mm.MonitorFromPoint(100000, 100000, 1).Primary, True
Check "MonitorFromPoint far outside, mffDefaultToNearest", mm.MonitorFromPoint(-100000, 5, 2).MonitorWidth, 1280
Check "MonitorFromRect", mm.MonitorFromRect(0, 0, 10, 10, 0).DeviceName, m.DeviceName
Check "MonitorFromRect outside", mm.MonitorFromRect(50000, 0, 50010, 10, 0) Is Nothing, True
Check "MonitorFromNewRect", mm.MonitorFromNewRect(0, 0, 10, 10, 0).Primary, True
Check "MonitorFromNewRect outside", mm.MonitorFromNewRect(50000, 0, 10, 10, 0) Is Nothing, True
Check "MonitorFromWindow of the desktop", mm.MonitorFromWindow(0, 1).Primary, True

On Error Resume Next
Set x = mm.MonitorFromNewRect(2147483647, 0, 1, 1, 1)
Check "MonitorFromNewRect overflow: Err.Number", Err.Number, 6
Check "MonitorFromNewRect overflow: Err.Source", Err.Source, "Basekit0308.orxMultiMonitor"
Err.Clear
Set x = CreateObject("Basekit0308.Monitor")
Check "Monitor cannot be created", Err.Number <> 0, True
Err.Clear
On Error GoTo 0

Finish
