// The one IUnknown of the library's objects: reference counting tied to the module count
// (which DllCanUnloadNow reads) and QueryInterface over the interfaces a class lists. A class
// derives as
//     class CFoo : public UnknownObject<CFoo, IEnumVARIANT> { ... };
// An interface that derives from IDispatch also answers IID_IDispatch; further interfaces
// (tear-offs, interfaces reached through a member) come from the class's QueryExtra.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <new>
#include <type_traits>
#include <utility>

#include "lib/objectmodel/module.h"

namespace bk {

template <class Derived, class First, class... Rest>
class UnknownObject : public First, public Rest... {
public:
    UnknownObject() { ModuleAddRef(); }
    UnknownObject(const UnknownObject&) = delete;
    UnknownObject& operator=(const UnknownObject&) = delete;
    virtual ~UnknownObject() { ModuleRelease(); }

    // A new object with one reference, handed out as `iid`.
    template <class... Args>
    static HRESULT New(REFIID iid, void** out, Args&&... args) {
        if (!out) return E_POINTER;
        *out = nullptr;
        Derived* object = new (std::nothrow) Derived(std::forward<Args>(args)...);
        if (!object) return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = Find(iid);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete static_cast<Derived*>(this);
        return static_cast<ULONG>(n);
    }

    // Further interfaces; the base adds the reference.
    void* QueryExtra(REFIID) { return nullptr; }

private:
    template <class I>
    bool Matches(REFIID iid, void*& found) {
        if (iid == __uuidof(I)) {
            found = static_cast<I*>(static_cast<Derived*>(this));
            return true;
        }
        return false;
    }

    void* Find(REFIID iid) {
        if (iid == IID_IUnknown) return static_cast<First*>(static_cast<Derived*>(this));
        void* found = nullptr;
        if (Matches<First>(iid, found) || (Matches<Rest>(iid, found) || ...)) return found;
        if (iid == IID_IDispatch) {
            if constexpr (std::is_base_of_v<IDispatch, First>) return static_cast<IDispatch*>(static_cast<First*>(this));
        }
        return static_cast<Derived*>(this)->QueryExtra(iid);
    }

    LONG refs_ = 1;
};

}  // namespace bk
