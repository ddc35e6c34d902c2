#include "lib/automation/errobject.h"

#include "lib/objectmodel/comobject.h"
#include "lib/objectmodel/runtime_errors.h"

namespace bk {
namespace {

using support::Bstr;

class CErrObject : public DispatchObject<CErrObject, ErrObject> {
public:
    static constexpr wchar_t kName[] = L"ErrObject";

    CErrObject(HRESULT hr, IErrorInfo* info) {
        if (FAILED(hr)) number_ = ErrorNumberOf(hr);
        if (info) {
            info->GetDescription(description_.put());
            info->GetSource(source_.put());
            info->GetHelpFile(helpFile_.put());
            DWORD context = 0;
            if (SUCCEEDED(info->GetHelpContext(&context))) helpContext_ = static_cast<long>(context);
        }
    }

    HRESULT STDMETHODCALLTYPE get_Number(long* v) override { return Get(number_, v); }
    HRESULT STDMETHODCALLTYPE put_Number(long v) override { number_ = v; return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Source(BSTR* v) override { return support::AllocBstr(source_.view(), v); }
    HRESULT STDMETHODCALLTYPE put_Source(BSTR v) override { source_ = Bstr(support::BstrView(v)); return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Description(BSTR* v) override { return support::AllocBstr(description_.view(), v); }
    HRESULT STDMETHODCALLTYPE put_Description(BSTR v) override { description_ = Bstr(support::BstrView(v)); return S_OK; }
    HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* v) override { return support::AllocBstr(helpFile_.view(), v); }
    HRESULT STDMETHODCALLTYPE put_HelpFile(BSTR v) override { helpFile_ = Bstr(support::BstrView(v)); return S_OK; }
    HRESULT STDMETHODCALLTYPE get_HelpContext(long* v) override { return Get(helpContext_, v); }
    HRESULT STDMETHODCALLTYPE put_HelpContext(long v) override { helpContext_ = v; return S_OK; }
    HRESULT STDMETHODCALLTYPE get_LastDllError(long* v) override { return Get(0L, v); }

    HRESULT STDMETHODCALLTYPE Raise(long number, VARIANT source, VARIANT description, VARIANT helpFile,
                                    VARIANT helpContext) override {
        number_ = number;
        if (V_VT(&source) == VT_BSTR) source_ = Bstr(support::BstrView(V_BSTR(&source)));
        if (V_VT(&description) == VT_BSTR) description_ = Bstr(support::BstrView(V_BSTR(&description)));
        else description_ = Bstr(RuntimeErrorText(number));
        if (V_VT(&helpFile) == VT_BSTR) helpFile_ = Bstr(support::BstrView(V_BSTR(&helpFile)));
        if (V_VT(&helpContext) == VT_I4) helpContext_ = V_I4(&helpContext);
        RaiseHResult(source_.view(), RuntimeErrorHResult(number), description_.view());
        return RuntimeErrorHResult(number);
    }

    HRESULT STDMETHODCALLTYPE Clear() override {
        number_ = 0;
        helpContext_ = 0;
        source_.reset();
        description_.reset();
        helpFile_.reset();
        return S_OK;
    }

private:
    static HRESULT Get(long value, long* out) {
        if (!out) return E_POINTER;
        *out = value;
        return S_OK;
    }

    long number_ = 0;
    long helpContext_ = 0;
    Bstr description_, source_, helpFile_;
};

}  // namespace

HRESULT CreateErrorObject(HRESULT hr, IErrorInfo* info, ErrObject** out) {
    return CErrObject::CreateInstance(__uuidof(ErrObject), reinterpret_cast<void**>(out), hr, info);
}

}  // namespace bk
