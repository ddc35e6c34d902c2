// Base of every COM class of the library: reference counting tied to the module count,
// QueryInterface for its default interface, IDispatch from the embedded type information,
// and ISupportErrorInfo. A class derives as
//     class CFoo : public DispatchObject<CFoo, _orxFoo> { static constexpr wchar_t kName[] = L"orxFoo"; ... };
// and raises run-time errors with Raise(number[, description]).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <new>
#include <string>
#include <string_view>

#include "lib/objectmodel/dispatch.h"
#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/module.h"
#include "lib/objectmodel/runtime_errors.h"
#include "support/raii.h"

namespace bk {

template <class Derived, class Itf>
class DispatchObject : public Itf, public ISupportErrorInfo {
public:
    DispatchObject() { ModuleAddRef(); }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;
    virtual ~DispatchObject() { ModuleRelease(); }

    // Creates an instance and returns the requested interface of it.
    template <class... Args>
    static HRESULT CreateInstance(REFIID iid, void** out, Args&&... args) {
        if (!out) return E_POINTER;
        *out = nullptr;
        Derived* object = new (std::nothrow) Derived(std::forward<Args>(args)...);
        if (!object) return E_OUTOFMEMORY;
        HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }

    // Source of the error information this class raises.
    static std::wstring Source() { return std::wstring(L"Basekit0308.") + Derived::kName; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(Itf)) {
            *out = static_cast<Itf*>(this);
        } else if (iid == IID_ISupportErrorInfo) {
            *out = static_cast<ISupportErrorInfo*>(this);
        } else if (void* extra = static_cast<Derived*>(this)->QueryExtra(iid)) {
            *out = extra;
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete static_cast<Derived*>(this);
        return static_cast<ULONG>(n);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return LibraryTypeInfo(__uuidof(Itf), out);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        support::ComPtr<ITypeInfo> ti;
        HRESULT hr = LibraryTypeInfo(__uuidof(Itf), ti.put());
        if (FAILED(hr)) return hr;
        return ti->GetIDsOfNames(names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override {
        support::ComPtr<ITypeInfo> ti;
        HRESULT hr = LibraryTypeInfo(__uuidof(Itf), ti.put());
        if (FAILED(hr)) return hr;
        return InvokeThroughTypeInfo(ti.get(), static_cast<Itf*>(this), id, flags, params, result,
                                     excepInfo, argErr);
    }

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == __uuidof(Itf) ? S_OK : S_FALSE;
    }

    // Further interfaces a class offers; the base adds the reference.
    void* QueryExtra(REFIID) { return nullptr; }

protected:

    static HRESULT Raise(long number, std::wstring_view description = {}) {
        return RaiseError(Source(), number, description);
    }
    // Runs a member body so that no C++ exception leaves the COM method: running out of
    // memory becomes run-time error 7, anything else E_UNEXPECTED with a description.
    template <class Body>
    static HRESULT Guard(Body&& body) noexcept {
        try {
            return body();
        } catch (const std::bad_alloc&) {
            return Raise(kErrOutOfMemory);
        } catch (...) {
            return RaiseHResult(Source(), E_UNEXPECTED, L"Unexpected failure");
        }
    }

    static HRESULT NotBuilt(std::wstring_view member) {
        return NotImplemented(Source(), std::wstring(Derived::kName) + L"." + std::wstring(member));
    }

private:
    LONG refs_ = 1;
};

}  // namespace bk
