// What the About box tells of the host system: its name and the memory figures.
#pragma once

#include <cstdint>
#include <string>

namespace support {

// The full name of the running Windows as the system reports it (not as a compatibility
// setting of the program would make it appear), with the service pack on a second line and
// the version numbers when asked for.
std::wstring asGetHostOSFullName(bool withServicePack, bool withBuild);

struct MemoryStatus {
    std::uint32_t memoryLoad = 0;  // percent of physical memory in use
    std::uint64_t totalPhysical = 0, availablePhysical = 0;
    std::uint64_t totalPageFile = 0, availablePageFile = 0;
    std::uint64_t totalVirtual = 0, availableVirtual = 0;
};

// The memory figures (GlobalMemoryStatusEx, so that sizes beyond 4 GB are right); false when
// the system gives none.
bool asGlobalMemoryStatus(MemoryStatus& status);

}  // namespace support
