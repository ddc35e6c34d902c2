' A script client of orxBenchMark and orxBenchMarkHP: creates them by programmatic id and
' uses every member late-bound around a pause (a busy wait on Timer: WScript.Sleep is not
' available in this script host).

Dim t, hp, ms, text, start
Set t = CreateObject("Basekit0308.orxBenchMark")
Set hp = CreateObject("Basekit0308.orxBenchMarkHP")

Check "orxBenchMark of a new object", t.GetTickDifferenceMS(), 0
Check "orxBenchMarkHP of a new object", hp.GetTickDifference(), 0

t.FirstMark False
hp.FirstMark False
start = Timer
Do While Timer - start < 0.2 And Timer >= start
Loop
t.LastMark
hp.LastMark

ms = t.GetTickDifferenceMS()
Check "orxBenchMark: a plausible time", ms > 10 And ms < 60000, True
Check "orxBenchMark: seconds", t.GetTickDifferenceSec(), ms / 1000
Check "orxBenchMark: toString ends in sec.", Right(t.toString(), 5), " sec."
Check "orxBenchMark: toString(0) as toString()", t.toString(0), t.toString()
text = t.toString(4, False, False)
Check "orxBenchMark: toString(4, False, False)", Right(text, Len(" ms. / 4 (" & ms & " ms.)")), " ms. / 4 (" & ms & " ms.)"
Check "orxBenchMark: toString with whole numbers", t.toString(, True, False), ms & " ms."

ms = hp.GetTickDifferenceMS()
Check "orxBenchMarkHP: a plausible time", ms > 10 And ms < 60000, True
Check "orxBenchMarkHP: counts", hp.GetTickDifference() > 0, True
Check "orxBenchMarkHP: frequency", hp.GetTickFrequencyPerSec() > 0, True
Check "orxBenchMarkHP: frequency per ms", Abs(hp.GetTickFrequencyPerMS() * 1000 - hp.GetTickFrequencyPerSec()) < 0.001, True
Check "orxBenchMarkHP: seconds", Abs(hp.GetTickDifferenceSec() * 1000 - ms) < 0.000001, True
Check "orxBenchMarkHP: toString ends in sec.", Right(hp.toString(), 5), " sec."
Check "orxBenchMarkHP: toString(3, True) per iteration", InStr(hp.toString(3, True), " sec. / 3 (") > 0, True
Check "orxBenchMarkHP: toString in ms.", Right(hp.toString(0, False, False), 4), " ms."

' The default FirstMark beeps; a later LastMark still works.
t.FirstMark
t.LastMark
Check "orxBenchMark after a beeping FirstMark", t.GetTickDifferenceMS() < 60000, True
hp.FirstMark True
hp.LastMark
Check "orxBenchMarkHP after a beeping FirstMark", hp.GetTickDifference() >= 0, True

Finish
