// Base of every automation class of the library: the one IUnknown (unknown.h), IDispatch
// from the embedded type information through the interface's cached dispatch table, and
// ISupportErrorInfo. A class derives as
//     class CFoo : public DispatchObject<CFoo, _orxFoo> { static constexpr wchar_t kName[] = L"orxFoo"; ... };
// and raises run-time errors with Raise(number[, description]). Further interfaces (connection
// points, class information) are listed after the default one:
//     class CBar : public DispatchObject<CBar, _orxBar, IConnectionPointContainer> { ... };
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <new>
#include <string>
#include <string_view>

#include "lib/objectmodel/dispatch.h"
#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/module.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/unknown.h"
#include "support/win/com.h"

namespace bk {

template <class Derived, class Itf, class... Extra>
class DispatchObject : public UnknownObject<Derived, Itf, ISupportErrorInfo, Extra...> {
public:
    // Source of the error information this class raises.
    static std::wstring Source() { return std::wstring(L"Basekit0308.") + Derived::kName; }

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
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (!names || !ids) return E_INVALIDARG;
        const DispatchTable* table = nullptr;
        if (HRESULT hr = Table(table); FAILED(hr)) return hr;
        return table->IdsOfNames(names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override {
        const DispatchTable* table = nullptr;
        if (HRESULT hr = Table(table); FAILED(hr)) return hr;
        return table->Invoke(static_cast<Itf*>(static_cast<Derived*>(this)), id, riid, flags, params, result,
                             excepInfo, argErr);
    }

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == __uuidof(Itf) ? S_OK : S_FALSE;
    }

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

private:
    // The interface's dispatch table, looked up in the module once per object. The module
    // drops its tables only while no object lives, so the pointer stays valid.
    HRESULT Table(const DispatchTable*& table) {
        table = table_.load(std::memory_order_relaxed);
        if (table) return S_OK;
        if (HRESULT hr = LibraryDispatchTable(__uuidof(Itf), &table); FAILED(hr)) return hr;
        table_.store(table, std::memory_order_relaxed);
        return S_OK;
    }

    std::atomic<const DispatchTable*> table_{nullptr};
};

}  // namespace bk
