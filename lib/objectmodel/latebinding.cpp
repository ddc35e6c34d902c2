#include "lib/objectmodel/latebinding.h"

#include <string>
#include <utility>
#include <vector>

#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/runtime_errors.h"
#include "support/as/errortext.h"

namespace bk {
namespace {

// The run-time error number a dispatch failure stands for, or 0 when it stands for none.
long NumberOfDispatchFailure(HRESULT hr) {
    switch (hr) {
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND: return kErrNoSuchMember;
    case DISP_E_TYPEMISMATCH: return kErrTypeMismatch;
    case DISP_E_BADPARAMCOUNT: return kErrArgumentCount;
    case DISP_E_PARAMNOTOPTIONAL: return kErrArgumentNotOptional;
    case DISP_E_PARAMNOTFOUND: return kErrNamedArgument;
    case DISP_E_OVERFLOW: return kErrOverflow;
    case DISP_E_BADINDEX: return kErrSubscript;
    case E_OUTOFMEMORY: return kErrOutOfMemory;
    default: return 0;
    }
}

}  // namespace

support::ErrorRecord ErrorRecordOfCall(HRESULT hr, const EXCEPINFO* exception) {
    support::ErrorRecord record;
    if (hr == DISP_E_EXCEPTION && exception) {
        const HRESULT code = exception->scode != 0 ? exception->scode
                             : exception->wCode != 0 ? RuntimeErrorHResult(exception->wCode)
                                                     : RuntimeErrorHResult(kErrInvalidCall);
        record.number = ErrorNumberOf(code);
        record.description = support::BstrView(exception->bstrDescription);
        record.source = support::BstrView(exception->bstrSource);
        record.helpFile = support::BstrView(exception->bstrHelpFile);
        record.helpContext = static_cast<long>(exception->dwHelpContext);
        return record;
    }
    if (const long number = NumberOfDispatchFailure(hr)) {
        record.number = number;
        record.description = RuntimeErrorText(number);
        return record;
    }
    record.number = ErrorNumberOf(hr);
    record.description = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? std::wstring(RuntimeErrorText(record.number))
                                                                   : support::asGetAPIErrorDescription(hr);
    return record;
}

LateBound::LateBound(IDispatch* object) : dispatch_(support::ComPtr<IDispatch>::Share(object)) {
    if (dispatch_) dispatch_->QueryInterface(__uuidof(IDispatchEx), dispatchEx_.put_void());
}

LateBound::LateBound(IUnknown* object) {
    if (!object) return;
    object->QueryInterface(IID_IDispatch, dispatch_.put_void());
    if (dispatch_) dispatch_->QueryInterface(__uuidof(IDispatchEx), dispatchEx_.put_void());
}

VARIANT LateBound::Missing() {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_ERROR;
    V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
    return v;
}

HRESULT LateBound::FailWith(long number) {
    error_ = support::ErrorRecord{number, std::wstring(RuntimeErrorText(number)), {}, {}, 0};
    return RuntimeErrorHResult(number);
}

HRESULT LateBound::IdOf(std::wstring_view name, DISPID& id) {
    id = DISPID_UNKNOWN;
    if (!dispatch_) return FailWith(kErrObjectNotSet);
    if (dispatchEx_) {
        support::Bstr text(name);
        if (SUCCEEDED(dispatchEx_->GetDispID(text.get(), fdexNameCaseInsensitive, &id))) return S_OK;
    }
    std::wstring text(name);
    LPOLESTR names = text.data();
    const HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return FailWith(kErrNoSuchMember);
    return S_OK;
}

HRESULT LateBound::InvokeRaw(DISPID id, WORD flags, std::span<const VARIANT> args, VARIANT* result,
                             EXCEPINFO* exception) {
    if (!dispatch_) return E_POINTER;
    // DISPPARAMS holds the arguments last to first; a property put names its value.
    std::vector<VARIANTARG> reversed(args.rbegin(), args.rend());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    if (result) VariantInit(result);
    if (exception) *exception = EXCEPINFO{};
    UINT argErr = 0;
    HRESULT hr;
    if (dispatchEx_)
        hr = dispatchEx_->InvokeEx(id, LOCALE_USER_DEFAULT, flags, &params, result, exception, nullptr);
    else
        hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, exception, &argErr);
    if (hr == DISP_E_EXCEPTION && exception && exception->pfnDeferredFillIn) {
        auto fill = std::exchange(exception->pfnDeferredFillIn, nullptr);
        fill(exception);
    }
    return hr;
}

HRESULT LateBound::Invoke(DISPID id, WORD flags, std::span<const VARIANT> args, VARIANT* result) {
    error_ = {};
    if (!dispatch_) return FailWith(kErrObjectNotSet);
    support::Variant value;
    support::ExcepInfo exception;
    const HRESULT hr = InvokeRaw(id, flags, args, value.get(), exception.put());
    if (FAILED(hr)) {
        error_ = ErrorRecordOfCall(hr, &exception.get());
        const HRESULT failure = HResultOfErrorNumber(error_.number);
        return FAILED(failure) ? failure : E_FAIL;
    }
    if (result) {
        VariantClear(result);
        *result = value.detach();
    }
    return S_OK;
}

HRESULT LateBound::Get(std::wstring_view name, VARIANT& result, std::initializer_list<VARIANT> args) {
    DISPID id = 0;
    if (HRESULT hr = IdOf(name, id); FAILED(hr)) return hr;
    return Invoke(id, DISPATCH_PROPERTYGET, std::span<const VARIANT>(args.begin(), args.size()), &result);
}

HRESULT LateBound::Put(std::wstring_view name, const VARIANT& value, std::initializer_list<VARIANT> args) {
    DISPID id = 0;
    if (HRESULT hr = IdOf(name, id); FAILED(hr)) return hr;
    std::vector<VARIANT> all(args.begin(), args.end());
    all.push_back(value);
    return Invoke(id, DISPATCH_PROPERTYPUT, all, nullptr);
}

HRESULT LateBound::PutRef(std::wstring_view name, IDispatch* value) {
    DISPID id = 0;
    if (HRESULT hr = IdOf(name, id); FAILED(hr)) return hr;
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = value;  // borrowed for the call
    return Invoke(id, DISPATCH_PROPERTYPUTREF, std::span<const VARIANT>(&v, 1), nullptr);
}

HRESULT LateBound::Call(std::wstring_view name, std::initializer_list<VARIANT> args, VARIANT* result) {
    DISPID id = 0;
    if (HRESULT hr = IdOf(name, id); FAILED(hr)) return hr;
    return Invoke(id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::span<const VARIANT>(args.begin(), args.size()),
                  result);
}

}  // namespace bk
