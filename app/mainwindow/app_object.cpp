#include "app/mainwindow/app_object.h"

#include <new>

#include "lib/objectmodel/named_members.h"

namespace metaview {
namespace {

enum Member : DISPID { kTitle = 1, kExeName, kPath, kMajor, kMinor, kRevision, kCompanyName, kLegalCopyright };

constexpr bk::NamedId kNames[] = {
    {L"Title", kTitle}, {L"EXEName", kExeName},   {L"Path", kPath},
    {L"Major", kMajor}, {L"Minor", kMinor},       {L"Revision", kRevision},
    {L"CompanyName", kCompanyName},               {L"LegalCopyright", kLegalCopyright},
};

class AppObject final : public IDispatch {
public:
    explicit AppObject(const support::AppIdentity& identity) : identity_(identity) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return bk::NoTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return bk::NoTypeInfo(info); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return bk::IdsOfNames(kNames, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;  // read-only properties
        if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
        support::Variant value;
        switch (id) {
        case kTitle: value = support::Variant::FromString(identity_.title); break;
        case kExeName: value = support::Variant::FromString(identity_.exeName); break;
        case kPath: value = support::Variant::FromString(identity_.path); break;
        case kMajor: value = support::Variant::FromLong(identity_.major); break;
        case kMinor: value = support::Variant::FromLong(identity_.minor); break;
        case kRevision: value = support::Variant::FromLong(identity_.revision); break;
        case kCompanyName: value = support::Variant::FromString(identity_.companyName); break;
        case kLegalCopyright: value = support::Variant::FromString(identity_.legalCopyright); break;
        default: return DISP_E_MEMBERNOTFOUND;
        }
        if (result) *result = value.detach();
        return S_OK;
    }

private:
    ~AppObject() = default;
    LONG refs_ = 1;
    support::AppIdentity identity_;
};

}  // namespace

support::ComPtr<IDispatch> CreateAppObject(const support::AppIdentity& identity) {
    return support::ComPtr<IDispatch>::Attach(new (std::nothrow) AppObject(identity));
}

}  // namespace metaview
