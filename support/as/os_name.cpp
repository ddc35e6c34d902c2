#include "support/as/os_name.h"

namespace support {
namespace {

std::wstring ProductName(const OsVersionNumbers& v) {
    if (!v.nt) {
        if (v.major == 4 && v.minor == 0) return L"95";
        if (v.major == 4 && v.minor == 10) return L"98";
        if (v.major == 4 && v.minor == 90) return L"Me";
        return L"9x " + std::to_wstring(v.major) + L"." + std::to_wstring(v.minor);
    }
    const bool client = v.workstation;
    switch (v.major) {
    case 3:
        return L"NT 3." + std::to_wstring(v.minor);
    case 4:
        return L"NT 4.0";
    case 5:
        if (v.minor == 0) return L"2000";
        if (v.minor == 1) return L"XP";
        if (v.minor == 2) return client ? L"XP Professional x64 Edition" : L"Server 2003";
        break;
    case 6:
        if (v.minor == 0) return client ? L"Vista" : L"Server 2008";
        if (v.minor == 1) return client ? L"7" : L"Server 2008 R2";
        if (v.minor == 2) return client ? L"8" : L"Server 2012";
        if (v.minor == 3) return client ? L"8.1" : L"Server 2012 R2";
        break;
    case 10:
        if (v.minor == 0) {
            if (client) return v.build >= 22000 ? L"11" : L"10";
            return v.build >= 20348 ? L"Server 2022" : v.build >= 17763 ? L"Server 2019" : L"Server 2016";
        }
        break;
    default:
        break;
    }
    return L"NT " + std::to_wstring(v.major) + L"." + std::to_wstring(v.minor);
}

}  // namespace

std::wstring OsFullName(const OsVersionNumbers& version, bool withServicePack, bool withBuild) {
    std::wstring text = L"Microsoft Windows " + ProductName(version);
    if (withBuild) {
        text += L" (" + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
                std::to_wstring(version.build) + L")";
    }
    if (withServicePack && !version.servicePack.empty()) text += L"\r\n" + version.servicePack;
    return text;
}

}  // namespace support
