#include "tests/lib/main/main_test_util.h"

namespace bktest {

namespace {

SafeArray Create(VARTYPE type, LONG lower, size_t count) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(count), lower};
    return SafeArray(SafeArrayCreate(type, 1, &bound));
}

}  // namespace

SafeArray LongArray(LONG lower, std::initializer_list<LONG> values) {
    SafeArray a = Create(VT_I4, lower, values.size());
    LONG i = lower;
    for (LONG v : values) SafeArrayPutElement(a.get(), &i, &v), ++i;
    return a;
}

SafeArray StringArray(LONG lower, std::initializer_list<const wchar_t*> values) {
    SafeArray a = Create(VT_BSTR, lower, values.size());
    LONG i = lower;
    for (const wchar_t* v : values) {
        Bstr b(v);
        SafeArrayPutElement(a.get(), &i, b.get());
        ++i;
    }
    return a;
}

SafeArray VariantArray(LONG lower, std::initializer_list<const VARIANT*> values) {
    SafeArray a = Create(VT_VARIANT, lower, values.size());
    LONG i = lower;
    for (const VARIANT* v : values) SafeArrayPutElement(a.get(), &i, const_cast<VARIANT*>(v)), ++i;
    return a;
}

LONG Lower(SAFEARRAY* a) {
    LONG n = 0;
    SafeArrayGetLBound(a, 1, &n);
    return n;
}

LONG Upper(SAFEARRAY* a) {
    LONG n = 0;
    SafeArrayGetUBound(a, 1, &n);
    return n;
}

std::vector<LONG> Longs(SAFEARRAY* a) {
    std::vector<LONG> out;
    for (LONG i = Lower(a); i <= Upper(a); ++i) {
        LONG v = 0;
        SafeArrayGetElement(a, &i, &v);
        out.push_back(v);
    }
    return out;
}

std::vector<std::wstring> Strings(SAFEARRAY* a) {
    std::vector<std::wstring> out;
    for (LONG i = Lower(a); i <= Upper(a); ++i) {
        Bstr v;
        SafeArrayGetElement(a, &i, v.put());
        out.push_back(v.str());
    }
    return out;
}

Variant Null() {
    Variant v;
    V_VT(v.get()) = VT_NULL;
    return v;
}

Variant ErrorValue(SCODE code) {
    Variant v;
    V_VT(v.get()) = VT_ERROR;
    V_ERROR(v.get()) = code;
    return v;
}

Variant ByRef(VARTYPE type, void* target) {
    Variant v;
    V_VT(v.get()) = static_cast<VARTYPE>(type | VT_BYREF);
    V_BYREF(v.get()) = target;
    return v;
}

std::wstring ItemText(_Collection* c, const VARIANT& index) {
    Variant item;
    if (FAILED(c->Item(const_cast<VARIANT*>(&index), item.put()))) return L"<failed>";
    if (item.vt() == VT_BSTR) return Text(*item.get());
    Variant text;
    if (FAILED(VariantChangeTypeEx(text.get(), item.get(), LOCALE_INVARIANT, 0, VT_BSTR)))
        return L"<vt " + std::to_wstring(item.vt()) + L">";
    return L"<vt " + std::to_wstring(item.vt()) + L" " + Text(*text.get()) + L">";
}

std::vector<std::wstring> Texts(_Collection* c) {
    std::vector<std::wstring> out;
    long n = 0;
    if (!c || FAILED(c->Count(&n))) return out;
    for (long i = 1; i <= n; ++i) out.push_back(ItemText(c, *Variant::FromLong(i).get()));
    return out;
}

}  // namespace bktest
