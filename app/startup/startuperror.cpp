#include "app/startup/startuperror.h"

#include <oleauto.h>

#include "app/startup/startuptexts.h"
#include "support/es/msgbox.h"
#include "support/win/com.h"
#include "support/win/system_message.h"

namespace metaview {
namespace {

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
    if (detail.empty()) detail = support::FormatSystemMessage(static_cast<DWORD>(status));
    if (detail.empty()) detail = L"Automation error";
    throw StartupError(status, std::wstring(what) + L"\r\n" + detail);
}

void ShowStartupError(const StartupError& error) {
    support::esMsgBoxEx(StartupErrorMessage(static_cast<std::int32_t>(error.status()), error.description()),
                        MB_ICONERROR, L"", L"");
}

}  // namespace metaview
