#include "lib/objectmodel/registration.h"

#include <oaidl.h>

#include <string>
#include <vector>

#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/module.h"
#include "support/raii.h"

namespace bk {
namespace {

using support::ComPtr;
using support::RegKey;

constexpr wchar_t kLibraryName[] = L"Basekit0308";
constexpr wchar_t kTypeLibVersion[] = L"1.0";
// The automation marshaller: interfaces are marshalled through the type library.
constexpr wchar_t kOleAutomationProxy[] = L"{00020424-0000-0000-C000-000000000046}";

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

HRESULT SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    RegKey k;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, k.put(), nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    rc = RegSetValueExW(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT DeleteTree(const std::wstring& key) {
    LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
        return S_OK;
    }
    return HRESULT_FROM_WIN32(rc);
}

// Deletes a key only when nothing is left under it.
void DeleteIfEmpty(const std::wstring& key) {
    RegKey k;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) return;
    DWORD subkeys = 0, values = 0;
    if (RegQueryInfoKeyW(k.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    k.reset();
    if (subkeys == 0 && values == 0) RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
}

struct InterfaceInfo {
    GUID iid;
    std::wstring name;
};

// The interfaces the library's classes implement or source; stand-ins of other libraries'
// types that the type library also holds are not among them and are left alone.
HRESULT ClassInterfaces(ITypeLib* lib, std::vector<InterfaceInfo>& out) {
    const UINT count = lib->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        TYPEKIND kind;
        if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS) continue;
        ComPtr<ITypeInfo> coclass;
        if (FAILED(lib->GetTypeInfo(i, coclass.put()))) continue;
        TYPEATTR* attr = nullptr;
        if (FAILED(coclass->GetTypeAttr(&attr))) continue;
        const WORD impls = attr->cImplTypes;
        coclass->ReleaseTypeAttr(attr);
        for (WORD j = 0; j < impls; ++j) {
            HREFTYPE ref = 0;
            ComPtr<ITypeInfo> itf;
            if (FAILED(coclass->GetRefTypeOfImplType(j, &ref)) || FAILED(coclass->GetRefTypeInfo(ref, itf.put())))
                continue;
            TYPEATTR* ia = nullptr;
            if (FAILED(itf->GetTypeAttr(&ia))) continue;
            InterfaceInfo info{ia->guid, {}};
            itf->ReleaseTypeAttr(ia);
            support::Bstr name;
            itf->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
            info.name = name.str();
            out.push_back(std::move(info));
        }
    }
    return out.empty() ? TYPE_E_ELEMENTNOTFOUND : S_OK;
}

std::wstring TypeLibKey() {
    GUID libid{};
    ComPtr<ITypeLib> lib;
    if (SUCCEEDED(LibraryTypeLib(lib.put()))) {
        TLIBATTR* attr = nullptr;
        if (SUCCEEDED(lib->GetLibAttr(&attr))) {
            libid = attr->guid;
            lib->ReleaseTLibAttr(attr);
        }
    }
    return L"TypeLib\\" + GuidText(libid);
}

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

HRESULT RegisterServer() {
    ComPtr<ITypeLib> lib;
    HRESULT hr = LibraryTypeLib(lib.put());
    if (FAILED(hr)) return hr;
    const std::wstring path = ModuleFileName();
    const std::wstring libKey = TypeLibKey();
    const std::wstring libid = libKey.substr(8);

    support::Bstr help;
    lib->GetDocumentation(-1, nullptr, help.put(), nullptr, nullptr);
    const std::wstring versionKey = libKey + L"\\" + kTypeLibVersion;
#ifdef _WIN64
    const wchar_t* platform = L"win64";
#else
    const wchar_t* platform = L"win32";
#endif
    std::vector<InterfaceInfo> interfaces;
    if (FAILED(hr = SetValue(versionKey, nullptr, help.str())) ||
        FAILED(hr = SetValue(versionKey + L"\\0\\" + platform, nullptr, path)) ||
        FAILED(hr = SetValue(versionKey + L"\\FLAGS", nullptr, L"0")) ||
        FAILED(hr = SetValue(versionKey + L"\\HELPDIR", nullptr, FolderOf(path))) ||
        FAILED(hr = ClassInterfaces(lib.get(), interfaces)))
        return hr;

    for (const auto& itf : interfaces) {
        const std::wstring key = L"Interface\\" + GuidText(itf.iid);
        if (FAILED(hr = SetValue(key, nullptr, itf.name)) ||
            FAILED(hr = SetValue(key + L"\\ProxyStubClsid", nullptr, kOleAutomationProxy)) ||
            FAILED(hr = SetValue(key + L"\\ProxyStubClsid32", nullptr, kOleAutomationProxy)) ||
            FAILED(hr = SetValue(key + L"\\TypeLib", nullptr, libid)) ||
            FAILED(hr = SetValue(key + L"\\TypeLib", L"Version", kTypeLibVersion)))
            return hr;
    }

    for (const auto& entry : ClassTable()) {
        const std::wstring progid = std::wstring(kLibraryName) + L"." + entry.name;
        const std::wstring clsid = GuidText(*entry.clsid);
        const std::wstring key = L"CLSID\\" + clsid;
        if (FAILED(hr = SetValue(key, nullptr, progid)) ||
            FAILED(hr = SetValue(key + L"\\InprocServer32", nullptr, path)) ||
            FAILED(hr = SetValue(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment")) ||
            FAILED(hr = SetValue(key + L"\\ProgID", nullptr, progid)) ||
            FAILED(hr = SetValue(key + L"\\VersionIndependentProgID", nullptr, progid)) ||
            FAILED(hr = SetValue(key + L"\\TypeLib", nullptr, libid)) ||
            FAILED(hr = SetValue(key + L"\\Version", nullptr, kTypeLibVersion)) ||
            FAILED(hr = SetValue(key + L"\\Programmable", nullptr, L"")) ||
            FAILED(hr = SetValue(progid, nullptr, progid)) ||
            FAILED(hr = SetValue(progid + L"\\CLSID", nullptr, clsid)))
            return hr;
    }
    return S_OK;
}

HRESULT UnregisterServer() {
    HRESULT result = S_OK;
    auto keep = [&result](HRESULT hr) { if (FAILED(hr) && SUCCEEDED(result)) result = hr; };

    for (const auto& entry : ClassTable()) {
        keep(DeleteTree(L"CLSID\\" + GuidText(*entry.clsid)));
        keep(DeleteTree(std::wstring(kLibraryName) + L"." + entry.name));
    }
    ComPtr<ITypeLib> lib;
    std::vector<InterfaceInfo> interfaces;
    if (SUCCEEDED(LibraryTypeLib(lib.put())) && SUCCEEDED(ClassInterfaces(lib.get(), interfaces))) {
        for (const auto& itf : interfaces) keep(DeleteTree(L"Interface\\" + GuidText(itf.iid)));
    }
    const std::wstring libKey = TypeLibKey();
    keep(DeleteTree(libKey + L"\\" + kTypeLibVersion));
    DeleteIfEmpty(libKey);
    return result;
}

}  // namespace bk
