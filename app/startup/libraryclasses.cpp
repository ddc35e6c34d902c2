#include "app/startup/libraryclasses.h"

#include "support/es/paths.h"
#include "support/es/fileops.h"

namespace metaview {
namespace {

constexpr wchar_t kLibraryFile[] = L"Basekit0308.dll";

}  // namespace

LibraryClasses::~LibraryClasses() {
    orxErr_.reset();
    orxMain_.reset();
}

HRESULT LibraryClasses::OrxMain(support::ComPtr<_orxMain>& out) {
    if (!orxMain_) {
        if (HRESULT hr = Create(CLSID_orxMain, IID__orxMain, orxMain_.put_void()); FAILED(hr)) return hr;
    }
    out = orxMain_;
    return S_OK;
}

HRESULT LibraryClasses::OrxErr(support::ComPtr<_orxErr>& out) {
    if (!orxErr_) {
        if (HRESULT hr = Create(CLSID_orxErr, IID__orxErr, orxErr_.put_void()); FAILED(hr)) return hr;
    }
    out = orxErr_;
    return S_OK;
}

HRESULT LibraryClasses::Create(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out);
    if (hr != REGDB_E_CLASSNOTREG) return hr;
    return CreateFromLocalLibrary(clsid, iid, out);
}

HRESULT LibraryClasses::CreateFromLocalLibrary(REFCLSID clsid, REFIID iid, void** out) {
    if (!module_) {
        const std::wstring folder = support::esGetFilePath(support::esGetModuleFileName(nullptr, true));
        module_.reset(LoadLibraryW(support::esBuildFileName(folder, kLibraryFile).c_str()));
        if (!module_) return HRESULT_FROM_WIN32(GetLastError());
    }
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(module_.get(), "DllGetClassObject")));
    if (!get) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    support::ComPtr<IClassFactory> factory;
    if (HRESULT hr = get(clsid, IID_IClassFactory, factory.put_void()); FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, iid, out);
}

}  // namespace metaview
