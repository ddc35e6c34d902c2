#include "lib/main/automation_values.h"

#include <climits>
#include <cstring>

#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/variants.h"
#include "support/win/com.h"
#include "support/win/owner.h"

namespace bk::mainhelpers {
namespace {

// A text for the comparison functions, which want a non-null pointer even when empty.
const wchar_t* Chars(std::wstring_view s) { return s.empty() ? L"" : s.data(); }

}  // namespace

HRESULT RaiseMain(long number) { return RaiseError(L"Basekit0308.orxMain", number); }

HRESULT RaiseConversionError(HRESULT hr, const VARIANT& value) { return RaiseMain(ConversionErrorNumber(hr, value)); }

HRESULT OptionalPosition(const VARIANT& v, std::optional<long>& out) {
    out.reset();
    if (IsMissing(v)) return S_OK;
    support::Variant number;
    if (HRESULT hr = ConvertValue(v, VT_I4, *number.get()); FAILED(hr)) return RaiseMain(ErrorNumberOf(hr));
    out = V_I4(number.get());
    return S_OK;
}

HRESULT TextOf(const VARIANT& v, std::wstring& out) {
    const VARIANT* d = Deref(&v);
    if (V_VT(d) == VT_BSTR) {
        out.assign(support::BstrView(V_BSTR(d)));
        return S_OK;
    }
    if (V_VT(d) == VT_ERROR || (V_VT(d) == (VT_ERROR | VT_BYREF) && V_ERRORREF(d))) {
        const SCODE code = V_VT(d) == VT_ERROR ? V_ERROR(d) : *V_ERRORREF(d);
        out = L"Error " + std::to_wstring(ErrorNumberOf(code));
        return S_OK;
    }
    support::Variant text;
    if (HRESULT hr = ConvertValue(*d, VT_BSTR, *text.get(), LOCALE_USER_DEFAULT, VARIANT_ALPHABOOL); FAILED(hr))
        return hr;
    out.assign(support::BstrView(V_BSTR(text.get())));
    return S_OK;
}

HRESULT ToText(const VARIANT& v, std::wstring& out) {
    const HRESULT hr = TextOf(v, out);
    return FAILED(hr) ? RaiseMain(ErrorNumberOf(hr)) : hr;
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
    if (FAILED(hr)) return RaiseConversionError(hr, *l);
    equal = hr == VARCMP_EQ;
    return S_OK;
}

HRESULT ArrayReader::Open(SAFEARRAY* array, bool raise) {
    auto subscript = [raise] { return raise ? RaiseMain(kErrSubscript) : DISP_E_BADINDEX; };
    if (!array || SafeArrayGetDim(array) != 1) return subscript();
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper)))
        return subscript();
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &type))) return raise ? RaiseMain(kErrTypeMismatch) : DISP_E_TYPEMISMATCH;
    array_ = support::LockArray(array);
    if (!array_) return raise ? RaiseMain(kErrArrayLocked) : E_FAIL;
    lower_ = lower;
    upper_ = upper;
    type_ = type;
    return S_OK;
}

const void* ArrayReader::Element(long position) const {
    const auto offset = static_cast<size_t>(static_cast<long long>(position) - lower_);
    return static_cast<const char*>(array_.get()->pvData) + offset * array_.get()->cbElements;
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
        if (array_.get()->cbElements > sizeof(view.llVal)) return false;
        view.llVal = 0;
        std::memcpy(&view.llVal, element, array_.get()->cbElements);
        V_VT(&view) = type_;
        return true;
    }
}

}  // namespace bk::mainhelpers
