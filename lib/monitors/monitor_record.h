// The record a Monitor keeps and the rules for reading it. Platform-free: the Win32 glue
// copies the system's extended monitor information into it field by field.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "support/es/rect.h"

namespace bk {

// Characters of the device-name field, as in the system's record.
inline constexpr std::size_t kMonitorDeviceNameLength = 32;
// Bit 0 of the flags: the primary monitor.
inline constexpr std::uint32_t kPrimaryMonitorFlag = 1;

struct MonitorRecord {
    support::Rect monitor;   // the monitor's rectangle on the virtual screen, pixels
    support::Rect workArea;  // the same less task bars and docked tool bars
    std::uint32_t flags = 0;
    std::array<wchar_t, kMonitorDeviceNameLength> deviceName{};
};

// The record as a Monitor stores it: both rectangles with their edges in order, and the last
// character of the device name forced to zero, so the name always ends inside the field.
MonitorRecord StoredMonitorRecord(const MonitorRecord& record);

// The device name: the field up to its first zero (at most 31 characters in a stored record).
std::wstring MonitorDeviceName(const MonitorRecord& record);

// `high` - `low`; nothing when the difference does not fit 32 bits.
std::optional<std::int32_t> Extent(std::int32_t low, std::int32_t high);

// The rectangle at (`left`, `top`) of the given size; nothing when its right or bottom edge
// falls outside the 32-bit range.
std::optional<support::Rect> RectFromSize(std::int32_t left, std::int32_t top, std::int32_t width,
                                          std::int32_t height);

// The one monitor of a host that cannot tell its monitors apart: the desktop's rectangle, the
// work area, primary, named "DISPLAY".
MonitorRecord SingleDisplayRecord(const support::Rect& desktop, const support::Rect& workArea);

}  // namespace bk
