#include "app/exiftool/error_object.h"

#include <new>

#include "support/raii.h"

namespace metaview {
namespace {

using support::Bstr;

// Dispatch ids of the properties, as the automation runtime's error object has them.
constexpr DISPID kNumber = 0;
constexpr DISPID kSource = 0x60020002;
constexpr DISPID kDescription = 0x60020004;
constexpr DISPID kHelpFile = 0x60020006;
constexpr DISPID kHelpContext = 0x60020008;
constexpr DISPID kClear = 0x6002000B;
constexpr DISPID kLastDllError = 0x6002000C;

struct NamedId {
    const wchar_t* name;
    DISPID id;
};
constexpr NamedId kNames[] = {
    {L"Number", kNumber},           {L"Source", kSource},     {L"Description", kDescription},
    {L"HelpFile", kHelpFile},       {L"HelpContext", kHelpContext}, {L"Clear", kClear},
    {L"LastDllError", kLastDllError},
};

class MetaviewErrObject final : public ErrObject {
public:
    explicit MetaviewErrObject(const ErrorRecord& e)
        : number_(e.Number), helpContext_(e.HelpContext), description_(e.Description), source_(e.Source),
          helpFile_(e.HelpFile) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(ErrObject)) {
            *out = static_cast<ErrObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: the properties by name, without type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids) return E_POINTER;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            if (i == 0 && names[0]) {
                for (const NamedId& n : kNames)
                    if (CompareStringOrdinal(names[0], -1, n.name, -1, TRUE) == CSTR_EQUAL) ids[0] = n.id;
            }
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* argError) override {
        if (!params) return E_POINTER;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            return Put(id, params->rgvarg[0], argError);
        }
        if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
        support::Variant value;
        HRESULT hr = S_OK;
        switch (id) {
        case kNumber: value = support::Variant::FromLong(number_); break;
        case kHelpContext: value = support::Variant::FromLong(helpContext_); break;
        case kLastDllError: value = support::Variant::FromLong(0); break;
        case kSource: value = support::Variant::FromString(source_.view()); break;
        case kDescription: value = support::Variant::FromString(description_.view()); break;
        case kHelpFile: value = support::Variant::FromString(helpFile_.view()); break;
        case kClear: hr = Clear(); break;
        default: return DISP_E_MEMBERNOTFOUND;
        }
        if (result) *result = value.detach();
        return hr;
    }

    // ErrObject
    HRESULT STDMETHODCALLTYPE get_Number(LONG* v) override { return GetLong(number_, v); }
    HRESULT STDMETHODCALLTYPE put_Number(LONG v) override { number_ = v; return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Source(BSTR* v) override { return support::AllocBstr(source_.view(), v); }
    HRESULT STDMETHODCALLTYPE put_Source(BSTR v) override { return PutText(source_, v); }
    HRESULT STDMETHODCALLTYPE get_Description(BSTR* v) override { return support::AllocBstr(description_.view(), v); }
    HRESULT STDMETHODCALLTYPE put_Description(BSTR v) override { return PutText(description_, v); }
    HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* v) override { return support::AllocBstr(helpFile_.view(), v); }
    HRESULT STDMETHODCALLTYPE put_HelpFile(BSTR v) override { return PutText(helpFile_, v); }
    HRESULT STDMETHODCALLTYPE get_HelpContext(LONG* v) override { return GetLong(helpContext_, v); }
    HRESULT STDMETHODCALLTYPE put_HelpContext(LONG v) override { helpContext_ = v; return S_OK; }
    HRESULT STDMETHODCALLTYPE Raise(LONG, VARIANT, VARIANT, VARIANT, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear() override {
        number_ = 0;
        helpContext_ = 0;
        description_.reset();
        source_.reset();
        helpFile_.reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_LastDllError(LONG* v) override { return GetLong(0, v); }

private:
    ~MetaviewErrObject() = default;

    static HRESULT GetLong(LONG value, LONG* out) {
        if (!out) return E_POINTER;
        *out = value;
        return S_OK;
    }
    static HRESULT PutText(Bstr& field, BSTR value) {
        Bstr copy(support::BstrView(value));
        if (!copy.get() && SysStringLen(value) != 0) return E_OUTOFMEMORY;
        field = std::move(copy);
        return S_OK;
    }
    HRESULT Put(DISPID id, const VARIANT& arg, UINT* argError) {
        const bool text = id == kSource || id == kDescription || id == kHelpFile;
        const bool number = id == kNumber || id == kHelpContext;
        if (!text && !number) return DISP_E_MEMBERNOTFOUND;
        support::Variant converted;
        const HRESULT hr = VariantChangeType(converted.get(), const_cast<VARIANT*>(&arg), 0,
                                             text ? VT_BSTR : VT_I4);
        if (FAILED(hr)) {
            if (argError) *argError = 0;
            return DISP_E_TYPEMISMATCH;
        }
        switch (id) {
        case kNumber: number_ = V_I4(converted.get()); break;
        case kHelpContext: helpContext_ = V_I4(converted.get()); break;
        case kSource: return PutText(source_, V_BSTR(converted.get()));
        case kDescription: return PutText(description_, V_BSTR(converted.get()));
        case kHelpFile: return PutText(helpFile_, V_BSTR(converted.get()));
        default: break;
        }
        return S_OK;
    }

    LONG refs_ = 1;
    LONG number_;
    LONG helpContext_;
    Bstr description_, source_, helpFile_;
};

}  // namespace

HRESULT CreateErrorObject(const ErrorRecord& error, ErrObject** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* object = new (std::nothrow) MetaviewErrObject(error);
    if (!object) return E_OUTOFMEMORY;
    *out = object;
    return S_OK;
}

}  // namespace metaview
