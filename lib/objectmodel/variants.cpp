#include "lib/objectmodel/variants.h"

#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/runtime_errors.h"
#include "support/win/com.h"

namespace bk {
namespace {

bool IsObjectType(VARTYPE vt) { return vt == VT_DISPATCH || vt == VT_UNKNOWN; }

IUnknown* ObjectOf(const VARIANT& v) {
    return V_VT(&v) == VT_DISPATCH ? V_DISPATCH(&v) : V_VT(&v) == VT_UNKNOWN ? V_UNKNOWN(&v) : nullptr;
}

// The value of an object's default member (DISPID_VALUE).
HRESULT DefaultValueOf(IUnknown* object, VARIANT& out) {
    support::ComPtr<IDispatch> dispatch;
    if (FAILED(object->QueryInterface(IID_IDispatch, dispatch.put_void()))) return RuntimeErrorHResult(kErrNoSuchMember);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    support::ExcepInfo exception;
    UINT argErr = 0;
    VariantInit(&out);
    const HRESULT hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                        &out, exception.put(), &argErr);
    if (FAILED(hr)) return RuntimeErrorHResult(kErrNoSuchMember);
    return S_OK;
}

}  // namespace

const VARIANT* Deref(const VARIANT* v) {
    while (v && V_VT(v) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(v)) v = V_VARIANTREF(v);
    return v;
}

VARIANT* Deref(VARIANT* v) {
    while (v && V_VT(v) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(v)) v = V_VARIANTREF(v);
    return v;
}

bool IsMissing(const VARIANT& v) {
    const VARIANT* d = Deref(&v);
    if (V_VT(d) == VT_ERROR) return V_ERROR(d) == DISP_E_PARAMNOTFOUND;
    return V_VT(d) == (VT_ERROR | VT_BYREF) && V_ERRORREF(d) && *V_ERRORREF(d) == DISP_E_PARAMNOTFOUND;
}

bool IsNull(const VARIANT& v) {
    const VARIANT* d = Deref(&v);
    return V_VT(d) == VT_NULL || V_VT(d) == (VT_NULL | VT_BYREF);
}

bool IsNothing(const VARIANT& v) {
    const VARIANT* d = Deref(&v);
    if (IsObjectType(V_VT(d))) return ObjectOf(*d) == nullptr;
    if (V_VT(d) == (VT_DISPATCH | VT_BYREF)) return !V_DISPATCHREF(d) || !*V_DISPATCHREF(d);
    if (V_VT(d) == (VT_UNKNOWN | VT_BYREF)) return !V_UNKNOWNREF(d) || !*V_UNKNOWNREF(d);
    return false;
}

long ConversionErrorNumber(HRESULT hr, const VARIANT& value) {
    if (IsNull(value)) return kErrInvalidUseOfNull;
    if (IsNothing(value)) return kErrObjectNotSet;
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return ErrorNumberOf(hr);  // already a run-time error
    switch (hr) {
    case DISP_E_OVERFLOW: return kErrOverflow;
    case E_OUTOFMEMORY: return kErrOutOfMemory;
    default: return kErrTypeMismatch;
    }
}

HRESULT ConvertValue(const VARIANT& value, VARTYPE type, VARIANT& out, LCID locale, USHORT flags) {
    VariantInit(&out);
    const VARIANT* v = Deref(&value);
    support::Variant plain;  // the value without a by-reference level, an object's default value
    if (V_VT(v) & VT_BYREF) {
        if (!V_BYREF(v)) return RuntimeErrorHResult(kErrTypeMismatch);
        if (HRESULT hr = VariantCopyInd(plain.get(), const_cast<VARIANT*>(v)); FAILED(hr))
            return RuntimeErrorHResult(ConversionErrorNumber(hr, *v));
        v = plain.get();
    }
    if (IsObjectType(V_VT(v)) && !IsObjectType(type)) {
        IUnknown* object = ObjectOf(*v);
        if (!object) return RuntimeErrorHResult(kErrObjectNotSet);
        support::Variant fetched;
        if (HRESULT hr = DefaultValueOf(object, *fetched.put()); FAILED(hr)) return hr;
        // A default value that is itself an object is not followed further.
        if (IsObjectType(V_VT(fetched.get()))) return RuntimeErrorHResult(kErrTypeMismatch);
        plain = std::move(fetched);
        v = plain.get();
    }
    const HRESULT hr = VariantChangeTypeEx(&out, const_cast<VARIANT*>(v), locale, flags, type);
    if (SUCCEEDED(hr)) return hr;
    VariantClear(&out);
    return RuntimeErrorHResult(ConversionErrorNumber(hr, *v));
}

}  // namespace bk
