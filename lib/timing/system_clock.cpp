#include "lib/timing/system_clock.h"

#include <windows.h>

namespace bk {
namespace {

class SystemClock final : public StopwatchClock {
public:
    void Beep() override { MessageBeep(0xFFFFFFFF); }
    std::uint32_t TickCount() override { return GetTickCount(); }
    std::int64_t Counter() override {
        LARGE_INTEGER value{};
        return QueryPerformanceCounter(&value) ? value.QuadPart : 0;
    }
    std::int64_t CounterFrequency() override {
        LARGE_INTEGER frequency{};
        return QueryPerformanceFrequency(&frequency) ? frequency.QuadPart : 0;
    }
};

}  // namespace

StopwatchClock& SystemStopwatchClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace bk
