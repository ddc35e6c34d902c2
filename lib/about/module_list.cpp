#include "lib/about/module_list.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <type_traits>
#include <vector>

#include "support/as/modules.h"
#include "support/es/fileops.h"
#include "support/win/owner.h"

namespace bk::about {
namespace {

// A text field of a fixed-size record, up to its first zero (or its end when it has none).
template <std::size_t N>
std::wstring FieldText(const wchar_t (&field)[N]) {
    return std::wstring(field, wcsnlen(field, N));
}

std::uint64_t PreferredBase(std::uint64_t base, std::uint64_t size) {
    return support::asGetModulePreferredBaseAddr(0, static_cast<std::uintptr_t>(base), size).value_or(0);
}

// Longer than any path the system handles.
constexpr std::size_t kMostNameCharacters = 65536;

// A name a process-status function writes into a buffer, which grows while the text fills it.
template <class Call>
std::wstring ModuleText(Call call, HMODULE module) {
    std::wstring text(1024, L'\0');
    for (;;) {
        const DWORD n = call(GetCurrentProcess(), module, text.data(), static_cast<DWORD>(text.size()));
        if (n == 0) return {};
        // A text that fills the buffer (less its terminator) may have been cut.
        if (n < text.size() - 1) {
            text.resize(wcsnlen(text.c_str(), n));
            return text;
        }
        if (text.size() >= kMostNameCharacters) {
            text.resize(wcsnlen(text.c_str(), text.size()));
            return text;
        }
        text.assign(text.size() * 2, L'\0');
    }
}

// The module handles of the current process, the buffer grown to the count the system
// reports; empty when the enumeration fails.
std::vector<HMODULE> ModuleHandles(const ProcessStatusCalls& calls, std::size_t initialHandles) {
    constexpr std::size_t kMostHandles = MAXDWORD / sizeof(HMODULE);
    constexpr int kAttempts = 16;
    std::vector<HMODULE> handles(std::clamp<std::size_t>(initialHandles, 1, kMostHandles));
    for (int attempt = 1;; ++attempt) {
        DWORD needed = 0;
        const auto bytes = static_cast<DWORD>(handles.size() * sizeof(HMODULE));
        if (!calls.enumProcessModules(GetCurrentProcess(), handles.data(), bytes, &needed)) return {};
        const std::size_t count = needed / sizeof(HMODULE);
        if (count <= handles.size()) {
            handles.resize(count);
            return handles;
        }
        // Modules loaded between two calls make the count grow again: each new buffer has some
        // room to spare. Should the count still outrun it, the handles of the last call are used.
        const std::size_t grown = std::min(count + count / 8 + 16, kMostHandles);
        if (attempt == kAttempts || grown <= handles.size()) return handles;
        handles.assign(grown, nullptr);
    }
}

}  // namespace

CToolHelpInfo::CToolHelpInfo() {
    const support::DebugPrivilegeScope privilege;
    const support::UniqueHandle snapshot = support::asCreateToolhelp32Snapshot(TH32CS_SNAPMODULE,
                                                                               GetCurrentProcessId());
    if (!snapshot) return;
    MODULEENTRY32W record{};
    for (bool more = support::asModule32First(snapshot.get(), record); more;
         more = support::asModule32Next(snapshot.get(), record)) {
        CModuleEntry entry;
        entry.Name = FieldText(record.szModule);
        entry.BaseAddress = reinterpret_cast<std::uintptr_t>(record.modBaseAddr);
        entry.BaseSize = record.modBaseSize;
        entry.PrefferedAddress = PreferredBase(entry.BaseAddress, entry.BaseSize);
        entry.FileName = support::esGetLongFileName(FieldText(record.szExePath));
        entries_.push_back(std::move(entry));
    }
}

CPSAPIInfo::CPSAPIInfo(const ProcessStatusCalls& calls, std::size_t initialHandles) {
    const support::DebugPrivilegeScope privilege;
    for (HMODULE module : ModuleHandles(calls, initialHandles)) {
        CModuleEntry entry;
        entry.FileName = ModuleText(calls.getModuleFileNameEx, module);
        entry.Name = ModuleText(calls.getModuleBaseName, module);
        MODULEINFO info{};
        if (calls.getModuleInformation(GetCurrentProcess(), module, &info, sizeof(info))) {
            entry.BaseAddress = reinterpret_cast<std::uintptr_t>(info.lpBaseOfDll);
            entry.BaseSize = info.SizeOfImage;
            entry.PrefferedAddress = PreferredBase(entry.BaseAddress, entry.BaseSize);
        }
        entries_.push_back(std::move(entry));
    }
}

support::Status CPSAPIInfo::Create(std::unique_ptr<CPSAPIInfo>& list, std::size_t initialHandles) {
    list.reset();
    // From the system folder by its full name, so that no file of that name elsewhere on the
    // search path is loaded in its place.
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return support::Status::Failure(support::CodeFromSystemError(GetLastError()));
    const std::wstring path = std::wstring(folder, length) + L"\\PSAPI.DLL";
    const support::Module library(LoadLibraryW(path.c_str()));
    if (!library) {
        return support::Status::Failure(support::CodeFromSystemError(GetLastError()), L"PSAPI.DLL could not be loaded");
    }

    ProcessStatusCalls calls;
    const char* missing = nullptr;
    const auto bind = [&](auto& function, const char* name) {
        if (missing) return;
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
        if (!function) missing = name;
    };
    bind(calls.enumProcessModules, "EnumProcessModules");
    bind(calls.getModuleFileNameEx, "GetModuleFileNameExW");
    bind(calls.getModuleBaseName, "GetModuleBaseNameW");
    bind(calls.getModuleInformation, "GetModuleInformation");
    if (missing) {
        std::wstring description = L"PSAPI.DLL has no function ";
        for (const char* c = missing; *c; ++c) description += static_cast<wchar_t>(*c);
        return support::Status::Failure(support::CodeFromSystemError(ERROR_PROC_NOT_FOUND), description);
    }
    list = std::make_unique<CPSAPIInfo>(calls, initialHandles);
    return {};
}

}  // namespace bk::about
