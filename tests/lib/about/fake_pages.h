// Stand-ins for what a tab control works with: pages (any automation object with a ZOrder
// method and a Visible property) that write every call into one shared journal and keep a
// shared stacking order, an indexable array of pages (LBound, UBound and a default member),
// and a TabShown sink.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Basekit0308.h"
#include "support/win/com.h"

namespace abouttest {

// A small automation object answering names from a fixed list through GetIDsOfNames and
// Invoke. Reference counted for real; tests keep the objects on the stack and outlive every
// reference the library takes, which refs() shows.
class FakeDispatch : public IDispatch {
public:
    explicit FakeDispatch(std::vector<std::wstring> names) : names_(std::move(names)) {}
    virtual ~FakeDispatch() = default;

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
            for (size_t k = 0; k < names_.size(); ++k)
                if (_wcsicmp(names_[k].c_str(), names[i]) == 0) ids[i] = static_cast<DISPID>(k + 1);
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }

    IDispatch* dispatch() { return static_cast<IDispatch*>(this); }

protected:
    const std::wstring& NameOf(DISPID id) const {
        static const std::wstring none;
        return id >= 1 && static_cast<size_t>(id) <= names_.size() ? names_[static_cast<size_t>(id - 1)] : none;
    }
    static HRESULT Fail(EXCEPINFO* exception, long number, const wchar_t* description, const wchar_t* source) {
        if (exception) {
            *exception = EXCEPINFO{};
            exception->scode = static_cast<SCODE>(0x800A0000 | number);
            exception->bstrDescription = SysAllocString(description);
            exception->bstrSource = SysAllocString(source);
        }
        return DISP_E_EXCEPTION;
    }

private:
    std::vector<std::wstring> names_;
    long refs_ = 1;
};

// What the pages of one test saw: every call in order ("2.ZOrder", "3.Visible=False") and the
// stacking order, bottom first (ZOrder moves a page to the top).
struct Desk {
    std::vector<std::wstring> journal;
    std::vector<int> stack;
    std::map<int, bool> visible;

    void Clear() { journal.clear(); }
    int Top() const { return stack.empty() ? 0 : stack.back(); }
};

class FakePage : public FakeDispatch {
public:
    FakePage(Desk& desk, int number, bool hasVisible = true)
        : FakeDispatch(hasVisible ? std::vector<std::wstring>{L"ZOrder", L"Visible"} : std::vector<std::wstring>{L"ZOrder"}),
          desk_(desk),
          number_(number) {
        desk_.stack.push_back(number_);
    }

    // ZOrder fails with run-time error `number`, as the page's own error.
    void FailZOrder(long number) { failZOrder_ = number; }
    // Runs while ZOrder runs (a page whose code uses the tab control again).
    std::function<void()> onZOrder;

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        const std::wstring& name = NameOf(id);
        const std::wstring who = std::to_wstring(number_) + L".";
        if (name == L"ZOrder" && (flags & DISPATCH_METHOD)) {
            if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
            desk_.journal.push_back(who + L"ZOrder");
            if (failZOrder_) return Fail(exception, failZOrder_, L"The page cannot move", L"FakePage");
            if (onZOrder) onZOrder();
            auto& s = desk_.stack;
            s.erase(std::remove(s.begin(), s.end(), number_), s.end());
            s.push_back(number_);
            return S_OK;
        }
        if (name == L"Visible" && (flags & DISPATCH_PROPERTYPUT)) {
            if (params->cArgs != 1 || params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
                return DISP_E_BADPARAMCOUNT;
            support::Variant value;
            if (FAILED(VariantChangeType(value.get(), &params->rgvarg[0], 0, VT_BOOL))) return DISP_E_TYPEMISMATCH;
            const bool on = V_BOOL(value.get()) != VARIANT_FALSE;
            desk_.visible[number_] = on;
            desk_.journal.push_back(who + (on ? L"Visible=True" : L"Visible=False"));
            return S_OK;
        }
        if (name == L"Visible" && (flags & DISPATCH_PROPERTYGET)) {
            V_VT(result) = VT_BOOL;
            V_BOOL(result) = desk_.visible[number_] ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    Desk& desk_;
    int number_;
    long failZOrder_ = 0;
};

// An array of objects as a form's control array offers it: LBound, UBound and the element
// at an index as its default member. Elements are VARIANTs, so tests can put in what they like.
class FakePageArray : public FakeDispatch {
public:
    FakePageArray(long lower, std::vector<support::Variant> elements)
        : FakeDispatch({L"LBound", L"UBound"}), lower_(lower), elements_(std::move(elements)) {}

    std::vector<long> indexesRead;

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
        if (id == DISPID_VALUE) {
            if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            support::Variant index;
            if (FAILED(VariantChangeType(index.get(), &params->rgvarg[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
            const long i = V_I4(index.get());
            indexesRead.push_back(i);
            if (i < lower_ || i >= lower_ + static_cast<long>(elements_.size()))
                return Fail(exception, 340, L"Control array element does not exist", L"FakePageArray");
            return VariantCopy(result, elements_[static_cast<size_t>(i - lower_)].get());
        }
        const std::wstring& name = NameOf(id);
        V_VT(result) = VT_I4;
        if (name == L"LBound") V_I4(result) = lower_;
        else if (name == L"UBound") V_I4(result) = lower_ + static_cast<long>(elements_.size()) - 1;
        else return DISP_E_MEMBERNOTFOUND;
        return S_OK;
    }

private:
    long lower_;
    std::vector<support::Variant> elements_;
};

// A client's sink of TabShown: the source dispinterface served as IDispatch. Records each
// event's argument and what `probe` said at that moment.
class TabShownSink : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID___orxTabControl) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs_); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (id != 1 || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
        if (!params || params->cArgs != 1 || V_VT(&params->rgvarg[0]) != VT_I4) return DISP_E_BADPARAMCOUNT;
        shown.push_back(V_I4(&params->rgvarg[0]));
        if (probe) probed.push_back(probe());
        return S_OK;
    }

    std::vector<long> shown;
    std::function<long()> probe;
    std::vector<long> probed;
    long refs() const { return refs_; }

private:
    long refs_ = 1;
};

}  // namespace abouttest
