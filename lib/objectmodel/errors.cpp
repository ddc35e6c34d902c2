#include "lib/objectmodel/errors.h"

#include <string>

#include "lib/objectmodel/runtime_errors.h"
#include "support/as/errortext.h"
#include "support/win/com.h"

namespace bk {
namespace {

HRESULT SetInfo(HRESULT hr, std::wstring_view source, std::wstring_view description, std::wstring_view helpFile,
                DWORD helpContext) {
    support::ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
        std::wstring desc(description), src(source), help(helpFile);
        create->SetDescription(desc.data());
        create->SetSource(src.data());
        create->SetHelpFile(help.data());
        create->SetHelpContext(helpContext);
        create->SetGUID(GUID_NULL);
        support::ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(info))) SetErrorInfo(0, info.get());
    }
    return hr;
}

}  // namespace

HRESULT RaiseHResult(std::wstring_view source, HRESULT hr, std::wstring_view description) {
    return SetInfo(hr, source, description, {}, 0);
}

HRESULT RaiseError(std::wstring_view source, long number, std::wstring_view description) {
    if (description.empty()) description = RuntimeErrorText(number);
    return RaiseHResult(source, RuntimeErrorHResult(number), description);
}

HRESULT RaiseRecord(const support::ErrorRecord& error, std::wstring_view fallbackSource) {
    HRESULT hr = HResultOfErrorNumber(error.number);
    if (SUCCEEDED(hr)) hr = E_FAIL;  // a reported error never reads as success
    std::wstring description = error.description;
    if (description.empty())
        description = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? std::wstring(RuntimeErrorText(ErrorNumberOf(hr)))
                                                               : support::asGetAPIErrorDescription(hr);
    return SetInfo(hr, error.source.empty() ? fallbackSource : std::wstring_view(error.source), description,
                   error.helpFile, static_cast<DWORD>(error.helpContext));
}

HRESULT ExceptionFromErrorInfo(HRESULT hr, EXCEPINFO* info) {
    if (!info) return hr;
    *info = EXCEPINFO{};
    info->scode = hr;
    support::ComPtr<IErrorInfo> error;
    if (GetErrorInfo(0, error.put()) == S_OK && error) {
        error->GetDescription(&info->bstrDescription);
        error->GetSource(&info->bstrSource);
        error->GetHelpFile(&info->bstrHelpFile);
        error->GetHelpContext(&info->dwHelpContext);
    }
    return DISP_E_EXCEPTION;
}

}  // namespace bk
