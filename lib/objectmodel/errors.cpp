#include "errors.h"

#include <string>

#include "lib/objectmodel/runtime_errors.h"
#include "support/raii.h"

namespace bk {

HRESULT RaiseHResult(std::wstring_view source, HRESULT hr, std::wstring_view description) {
    support::ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
        std::wstring desc(description), src(source);
        create->SetDescription(desc.data());
        create->SetSource(src.data());
        create->SetGUID(GUID_NULL);
        support::ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(info))) SetErrorInfo(0, info.get());
    }
    return hr;
}

HRESULT RaiseError(std::wstring_view source, long number, std::wstring_view description) {
    if (description.empty()) description = RuntimeErrorText(number);
    return RaiseHResult(source, RuntimeErrorHResult(number), description);
}

HRESULT NotImplemented(std::wstring_view source, std::wstring_view member) {
    std::wstring text(member);
    text += L" is not implemented in this version of the library";
    return RaiseHResult(source, E_NOTIMPL, text);
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

long ErrorNumberOf(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
    return static_cast<long>(hr);
}

}  // namespace bk
