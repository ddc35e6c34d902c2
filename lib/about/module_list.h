// The modules loaded into the current process, listed for the About box in two ways: through
// the tool-help snapshot (CToolHelpInfo) and through the process-status functions of
// PSAPI.DLL (CPSAPIInfo). Both keep the order in which the system reports the modules
// (normally the program first) and offer the same members (ModuleList, module_entry.h), so
// the dialog uses either through a ModuleList.
//
// Each entry's preferred address comes from the image's own headers in memory; a module
// whose load address, size or headers cannot be read is still listed, with 0 in their place.
// The debug privilege is enabled while a list is made and then given back its earlier state.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstddef>
#include <memory>

#include "lib/about/module_entry.h"
#include "support/base/status.h"

namespace bk::about {

class CToolHelpInfo : public ModuleList {
public:
    // Takes a module snapshot of the current process; when the system gives none the list is
    // empty.
    CToolHelpInfo();
};

// The process-status functions a CPSAPIInfo calls, with the signatures PSAPI.DLL exports.
struct ProcessStatusCalls {
    BOOL(WINAPI* enumProcessModules)(HANDLE, HMODULE*, DWORD, DWORD*) = nullptr;
    DWORD(WINAPI* getModuleFileNameEx)(HANDLE, HMODULE, LPWSTR, DWORD) = nullptr;
    DWORD(WINAPI* getModuleBaseName)(HANDLE, HMODULE, LPWSTR, DWORD) = nullptr;
    BOOL(WINAPI* getModuleInformation)(HANDLE, HMODULE, MODULEINFO*, DWORD) = nullptr;
};

class CPSAPIInfo : public ModuleList {
public:
    // Module handles room is made for in the first call; when the system reports more, the
    // buffer grows to that and the call is made again.
    static constexpr std::size_t kInitialHandles = 256;

    // Lists the current process's modules with the functions of PSAPI.DLL (loaded from the
    // system folder for the call and bound by name). Fails, leaving `list` empty, only when
    // PSAPI.DLL or one of its functions cannot be had; an enumeration the system refuses gives
    // an empty list.
    static support::Status Create(std::unique_ptr<CPSAPIInfo>& list, std::size_t initialHandles = kInitialHandles);

    // Lists the current process's modules with the given functions (every one of them set).
    explicit CPSAPIInfo(const ProcessStatusCalls& calls, std::size_t initialHandles = kInitialHandles);
};

}  // namespace bk::about
