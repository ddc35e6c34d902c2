#include "module.h"

#include "support/raii.h"
#include "support/resources.h"

namespace bk {
namespace {

HINSTANCE g_instance = nullptr;
LONG g_count = 0;
ITypeLib* g_typelib = nullptr;  // owned; released by ReleaseTypeLibCache

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }
void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

std::wstring ModuleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) { path.resize(n); return path; }
        path.resize(path.size() * 2);
    }
}

void ModuleAddRef() { InterlockedIncrement(&g_count); }
void ModuleRelease() { InterlockedDecrement(&g_count); }
bool ModuleInUse() { return InterlockedCompareExchange(&g_count, 0, 0) != 0; }

// Loads the embedded type library from a copy in a temporary file, for hosts whose resource
// lookup cannot reach the TYPELIB resource (see support/resources.h). The copy is deleted as
// soon as it is loaded: the loader keeps nothing of the file.
HRESULT LoadTypeLibFromCopy(ITypeLib** out) {
    const auto data = support::FindNamedTypeResource(g_instance, L"TYPELIB", 1);
    if (data.empty()) return TYPE_E_CANTLOADLIBRARY;
    wchar_t folder[MAX_PATH + 1] = {}, file[MAX_PATH + 1] = {};
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"bkt", 0, file))
        return HRESULT_FROM_WIN32(GetLastError());
    HRESULT hr = S_OK;
    {
        support::UniqueHandle h(CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_TEMPORARY, nullptr));
        DWORD written = 0;
        if (!h || !WriteFile(h.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) ||
            written != data.size())
            hr = HRESULT_FROM_WIN32(GetLastError());
    }
    if (SUCCEEDED(hr)) hr = LoadTypeLibEx(file, REGKIND_NONE, out);
    DeleteFileW(file);
    return hr;
}

HRESULT LibraryTypeLib(ITypeLib** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!g_typelib) {
        HRESULT hr = LoadTypeLibEx(ModuleFileName().c_str(), REGKIND_NONE, &g_typelib);
        if (FAILED(hr)) hr = LoadTypeLibFromCopy(&g_typelib);
        if (FAILED(hr)) return hr;
    }
    g_typelib->AddRef();
    *out = g_typelib;
    return S_OK;
}

HRESULT LibraryTypeInfo(REFGUID guid, ITypeInfo** out) {
    support::ComPtr<ITypeLib> lib;
    HRESULT hr = LibraryTypeLib(lib.put());
    if (FAILED(hr)) return hr;
    return lib->GetTypeInfoOfGuid(guid, out);
}

void ReleaseTypeLibCache() {
    if (g_typelib) {
        g_typelib->Release();
        g_typelib = nullptr;
    }
}

}  // namespace bk
