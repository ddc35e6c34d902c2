// A stand-in for a run-time error object: any automation object with Number, Description,
// Source, HelpFile and HelpContext, served late-bound. It logs the properties read, and can
// fail a read with an error of its own.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "Basekit0308.h"
#include "support/win/com.h"
#include "support/win/owner.h"

namespace bktest {

class FakeError : public IDispatch {
public:
    FakeError() = default;
    FakeError(long number, std::wstring description, std::wstring source = {}, std::wstring helpFile = {},
              long helpContext = 0) {
        SetLong(L"Number", number);
        SetText(L"Description", description);
        SetText(L"Source", source);
        SetText(L"HelpFile", helpFile);
        SetLong(L"HelpContext", helpContext);
    }

    void SetLong(const std::wstring& name, long v) { values_[name] = support::Variant::FromLong(v); }
    void SetText(const std::wstring& name, const std::wstring& v) { values_[name] = support::Variant::FromString(v); }
    void SetValue(const std::wstring& name, support::Variant v) { values_[name] = std::move(v); }
    void Remove(const std::wstring& name) { values_.erase(name); }
    // Reading `name` fails with `scode` and `description` (as an exception of the object).
    void FailOn(const std::wstring& name, HRESULT scode, const std::wstring& description) {
        failName_ = name;
        failCode_ = scode;
        failText_ = description;
    }
    const std::vector<std::wstring>& reads() const { return reads_; }

    // IUnknown: reference counted for real, but the tests keep it on the stack and outlive
    // every reference the library takes.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs_); }
    long refs() const { return refs_; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            const std::wstring name = names[i];
            for (size_t k = 0; k < kNames.size(); ++k) {
                if (_wcsicmp(kNames[k], name.c_str()) == 0 && values_.count(kNames[k])) ids[i] = static_cast<DISPID>(k + 1);
            }
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        if (id < 1 || id > static_cast<DISPID>(kNames.size())) return DISP_E_MEMBERNOTFOUND;
        if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
        const std::wstring name = kNames[static_cast<size_t>(id - 1)];
        reads_.push_back(name);
        if (name == failName_) {
            if (exception) {
                *exception = EXCEPINFO{};
                exception->scode = failCode_;
                exception->bstrDescription = SysAllocString(failText_.c_str());
            }
            return DISP_E_EXCEPTION;
        }
        if (result) VariantCopy(result, values_[name].get());
        return S_OK;
    }

private:
    static constexpr std::array<const wchar_t*, 5> kNames = {L"Number", L"Description", L"Source", L"HelpFile",
                                                            L"HelpContext"};
    std::map<std::wstring, support::Variant> values_;
    std::vector<std::wstring> reads_;
    std::wstring failName_;
    HRESULT failCode_ = S_OK;
    std::wstring failText_;
    long refs_ = 1;
};

// The fake as the library's error-object argument type (read late-bound by the library).
inline ErrObject* AsErrObject(FakeError& e) { return reinterpret_cast<ErrObject*>(static_cast<IDispatch*>(&e)); }

}  // namespace bktest
