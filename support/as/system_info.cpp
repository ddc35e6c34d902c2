#include "support/as/system_info.h"

#include <windows.h>

#include "support/as/os_name.h"

namespace support {

std::wstring asGetHostOSFullName(bool withServicePack, bool withBuild) {
    // RtlGetVersion reports the real version; GetVersionExW answers what the program's
    // manifest (or its absence) lets it see.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    bool have = false;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        have = rtlGetVersion && rtlGetVersion(&info) == 0;
    }
    if (!have) {
        info = OSVERSIONINFOEXW{};
        info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        have = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)) != FALSE;
#pragma GCC diagnostic pop
    }
    if (!have) return L"Microsoft Windows";
    OsVersionNumbers v;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.build = info.dwBuildNumber & 0xFFFF;
    v.nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    v.workstation = info.wProductType == 0 || info.wProductType == VER_NT_WORKSTATION;
    v.servicePack = info.szCSDVersion;
    return OsFullName(v, withServicePack, withBuild);
}

bool asGlobalMemoryStatus(MemoryStatus& status) {
    MEMORYSTATUSEX m{};
    m.dwLength = sizeof m;
    if (!GlobalMemoryStatusEx(&m)) return false;
    status.memoryLoad = m.dwMemoryLoad;
    status.totalPhysical = m.ullTotalPhys;
    status.availablePhysical = m.ullAvailPhys;
    status.totalPageFile = m.ullTotalPageFile;
    status.availablePageFile = m.ullAvailPageFile;
    status.totalVirtual = m.ullTotalVirtual;
    status.availableVirtual = m.ullAvailVirtual;
    return true;
}

}  // namespace support
