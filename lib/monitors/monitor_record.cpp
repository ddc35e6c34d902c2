#include "lib/monitors/monitor_record.h"

#include <algorithm>
#include <string_view>

namespace bk {

MonitorRecord StoredMonitorRecord(const MonitorRecord& record) {
    MonitorRecord stored = record;
    stored.monitor = support::esNormalizeRect(record.monitor);
    stored.workArea = support::esNormalizeRect(record.workArea);
    stored.deviceName.back() = L'\0';
    return stored;
}

std::wstring MonitorDeviceName(const MonitorRecord& record) {
    const auto& name = record.deviceName;
    const auto end = std::find(name.begin(), name.end(), L'\0');
    return std::wstring(name.begin(), end);
}

std::optional<std::int32_t> Extent(std::int32_t low, std::int32_t high) {
    const std::int64_t difference = static_cast<std::int64_t>(high) - low;
    if (difference > INT32_MAX || difference < INT32_MIN) return std::nullopt;
    return static_cast<std::int32_t>(difference);
}

std::optional<support::Rect> RectFromSize(std::int32_t left, std::int32_t top, std::int32_t width,
                                          std::int32_t height) {
    const std::int64_t right = static_cast<std::int64_t>(left) + width;
    const std::int64_t bottom = static_cast<std::int64_t>(top) + height;
    if (right > INT32_MAX || right < INT32_MIN || bottom > INT32_MAX || bottom < INT32_MIN) return std::nullopt;
    return support::Rect{left, top, static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
}

MonitorRecord SingleDisplayRecord(const support::Rect& desktop, const support::Rect& workArea) {
    MonitorRecord record;
    record.monitor = desktop;
    record.workArea = workArea;
    record.flags = kPrimaryMonitorFlag;
    constexpr std::wstring_view name = L"DISPLAY";
    std::copy(name.begin(), name.end(), record.deviceName.begin());
    return record;
}

}  // namespace bk
