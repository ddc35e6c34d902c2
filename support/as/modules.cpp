#include "support/as/modules.h"

#include <limits>

#include "support/as/image_headers.h"

namespace support {

bool asEnableDebugPrivilege(bool enable, bool* wasEnabled) {
    if (wasEnabled) *wasEnabled = false;
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) return false;
    LUID debug{};
    if (!LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &debug)) return false;

    TOKEN_PRIVILEGES wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Luid = debug;
    wanted.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous{};
    DWORD previousSize = sizeof(previous);
    SetLastError(ERROR_SUCCESS);
    if (!AdjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof(previous), &previous, &previousSize)) return false;
    // Success with ERROR_NOT_ALL_ASSIGNED: the token does not hold the privilege at all.
    if (GetLastError() == ERROR_NOT_ALL_ASSIGNED) return false;
    // The previous state lists the privilege only when the call changed it.
    if (wasEnabled) {
        *wasEnabled = previous.PrivilegeCount == 0 ? enable
                                                   : (previous.Privileges[0].Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    return true;
}

DebugPrivilegeScope::DebugPrivilegeScope() {
    bool before = false;
    enabled_ = asEnableDebugPrivilege(true, &before);
    disableAtEnd_ = enabled_ && !before;
}

DebugPrivilegeScope::~DebugPrivilegeScope() {
    if (disableAtEnd_) asEnableDebugPrivilege(false);
}

UniqueHandle asCreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        UniqueHandle snapshot(CreateToolhelp32Snapshot(flags, processId));
        if (snapshot || GetLastError() != ERROR_BAD_LENGTH) return snapshot;
    }
    return UniqueHandle();
}

bool asModule32First(HANDLE snapshot, MODULEENTRY32W& entry) {
    entry.dwSize = sizeof(entry);
    return Module32FirstW(snapshot, &entry) != FALSE;
}

bool asModule32Next(HANDLE snapshot, MODULEENTRY32W& entry) {
    entry.dwSize = sizeof(entry);
    return Module32NextW(snapshot, &entry) != FALSE;
}

std::optional<std::uint64_t> asGetModulePreferredBaseAddr(DWORD processId, std::uintptr_t loadAddress,
                                                          std::uint64_t imageSize) {
    if (loadAddress == 0) return std::nullopt;
    HANDLE process = GetCurrentProcess();
    UniqueHandle other;
    if (processId != 0 && processId != GetCurrentProcessId()) {
        other.reset(OpenProcess(PROCESS_VM_READ, FALSE, processId));
        if (!other) return std::nullopt;
        process = other.get();
    }
    // Through ReadProcessMemory also in the current process: an address that is not readable
    // then fails the read instead of the program.
    const ImageReader read = [process, loadAddress](std::uint64_t offset, void* dest, std::size_t size) {
        if (offset > std::numeric_limits<std::uintptr_t>::max() - loadAddress) return false;
        const auto address = reinterpret_cast<const void*>(loadAddress + static_cast<std::uintptr_t>(offset));
        SIZE_T got = 0;
        return ReadProcessMemory(process, address, dest, size, &got) != FALSE && got == size;
    };
    return PreferredBaseFromHeaders(read, imageSize);
}

}  // namespace support
