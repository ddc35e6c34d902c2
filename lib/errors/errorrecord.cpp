#include "lib/errors/errorrecord.h"

#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/errors.h"
#include "support/raii.h"

namespace bk::errors {
namespace {

using support::Variant;

constexpr long kErrInvalidUseOfNull = 94;

// Gets a property by name. A failing object's own error (its EXCEPINFO) is what the caller
// sees, as a run-time error number where the object gave one.
HRESULT GetProperty(IDispatch* object, const wchar_t* name, Variant& value, ReadFailure& failure) {
    DISPID id = 0;
    LPOLESTR names = const_cast<LPOLESTR>(name);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        failure.hr = RuntimeErrorHResult(kErrNoSuchMember);
        return failure.hr;
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXCEPINFO exception{};
    UINT argErr = 0;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.put(), &exception,
                        &argErr);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        failure.hr = exception.scode != 0 ? exception.scode
                                          : RuntimeErrorHResult(exception.wCode != 0 ? exception.wCode : 5);
        failure.description = support::BstrView(exception.bstrDescription);
    } else if (FAILED(hr)) {
        failure.hr = hr;
    }
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    return failure.hr;
}

// The run-time error a failed conversion of a property value stands for.
HRESULT ConversionError(HRESULT hr, const Variant& value) {
    if (value.vt() == VT_NULL) return RuntimeErrorHResult(kErrInvalidUseOfNull);
    if (hr == DISP_E_OVERFLOW) return RuntimeErrorHResult(kErrOverflow);
    if (hr == E_OUTOFMEMORY) return RuntimeErrorHResult(kErrOutOfMemory);
    return RuntimeErrorHResult(kErrTypeMismatch);
}

HRESULT ReadLong(IDispatch* object, const wchar_t* name, long& out, ReadFailure& failure) {
    Variant value;
    if (FAILED(GetProperty(object, name, value, failure))) return failure.hr;
    Variant converted;
    if (HRESULT hr = VariantChangeType(converted.get(), value.get(), 0, VT_I4); FAILED(hr)) {
        failure.hr = ConversionError(hr, value);
        return failure.hr;
    }
    out = V_I4(converted.get());
    return S_OK;
}

HRESULT ReadText(IDispatch* object, const wchar_t* name, std::wstring& out, ReadFailure& failure) {
    Variant value;
    if (FAILED(GetProperty(object, name, value, failure))) return failure.hr;
    if (value.vt() == VT_EMPTY) {
        out.clear();
        return S_OK;
    }
    Variant converted;
    if (HRESULT hr = VariantChangeType(converted.get(), value.get(), 0, VT_BSTR); FAILED(hr)) {
        failure.hr = ConversionError(hr, value);
        return failure.hr;
    }
    out = support::BstrView(V_BSTR(converted.get()));
    return S_OK;
}

}  // namespace

HRESULT ReadErrorRecord(IDispatch* object, ErrorRecord& record, ReadFailure& failure) {
    failure = ReadFailure{};
    if (!object) {
        failure.hr = RuntimeErrorHResult(kErrObjectRequired);
        return failure.hr;
    }
    ErrorRecord read;
    if (FAILED(ReadLong(object, L"Number", read.number, failure))) return failure.hr;
    if (FAILED(ReadText(object, L"Description", read.description, failure))) return failure.hr;
    if (FAILED(ReadText(object, L"Source", read.source, failure))) return failure.hr;
    if (FAILED(ReadText(object, L"HelpFile", read.helpFile, failure))) return failure.hr;
    if (FAILED(ReadLong(object, L"HelpContext", read.helpContext, failure))) return failure.hr;
    record = std::move(read);
    return S_OK;
}

}  // namespace bk::errors
