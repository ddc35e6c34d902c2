// The modules loaded into a process: the tool-help snapshot of them, the debug privilege that
// reading other processes' module data may need, and the preferred base address of a loaded
// image read from its own headers.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <optional>

#include "support/win/owner.h"

namespace support {

// Enables (or, with `enable` false, disables) the debug privilege in the process's token.
// Returns whether the privilege is now in the state asked for; a token that does not hold the
// privilege gives false. `wasEnabled`, when given, receives whether it was enabled before.
bool asEnableDebugPrivilege(bool enable, bool* wasEnabled = nullptr);

// Enables the debug privilege while it lives and then gives it back the state it had, so that
// the process's token is left as it was found.
class DebugPrivilegeScope {
public:
    DebugPrivilegeScope();
    ~DebugPrivilegeScope();
    DebugPrivilegeScope(const DebugPrivilegeScope&) = delete;
    DebugPrivilegeScope& operator=(const DebugPrivilegeScope&) = delete;

    // Whether the privilege is enabled while the scope lives.
    bool enabled() const noexcept { return enabled_; }

private:
    bool enabled_ = false;
    bool disableAtEnd_ = false;
};

// A tool-help snapshot (`flags`: TH32CS_... bits) of process `processId` (0: the current
// process); not valid when the system could not take one. A snapshot that fails because
// modules are being loaded or unloaded at that moment (ERROR_BAD_LENGTH) is tried again a few
// times.
UniqueHandle asCreateToolhelp32Snapshot(DWORD flags, DWORD processId);

// The first and the next module entry of a snapshot; false when there is none (more). The
// entry's size field is set here.
bool asModule32First(HANDLE snapshot, MODULEENTRY32W& entry);
bool asModule32Next(HANDLE snapshot, MODULEENTRY32W& entry);

// The base address that the image loaded at `loadAddress` in process `processId` (0: the
// current process) asks for: the ImageBase field of its optional header, read from the
// process's memory after the headers were checked for shape (see image_headers.h). Nothing when
// the process cannot be opened or the headers cannot be read or have another shape.
// `imageSize`, when known (not 0), bounds the reads.
std::optional<std::uint64_t> asGetModulePreferredBaseAddr(DWORD processId, std::uintptr_t loadAddress,
                                                          std::uint64_t imageSize = 0);

}  // namespace support
