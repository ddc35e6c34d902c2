// The full name of a Windows version, from the numbers the system reports. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace support {

struct OsVersionNumbers {
    std::uint32_t major = 0, minor = 0, build = 0;
    bool nt = true;           // NT family (false: 95, 98, Me)
    bool workstation = true;  // a client system, not a server
    std::wstring servicePack;  // "Service Pack 3", or empty
};

// "Microsoft Windows <name> (<major>.<minor>.<build>)", with `withServicePack` the service
// pack on a second line (CR LF) when there is one; `withBuild` adds the numbers in
// parentheses. Unknown versions are named by their numbers ("Microsoft Windows NT 12.3").
std::wstring OsFullName(const OsVersionNumbers& version, bool withServicePack, bool withBuild);

}  // namespace support
