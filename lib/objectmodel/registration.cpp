#include "lib/objectmodel/registration.h"

#include <oaidl.h>

#include <string>
#include <vector>

#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/module.h"
#include "support/es/paths.h"
#include "support/win/com.h"
#include "support/win/owner.h"

namespace bk {
namespace {

using support::ComPtr;
using support::RegKey;

constexpr wchar_t kLibraryName[] = L"Basekit0308";
constexpr wchar_t kTypeLibVersion[] = L"1.0";
// The automation marshallers: dual interfaces through the type library, dispinterfaces (the
// event interfaces that clients implement) as plain IDispatch.
constexpr wchar_t kOleAutomationProxy[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchProxy[] = L"{00020420-0000-0000-C000-000000000046}";

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
    bool dispatchOnly = false;  // a dispinterface (events): marshalled as IDispatch
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
        const support::TypeAttr attr = support::GetTypeAttr(coclass.get());
        if (!attr) continue;
        const WORD impls = attr.get().desc->cImplTypes;
        for (WORD j = 0; j < impls; ++j) {
            HREFTYPE ref = 0;
            ComPtr<ITypeInfo> itf;
            if (FAILED(coclass->GetRefTypeOfImplType(j, &ref)) || FAILED(coclass->GetRefTypeInfo(ref, itf.put())))
                continue;
            const support::TypeAttr ia = support::GetTypeAttr(itf.get());
            if (!ia) continue;
            InterfaceInfo info{ia.get().desc->guid, {}, ia.get().desc->typekind == TKIND_DISPATCH &&
                                                            !(ia.get().desc->wTypeFlags & TYPEFLAG_FDUAL)};
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
        if (const support::LibAttr attr = support::GetLibAttr(lib.get())) libid = attr.get().attr->guid;
    }
    return L"TypeLib\\" + GuidText(libid);
}

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The file registered as the type library: Basekit0308.tlb beside the DLL when it is there
// and holds this library (hosts whose resource lookup cannot reach the embedded library can
// load the file; marshalling between apartments needs a loadable registered library), else
// the DLL itself.
std::wstring TypeLibFile(const std::wstring& dll, ITypeLib* embedded) {
    const std::wstring beside = support::esReplaceFileExtension(dll, L"tlb");
    ComPtr<ITypeLib> file;
    if (FAILED(LoadTypeLibEx(beside.c_str(), REGKIND_NONE, file.put()))) return dll;
    const support::LibAttr a = support::GetLibAttr(file.get());
    const support::LibAttr b = support::GetLibAttr(embedded);
    if (!a || !b) return dll;
    const TLIBATTR& x = *a.get().attr;
    const TLIBATTR& y = *b.get().attr;
    const bool same = x.guid == y.guid && x.wMajorVerNum == y.wMajorVerNum && x.wMinorVerNum == y.wMinorVerNum;
    return same ? beside : dll;
}

// While it lives, HKEY_CLASSES_ROOT of this process stands for the current user's classes, so
// that the same code writes and removes the same keys in either scope. The override is
// process-wide (the way the system offers for a per-user registration); it is set back to the
// default when the object goes.
class ClassesRootScope {
public:
    explicit ClassesRootScope(RegistrationScope scope) {
        if (scope == RegistrationScope::Machine) return;
        LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, userClasses_.put(), nullptr);
        if (rc == ERROR_SUCCESS) rc = RegOverridePredefKey(HKEY_CLASSES_ROOT, userClasses_.get());
        result_ = HRESULT_FROM_WIN32(rc);
        overridden_ = rc == ERROR_SUCCESS;
    }
    ~ClassesRootScope() {
        if (overridden_) RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    }
    ClassesRootScope(const ClassesRootScope&) = delete;
    ClassesRootScope& operator=(const ClassesRootScope&) = delete;
    HRESULT result() const { return result_; }

private:
    RegKey userClasses_;
    HRESULT result_ = S_OK;
    bool overridden_ = false;
};

}  // namespace

std::optional<RegistrationScope> InstallScope(const wchar_t* commandLine) {
    if (!commandLine || !*commandLine) return RegistrationScope::Machine;
    if (CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) == CSTR_EQUAL) return RegistrationScope::User;
    return std::nullopt;
}

HRESULT RegisterServer(RegistrationScope scope) {
    const ClassesRootScope root(scope);
    if (FAILED(root.result())) return root.result();
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
        FAILED(hr = SetValue(versionKey + L"\\0\\" + platform, nullptr, TypeLibFile(path, lib.get()))) ||
        FAILED(hr = SetValue(versionKey + L"\\FLAGS", nullptr, L"0")) ||
        FAILED(hr = SetValue(versionKey + L"\\HELPDIR", nullptr, FolderOf(path))) ||
        FAILED(hr = ClassInterfaces(lib.get(), interfaces)))
        return hr;

    for (const auto& itf : interfaces) {
        const std::wstring key = L"Interface\\" + GuidText(itf.iid);
        const wchar_t* proxy = itf.dispatchOnly ? kDispatchProxy : kOleAutomationProxy;
        if (FAILED(hr = SetValue(key, nullptr, itf.name)) ||
            FAILED(hr = SetValue(key + L"\\ProxyStubClsid", nullptr, proxy)) ||
            FAILED(hr = SetValue(key + L"\\ProxyStubClsid32", nullptr, proxy)) ||
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

HRESULT UnregisterServer(RegistrationScope scope) {
    const ClassesRootScope root(scope);
    if (FAILED(root.result())) return root.result();
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
    // The containers, when the registration was all they held (a user's classes may have had
    // none of them before).
    for (const wchar_t* container : {L"TypeLib", L"Interface", L"CLSID"}) DeleteIfEmpty(container);
    return result;
}

}  // namespace bk
