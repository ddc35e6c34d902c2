#include "support/es/host.h"

#include <windows.h>

namespace support {
namespace {

// The host's platform and version, asked once. Later systems may report an older version
// than they are to programs without a compatibility manifest, never one of those below.
const OSVERSIONINFOW& HostVersion() {
    static const OSVERSIONINFOW info = [] {
        OSVERSIONINFOW v{};
        v.dwOSVersionInfoSize = sizeof v;
        if (!GetVersionExW(&v)) v = OSVERSIONINFOW{};
        return v;
    }();
    return info;
}

bool IsHost(DWORD platform, DWORD major, DWORD minor) {
    const OSVERSIONINFOW& v = HostVersion();
    return v.dwPlatformId == platform && v.dwMajorVersion == major && v.dwMinorVersion == minor;
}

}  // namespace

bool esIsHostWin95() { return IsHost(VER_PLATFORM_WIN32_WINDOWS, 4, 0); }
bool esIsHostWinNT40() { return IsHost(VER_PLATFORM_WIN32_NT, 4, 0); }
bool esIsHostWinNT351() { return IsHost(VER_PLATFORM_WIN32_NT, 3, 51); }

}  // namespace support
