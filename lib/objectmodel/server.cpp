// The entry points of the in-process server, the class factory and DllMain.
#include <windows.h>
#include <oaidl.h>

#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/module.h"
#include "lib/objectmodel/registration.h"
#include "lib/objectmodel/unknown.h"

namespace bk {
namespace {

class ClassFactory : public UnknownObject<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(CreateFunction create) : create_(create) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) ModuleLock(); else ModuleUnlock();
        return S_OK;
    }

private:
    CreateFunction create_;
};

}  // namespace
}  // namespace bk

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        bk::SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const auto& entry : bk::ClassTable()) {
        if (*entry.clsid != clsid) continue;
        return bk::ClassFactory::New(iid, out, entry.create);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    if (bk::ModuleInUse()) return S_FALSE;
    bk::ReleaseTypeLibCache();
    return S_OK;
}

STDAPI DllRegisterServer() { return bk::RegisterServer(); }

STDAPI DllUnregisterServer() { return bk::UnregisterServer(); }

// Registration for the machine (no command line, as DllRegisterServer) or, with "user", for the
// current user alone: what an installer calls when the user has no administrator rights
// (regsvr32 /n /i:user).
STDAPI DllInstall(BOOL install, PCWSTR commandLine) {
    const auto scope = bk::InstallScope(commandLine);
    if (!scope) return E_INVALIDARG;
    return install ? bk::RegisterServer(*scope) : bk::UnregisterServer(*scope);
}

}  // extern "C"
