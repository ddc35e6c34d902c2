// Monitor: one monitor's device name, rectangle and work area. Only the library creates
// Monitor objects (the class has no factory).
#pragma once

#include <windows.h>

#include "Basekit0308.h"
#include "lib/monitors/monitor_record.h"

namespace bk {

// A new Monitor holding `record` as StoredMonitorRecord makes it. The caller owns it.
HRESULT CreateMonitor(const MonitorRecord& record, _Monitor** out);

}  // namespace bk
