#include "app/startup/startuperror.h"

#include <oleauto.h>

#include "app/startup/startuptexts.h"
#include "support/msgbox.h"
#include "support/raii.h"

namespace metaview {
namespace {

std::wstring SystemText(HRESULT status) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&buffer), 0,
                                   nullptr);
    std::wstring text(buffer ? buffer : L"", n);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

std::wstring ErrorInfoText() {
    support::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info) return {};
    support::Bstr description;
    info->GetDescription(description.put());
    return description.str();
}

}  // namespace

void ThrowIfFailed(HRESULT status, std::wstring_view what) {
    if (SUCCEEDED(status)) return;
    std::wstring detail = ErrorInfoText();
    if (detail.empty()) detail = SystemText(status);
    if (detail.empty()) detail = L"Automation error";
    throw StartupError(status, std::wstring(what) + L"\r\n" + detail);
}

void ShowStartupError(const StartupError& error) {
    support::esMsgBoxEx(StartupErrorMessage(static_cast<std::int32_t>(error.status()), error.description()),
                        MB_ICONERROR, L"", L"");
}

}  // namespace metaview
