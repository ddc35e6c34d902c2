// The system's time for the benchmark timers: the tick count, the performance counter and
// the simple beep.
#pragma once

#include "lib/timing/stopwatch.h"

namespace bk {

// One clock for every timer: it keeps no state.
StopwatchClock& SystemStopwatchClock();

}  // namespace bk
