#include "lib/objectmodel/errorobject.h"

#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/named_members.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/unknown.h"
#include "lib/objectmodel/variants.h"
#include "support/win/com.h"

namespace bk {
namespace {

using support::Bstr;

// Dispatch ids of the members, as the ErrObject interface declares them.
constexpr DISPID kNumber = 0;
constexpr DISPID kSource = 0x60020002;
constexpr DISPID kDescription = 0x60020004;
constexpr DISPID kHelpFile = 0x60020006;
constexpr DISPID kHelpContext = 0x60020008;
constexpr DISPID kRaise = 0x6002000A;
constexpr DISPID kClear = 0x6002000B;
constexpr DISPID kLastDllError = 0x6002000C;

constexpr NamedId kNames[] = {
    {L"Number", kNumber},           {L"Source", kSource},   {L"Description", kDescription},
    {L"HelpFile", kHelpFile},       {L"HelpContext", kHelpContext}, {L"Raise", kRaise},
    {L"Clear", kClear},             {L"LastDllError", kLastDllError},
};

// IDispatch by name without type information, so that the object serves in any module,
// whether or not the library's type library can be loaded there.
class ErrorObject : public UnknownObject<ErrorObject, ErrObject> {
public:
    explicit ErrorObject(const support::ErrorRecord& e)
        : number_(e.number), helpContext_(e.helpContext), description_(e.description), source_(e.source),
          helpFile_(e.helpFile) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return IdsOfNames(kNames, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (!params || (params->cArgs > 0 && !params->rgvarg)) return E_INVALIDARG;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            return Put(id, params->rgvarg[0], argError);
        }
        if (id == kRaise) return InvokeRaise(*params, exception, argError);
        if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
        support::Variant value;
        switch (id) {
        case kNumber: value = support::Variant::FromLong(number_); break;
        case kHelpContext: value = support::Variant::FromLong(helpContext_); break;
        case kLastDllError: value = support::Variant::FromLong(0); break;
        case kSource: value = support::Variant::FromString(source_.view()); break;
        case kDescription: value = support::Variant::FromString(description_.view()); break;
        case kHelpFile: value = support::Variant::FromString(helpFile_.view()); break;
        case kClear: Clear(); break;
        default: return DISP_E_MEMBERNOTFOUND;
        }
        if (result) *result = value.detach();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Number(LONG* v) override { return GetLong(number_, v); }
    HRESULT STDMETHODCALLTYPE put_Number(LONG v) override {
        number_ = v;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Source(BSTR* v) override { return support::AllocBstr(source_.view(), v); }
    HRESULT STDMETHODCALLTYPE put_Source(BSTR v) override { return PutText(source_, v); }
    HRESULT STDMETHODCALLTYPE get_Description(BSTR* v) override { return support::AllocBstr(description_.view(), v); }
    HRESULT STDMETHODCALLTYPE put_Description(BSTR v) override { return PutText(description_, v); }
    HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* v) override { return support::AllocBstr(helpFile_.view(), v); }
    HRESULT STDMETHODCALLTYPE put_HelpFile(BSTR v) override { return PutText(helpFile_, v); }
    HRESULT STDMETHODCALLTYPE get_HelpContext(LONG* v) override { return GetLong(helpContext_, v); }
    HRESULT STDMETHODCALLTYPE put_HelpContext(LONG v) override {
        helpContext_ = v;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_LastDllError(LONG* v) override { return GetLong(0, v); }

    // Sets the error and raises it: the call fails with the error's HRESULT and error information.
    // Omitted texts keep what the object holds, except the description: the number's standard text.
    HRESULT STDMETHODCALLTYPE Raise(LONG number, VARIANT source, VARIANT description, VARIANT helpFile,
                                    VARIANT helpContext) override {
        Bstr newSource = source_, newDescription(RuntimeErrorText(number)), newHelpFile = helpFile_;
        LONG newContext = helpContext_;
        if (FAILED(TextArgument(source, newSource)) || FAILED(TextArgument(description, newDescription)) ||
            FAILED(TextArgument(helpFile, newHelpFile)))
            return E_INVALIDARG;
        if (!IsMissing(helpContext)) {
            support::Variant context;
            if (FAILED(ConvertValue(helpContext, VT_I4, *context.get()))) return E_INVALIDARG;
            newContext = V_I4(context.get());
        }
        number_ = number;
        source_ = std::move(newSource);
        description_ = std::move(newDescription);
        helpFile_ = std::move(newHelpFile);
        helpContext_ = newContext;
        return RaiseRecord(support::ErrorRecord{number_, description_.str(), source_.str(), helpFile_.str(), helpContext_},
                           {});
    }

    HRESULT STDMETHODCALLTYPE Clear() override {
        number_ = 0;
        helpContext_ = 0;
        description_.reset();
        source_.reset();
        helpFile_.reset();
        return S_OK;
    }

private:
    static HRESULT GetLong(LONG value, LONG* out) {
        if (!out) return E_POINTER;
        *out = value;
        return S_OK;
    }
    // An optional text argument: `out` keeps its value when the argument is omitted.
    static HRESULT TextArgument(const VARIANT& argument, Bstr& out) {
        if (IsMissing(argument)) return S_OK;
        support::Variant text;
        if (HRESULT hr = ConvertValue(argument, VT_BSTR, *text.get()); FAILED(hr)) return hr;
        out = Bstr(support::BstrView(V_BSTR(text.get())));
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
        if (FAILED(ConvertValue(arg, text ? VT_BSTR : VT_I4, *converted.get()))) {
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
    // Raise called by name: Number, then the optional Source, Description, HelpFile, HelpContext.
    HRESULT InvokeRaise(const DISPPARAMS& params, EXCEPINFO* exception, UINT* argError) {
        if (params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
        if (params.cArgs < 1) return DISP_E_PARAMNOTOPTIONAL;
        if (params.cArgs > 5) return DISP_E_BADPARAMCOUNT;
        VARIANT args[5];
        for (VARIANT& a : args) a = LateBoundMissing();
        for (UINT i = 0; i < params.cArgs; ++i) args[i] = params.rgvarg[params.cArgs - 1 - i];
        support::Variant number;
        if (FAILED(ConvertValue(args[0], VT_I4, *number.get()))) {
            if (argError) *argError = params.cArgs - 1;
            return DISP_E_TYPEMISMATCH;
        }
        const HRESULT hr = Raise(V_I4(number.get()), args[1], args[2], args[3], args[4]);
        return FAILED(hr) ? ExceptionFromErrorInfo(hr, exception) : hr;
    }
    static VARIANT LateBoundMissing() {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_ERROR;
        V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
        return v;
    }

    LONG number_;
    LONG helpContext_;
    Bstr description_, source_, helpFile_;
};

}  // namespace

HRESULT CreateErrorObject(const support::ErrorRecord& error, ErrObject** out) noexcept {
    try {
        return ErrorObject::New(__uuidof(ErrObject), reinterpret_cast<void**>(out), error);
    } catch (...) {
        return E_OUTOFMEMORY;  // copying the texts
    }
}

HRESULT CreateErrorObjectFromFailure(HRESULT hr, IErrorInfo* info, ErrObject** out) noexcept {
    try {
        support::ErrorRecord record;
        if (FAILED(hr)) record.number = ErrorNumberOf(hr);
        if (info) {
            Bstr text;
            if (SUCCEEDED(info->GetDescription(text.put()))) record.description = text.str();
            if (SUCCEEDED(info->GetSource(text.put()))) record.source = text.str();
            if (SUCCEEDED(info->GetHelpFile(text.put()))) record.helpFile = text.str();
            DWORD context = 0;
            if (SUCCEEDED(info->GetHelpContext(&context))) record.helpContext = static_cast<long>(context);
        }
        return CreateErrorObject(record, out);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace bk
