#include "app/startup/startuptexts.h"

#include <cstdio>

#include "app/version/formatversion.h"

namespace metaview {

std::wstring UsageMessage(const support::AppIdentity& app, bool english, std::wstring_view exeBaseName) {
    return GetAppInfoText(app, false, english) + L"\r\n\r\n" + L"Usage: " + std::wstring(exeBaseName) +
           L"[.EXE] FileName";
}

std::wstring StartupErrorMessage(std::int32_t status, std::wstring_view description) {
    const auto bits = static_cast<std::uint32_t>(status);
    constexpr std::uint32_t kRunTimeErrorBase = 0x800A0000u;
    wchar_t number[48];
    if ((bits & 0xFFFF0000u) == kRunTimeErrorBase)
        std::swprintf(number, std::size(number), L"%u", static_cast<unsigned>(bits & 0xFFFFu));
    else
        std::swprintf(number, std::size(number), L"%d (%08x)", static_cast<int>(status), static_cast<unsigned>(bits));
    return L"Run-time error '" + std::wstring(number) + L"':\r\n\r\n" + std::wstring(description);
}

}  // namespace metaview
