// Owners for COM and automation resources: interface pointers, strings, variants, arrays,
// exception records and the thread's apartment. They share the verbs of owner.h (get, put,
// reset, detach, valid); interface pointers and strings also copy.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>
#include <unknwn.h>

#include <string>
#include <string_view>
#include <utility>

namespace support {

// A COM interface pointer released when it goes.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* p) { ComPtr c; c.p_ = p; return c; }
    // Adds a reference of its own.
    static ComPtr Share(T* p) { if (p) p->AddRef(); return Attach(p); }
    ComPtr(const ComPtr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
    ComPtr& operator=(const ComPtr& o) {
        if (o.p_) o.p_->AddRef();
        reset();
        p_ = o.p_;
        return *this;
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) { reset(); p_ = std::exchange(o.p_, nullptr); }
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    bool valid() const { return p_ != nullptr; }
    explicit operator bool() const { return p_ != nullptr; }
    T** put() { reset(); return &p_; }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    T* detach() { return std::exchange(p_, nullptr); }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    template <class U>
    HRESULT As(ComPtr<U>& out) const {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(__uuidof(U), out.put_void());
    }

private:
    T* p_ = nullptr;
};

// An automation string. An absent BSTR (null) reads as the empty string.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view s)
        : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    Bstr(const Bstr& o) : b_(o.b_ ? SysAllocStringLen(o.b_, SysStringLen(o.b_)) : nullptr) {}
    Bstr& operator=(const Bstr& o) {
        if (this != &o) { Bstr t(o); std::swap(b_, t.b_); }
        return *this;
    }
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept {
        if (this != &o) { reset(); b_ = std::exchange(o.b_, nullptr); }
        return *this;
    }
    ~Bstr() { reset(); }
    static Bstr Attach(BSTR b) { Bstr s; s.b_ = b; return s; }

    BSTR get() const { return b_; }
    BSTR* put() { reset(); return &b_; }
    BSTR detach() { return std::exchange(b_, nullptr); }
    void reset() { if (b_) SysFreeString(std::exchange(b_, nullptr)); }
    std::wstring_view view() const { return b_ ? std::wstring_view(b_, SysStringLen(b_)) : std::wstring_view(); }
    std::wstring str() const { return std::wstring(view()); }

private:
    BSTR b_ = nullptr;
};

// Reads a BSTR argument as text without taking ownership.
inline std::wstring_view BstrView(BSTR b) {
    return b ? std::wstring_view(b, SysStringLen(b)) : std::wstring_view();
}

// Allocates a BSTR for an out-parameter; the caller owns it.
inline HRESULT AllocBstr(std::wstring_view s, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return (*out || s.empty()) ? S_OK : E_OUTOFMEMORY;
}

// An automation variant cleared when it goes.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant& o) { VariantInit(&v_); VariantCopy(&v_, const_cast<VARIANT*>(&o.v_)); }
    Variant& operator=(const Variant& o) {
        if (this != &o) VariantCopy(&v_, const_cast<VARIANT*>(&o.v_));
        return *this;
    }
    Variant(Variant&& o) noexcept { v_ = o.v_; VariantInit(&o.v_); }
    Variant& operator=(Variant&& o) noexcept {
        if (this != &o) { VariantClear(&v_); v_ = o.v_; VariantInit(&o.v_); }
        return *this;
    }
    ~Variant() { VariantClear(&v_); }

    static Variant FromLong(LONG n) { Variant v; V_VT(&v.v_) = VT_I4; V_I4(&v.v_) = n; return v; }
    static Variant FromDouble(double d) { Variant v; V_VT(&v.v_) = VT_R8; V_R8(&v.v_) = d; return v; }
    static Variant FromBool(bool b) { Variant v; V_VT(&v.v_) = VT_BOOL; V_BOOL(&v.v_) = b ? VARIANT_TRUE : VARIANT_FALSE; return v; }
    static Variant FromString(std::wstring_view s) {
        Variant v;
        V_VT(&v.v_) = VT_BSTR;
        V_BSTR(&v.v_) = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
        return v;
    }
    // Adds a reference to the object.
    static Variant FromDispatch(IDispatch* d) {
        Variant v;
        V_VT(&v.v_) = VT_DISPATCH;
        V_DISPATCH(&v.v_) = d;
        if (d) d->AddRef();
        return v;
    }
    // A missing optional argument.
    static Variant Missing() { Variant v; V_VT(&v.v_) = VT_ERROR; V_ERROR(&v.v_) = DISP_E_PARAMNOTFOUND; return v; }

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARIANT* put() { VariantClear(&v_); return &v_; }
    void reset() { VariantClear(&v_); }
    VARTYPE vt() const { return V_VT(&v_); }
    VARIANT detach() { VARIANT r = v_; VariantInit(&v_); return r; }

private:
    VARIANT v_;
};

// A SAFEARRAY destroyed when it goes.
class SafeArray {
public:
    SafeArray() = default;
    explicit SafeArray(SAFEARRAY* a) : a_(a) {}
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    SafeArray(SafeArray&& o) noexcept : a_(std::exchange(o.a_, nullptr)) {}
    SafeArray& operator=(SafeArray&& o) noexcept {
        if (this != &o) { reset(); a_ = std::exchange(o.a_, nullptr); }
        return *this;
    }
    ~SafeArray() { reset(); }
    SAFEARRAY* get() const { return a_; }
    SAFEARRAY** put() { reset(); return &a_; }
    SAFEARRAY* detach() { return std::exchange(a_, nullptr); }
    void reset() { if (a_) SafeArrayDestroy(std::exchange(a_, nullptr)); }

private:
    SAFEARRAY* a_ = nullptr;
};

// Initialises COM on this thread for its scope (single-threaded apartment).
class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() { if (SUCCEEDED(hr_)) CoUninitialize(); }
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

// An EXCEPINFO whose strings are freed when it goes or is cleared.
class ExcepInfo {
public:
    ExcepInfo() = default;
    ExcepInfo(const ExcepInfo&) = delete;
    ExcepInfo& operator=(const ExcepInfo&) = delete;
    ~ExcepInfo() { reset(); }

    EXCEPINFO* put() {
        reset();
        return &info_;
    }
    const EXCEPINFO& get() const { return info_; }
    void reset() {
        SysFreeString(info_.bstrDescription);
        SysFreeString(info_.bstrSource);
        SysFreeString(info_.bstrHelpFile);
        info_ = EXCEPINFO{};
    }

private:
    EXCEPINFO info_{};
};

}  // namespace support
