// Which Windows the program runs on, as the support library tells it.
#pragma once

namespace support {

// Windows 95 (the 9x family, version 4.0).
bool esIsHostWin95();
// Windows NT 4.0.
bool esIsHostWinNT40();
// Windows NT 3.51.
bool esIsHostWinNT351();

}  // namespace support
