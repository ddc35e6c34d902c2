#include "lib/main/automation_values.h"

#include <climits>
#include <cstring>

#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/runtime_errors.h"
#include "support/raii.h"

namespace bk::mainhelpers {
namespace {

constexpr long kErrInvalidUseOfNull = 94;
constexpr long kErrArrayLocked = 10;

// A text for the comparison functions, which want a non-null pointer even when empty.
const wchar_t* Chars(std::wstring_view s) { return s.empty() ? L"" : s.data(); }

}  // namespace

HRESULT RaiseMain(long number) { return RaiseError(L"Basekit0308.orxMain", number); }

HRESULT RaiseConversionError(HRESULT hr, const VARIANT* value) {
    if (value && IsNull(*value)) return RaiseMain(kErrInvalidUseOfNull);
    switch (hr) {
    case DISP_E_OVERFLOW: return RaiseMain(kErrOverflow);
    case E_OUTOFMEMORY: return RaiseMain(kErrOutOfMemory);
    default: return RaiseMain(kErrTypeMismatch);
    }
}

const VARIANT* Deref(const VARIANT* v) {
    while (v && V_VT(v) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(v)) v = V_VARIANTREF(v);
    return v;
}

bool IsMissing(const VARIANT& v) {
    const VARIANT* d = Deref(&v);
    return V_VT(d) == VT_ERROR && V_ERROR(d) == DISP_E_PARAMNOTFOUND;
}

bool IsNull(const VARIANT& v) {
    const VARIANT* d = Deref(&v);
    return V_VT(d) == VT_NULL || V_VT(d) == (VT_NULL | VT_BYREF);
}

HRESULT OptionalPosition(const VARIANT& v, std::optional<long>& out) {
    out.reset();
    if (IsMissing(v)) return S_OK;
    support::Variant number;
    HRESULT hr = VariantChangeTypeEx(number.get(), const_cast<VARIANT*>(Deref(&v)), LOCALE_USER_DEFAULT, 0, VT_I4);
    if (FAILED(hr)) return RaiseConversionError(hr, &v);
    out = V_I4(number.get());
    return S_OK;
}

HRESULT TextOf(const VARIANT& v, std::wstring& out) {
    const VARIANT* d = Deref(&v);
    if (V_VT(d) == VT_BSTR) {
        out.assign(support::BstrView(V_BSTR(d)));
        return S_OK;
    }
    if (V_VT(d) == VT_ERROR || V_VT(d) == (VT_ERROR | VT_BYREF)) {
        const SCODE code = V_VT(d) == VT_ERROR ? V_ERROR(d) : *V_ERRORREF(d);
        out = L"Error " + std::to_wstring(ErrorNumberOf(code));
        return S_OK;
    }
    if (IsNull(*d)) return DISP_E_TYPEMISMATCH;
    support::Variant text;
    HRESULT hr = VariantChangeTypeEx(text.get(), const_cast<VARIANT*>(d), LOCALE_USER_DEFAULT, VARIANT_ALPHABOOL,
                                     VT_BSTR);
    if (FAILED(hr)) return hr;
    out.assign(support::BstrView(V_BSTR(text.get())));
    return S_OK;
}

HRESULT ToText(const VARIANT& v, std::wstring& out) {
    HRESULT hr = TextOf(v, out);
    return FAILED(hr) ? RaiseConversionError(hr, &v) : hr;
}

StepRunner::~StepRunner() {
    if (!raise_ && FAILED(error_)) SetErrorInfo(0, nullptr);
}

bool ExactTextEquals(std::wstring_view a, std::wstring_view b) { return a == b; }

bool TextEqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH, Chars(a),
                          static_cast<int>(a.size()), Chars(b), static_cast<int>(b.size())) == CSTR_EQUAL;
}

HRESULT VariantEquals(const VARIANT& a, const VARIANT& b, bool& equal) {
    equal = false;
    const VARIANT* l = Deref(&a);
    const VARIANT* r = Deref(&b);
    if (IsNull(*l) || IsNull(*r)) return S_OK;
    // Two texts compare by their code units, not by the locale's collation, which treats
    // some different texts as equal.
    if (V_VT(l) == VT_BSTR && V_VT(r) == VT_BSTR) {
        equal = ExactTextEquals(support::BstrView(V_BSTR(l)), support::BstrView(V_BSTR(r)));
        return S_OK;
    }
    HRESULT hr = VarCmp(const_cast<VARIANT*>(l), const_cast<VARIANT*>(r), LOCALE_USER_DEFAULT, 0);
    if (FAILED(hr)) return RaiseConversionError(hr);
    equal = hr == VARCMP_EQ;
    return S_OK;
}

ArrayReader::~ArrayReader() {
    if (locked_) SafeArrayUnlock(array_);
}

HRESULT ArrayReader::Open(SAFEARRAY* array, bool raise) {
    auto subscript = [raise] { return raise ? RaiseMain(kErrSubscript) : DISP_E_BADINDEX; };
    if (!array || SafeArrayGetDim(array) != 1) return subscript();
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper)))
        return subscript();
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &type))) return raise ? RaiseMain(kErrTypeMismatch) : DISP_E_TYPEMISMATCH;
    if (FAILED(SafeArrayLock(array))) return raise ? RaiseMain(kErrArrayLocked) : E_FAIL;
    array_ = array;
    locked_ = true;
    lower_ = lower;
    upper_ = upper;
    type_ = type;
    return S_OK;
}

const void* ArrayReader::Element(long position) const {
    const auto offset = static_cast<size_t>(static_cast<long long>(position) - lower_);
    return static_cast<const char*>(array_->pvData) + offset * array_->cbElements;
}

bool ArrayReader::View(long position, VARIANT& view) const {
    VariantInit(&view);
    const void* element = Element(position);
    switch (type_) {
    case VT_VARIANT:
        view = *static_cast<const VARIANT*>(element);
        return true;
    case VT_DECIMAL:
        V_DECIMAL(&view) = *static_cast<const DECIMAL*>(element);
        V_VT(&view) = VT_DECIMAL;  // after the value: a decimal overlays the type field
        return true;
    case VT_RECORD:
        return false;
    default:
        if (array_->cbElements > sizeof(view.llVal)) return false;
        view.llVal = 0;
        std::memcpy(&view.llVal, element, array_->cbElements);
        V_VT(&view) = type_;
        return true;
    }
}

}  // namespace bk::mainhelpers
