#include "lib/errors/errorrecord.h"

#include <string>

#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/latebinding.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/variants.h"
#include "support/win/com.h"

namespace bk::errors {
namespace {

// One property converted to `type`; a failure fills `failure`.
HRESULT ReadProperty(LateBound& object, const wchar_t* name, VARTYPE type, support::Variant& out,
                     support::ErrorRecord& failure) {
    support::Variant value;
    if (HRESULT hr = object.Get(name, *value.get()); FAILED(hr)) {
        failure = object.error();
        return hr;
    }
    if (HRESULT hr = ConvertValue(*value.get(), type, *out.put()); FAILED(hr)) {
        failure = support::ErrorRecord{ErrorNumberOf(hr), std::wstring(RuntimeErrorText(ErrorNumberOf(hr))), {}, {}, 0};
        return hr;
    }
    return S_OK;
}

HRESULT ReadLong(LateBound& object, const wchar_t* name, long& out, support::ErrorRecord& failure) {
    support::Variant value;
    if (HRESULT hr = ReadProperty(object, name, VT_I4, value, failure); FAILED(hr)) return hr;
    out = V_I4(value.get());
    return S_OK;
}

HRESULT ReadText(LateBound& object, const wchar_t* name, std::wstring& out, support::ErrorRecord& failure) {
    support::Variant value;
    if (HRESULT hr = ReadProperty(object, name, VT_BSTR, value, failure); FAILED(hr)) return hr;
    out = support::BstrView(V_BSTR(value.get()));
    return S_OK;
}

}  // namespace

HRESULT ReadErrorRecord(IDispatch* object, support::ErrorRecord& record, support::ErrorRecord& failure) {
    failure = {};
    if (!object) {
        failure = support::ErrorRecord{kErrObjectRequired, std::wstring(RuntimeErrorText(kErrObjectRequired)), {}, {}, 0};
        return RuntimeErrorHResult(kErrObjectRequired);
    }
    LateBound error(object);
    support::ErrorRecord read;
    if (HRESULT hr = ReadLong(error, L"Number", read.number, failure); FAILED(hr)) return hr;
    if (HRESULT hr = ReadText(error, L"Description", read.description, failure); FAILED(hr)) return hr;
    if (HRESULT hr = ReadText(error, L"Source", read.source, failure); FAILED(hr)) return hr;
    if (HRESULT hr = ReadText(error, L"HelpFile", read.helpFile, failure); FAILED(hr)) return hr;
    if (HRESULT hr = ReadLong(error, L"HelpContext", read.helpContext, failure); FAILED(hr)) return hr;
    record = std::move(read);
    return S_OK;
}

}  // namespace bk::errors
