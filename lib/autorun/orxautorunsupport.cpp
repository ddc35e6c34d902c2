// orxAutorunSupport: registers a program to start at logon as one string value under the
// per-user or the per-machine Run key. Like every member that only places or queries data,
// its members report failure (a missing value, a write the caller has no right to make) as
// false or an empty text, never as an error.
#include "Basekit0308.h"
#include "lib/autorun/autorun_logic.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"
#include "support/es/fileops.h"
#include "support/es/registry.h"

namespace bk {
namespace {

using support::BstrView;

class CorxAutorunSupport : public DispatchObject<CorxAutorunSupport, _orxAutorunSupport> {
public:
    static constexpr wchar_t kName[] = L"orxAutorunSupport";

    HRESULT STDMETHODCALLTYPE get_ForCurrentUserOnly(VARIANT_BOOL* value) override {
        if (!value) return E_POINTER;
        *value = currentUserOnly_ ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ForCurrentUserOnly(VARIANT_BOOL value) override {
        currentUserOnly_ = value != VARIANT_FALSE;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE IsInAutorun(BSTR appGuid, VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        return Guard([&] {
            const std::wstring_view name = BstrView(appGuid);
            if (!IsAutorunValueName(name)) return S_OK;
            if (IsAutorunEntry(support::esReadStringFromRegistry(Root(), kAutorunKeyPath, name, L"")))
                *result = VARIANT_TRUE;
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE GetAutorunString(BSTR appGuid, BSTR* result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        return Guard([&] {
            const std::wstring_view name = BstrView(appGuid);
            if (!IsAutorunValueName(name)) return support::AllocBstr(L"", result);
            return support::AllocBstr(support::esReadStringFromRegistry(Root(), kAutorunKeyPath, name, L""), result);
        });
    }

    HRESULT STDMETHODCALLTYPE AddToAutorun(BSTR appGuid, BSTR commandLine, VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        return Guard([&] {
            const std::wstring_view name = BstrView(appGuid);
            if (!IsAutorunValueName(name)) return S_OK;
            const std::wstring_view given = BstrView(commandLine);
            std::wstring programPath;
            if (given.empty()) {
                programPath = support::esGetModuleFileName(nullptr, true);
                if (programPath.empty()) return S_OK;  // nothing sensible to register
            }
            if (support::esWriteStringToRegistry(Root(), kAutorunKeyPath, name, AutorunCommandLine(given, programPath)))
                *result = VARIANT_TRUE;
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE DeleteFromAutorun(BSTR appGuid, VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        return Guard([&] {
            const std::wstring_view name = BstrView(appGuid);
            if (!IsAutorunValueName(name)) return S_OK;
            if (support::esDeleteValueFromRegistry(Root(), kAutorunKeyPath, name)) *result = VARIANT_TRUE;
            return S_OK;
        });
    }

private:
    HKEY Root() const { return currentUserOnly_ ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

    bool currentUserOnly_ = true;
};

}  // namespace

HRESULT CreateOrxAutorunSupport(REFIID iid, void** out) { return CorxAutorunSupport::New(iid, out); }

}  // namespace bk
