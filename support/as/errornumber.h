// Error and exit codes as text. Platform-free.
#pragma once

#include <string>

namespace support {

// Small codes (-65535 to 65535) in decimal ("1", "-1"); anything larger, such as a status
// code or an HRESULT, as eight hexadecimal digits ("0xC0000135").
std::wstring asGetErrorNumber(long number);

}  // namespace support
