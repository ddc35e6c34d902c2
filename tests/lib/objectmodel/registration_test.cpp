// Self-registration round trip: DllRegisterServer writes the type library, interface and
// class keys; COM then creates the classes by identifier and programmatic id; and
// DllUnregisterServer takes every key away again. DllInstall does the same for the machine or,
// with "user", under the current user's classes. Runs alone (registry lock in CTest).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

std::wstring GuidText(const GUID& g) {
    wchar_t text[40] = {};
    StringFromGUID2(g, text, 40);
    return text;
}

// A value under HKEY_CLASSES_ROOT; nullopt when the key or value is missing.
std::optional<std::wstring> Value(const std::wstring& key, const wchar_t* name = nullptr) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

bool KeyExists(const std::wstring& key) {
    support::RegKey k;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

bool SamePath(const std::optional<std::wstring>& a, const std::wstring& b) {
    return a && CompareStringOrdinal(a->c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring LibraryPath() {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(Library(), path, MAX_PATH * 2);
    return path;
}

struct ClassRow {
    const CLSID* clsid;
    const wchar_t* name;
    const IID* iid;
};
const ClassRow kCreatable[] = {
    {&CLSID_orxMain, L"orxMain", &IID__orxMain},
    {&CLSID_orxAlone, L"orxAlone", &IID__orxAlone},
    {&CLSID_orxBenchMark, L"orxBenchMark", &IID__orxBenchMark},
    {&CLSID_orxSimpleListDialog, L"orxSimpleListDialog", &IID__orxSimpleListDialog},
    {&CLSID_orxBenchMarkHP, L"orxBenchMarkHP", &IID__orxBenchMarkHP},
    {&CLSID_orxTextBoxDefButtonWatcher, L"orxTextBoxDefButtonWatcher", &IID__orxTextBoxDefButtonWatcher},
    {&CLSID_orxTabControl, L"orxTabControl", &IID__orxTabControl},
    {&CLSID_orxAutorunSupport, L"orxAutorunSupport", &IID__orxAutorunSupport},
    {&CLSID_orxClipboard, L"orxClipboard", &IID__orxClipboard},
    {&CLSID_orxErr, L"orxErr", &IID__orxErr},
    {&CLSID_orxMultiMonitor, L"orxMultiMonitor", &IID__orxMultiMonitor},
};
const ClassRow kNotCreatable[] = {
    {&CLSID_CommandLineParser, L"CommandLineParser", &IID__CommandLineParser},
    {&CLSID_Monitor, L"Monitor", &IID__Monitor},
};

struct InterfaceRow {
    const IID* iid;
    const wchar_t* name;
};
const InterfaceRow kInterfaces[] = {
    {&IID__orxMain, L"_orxMain"}, {&IID__orxAlone, L"_orxAlone"}, {&IID__orxBenchMark, L"_orxBenchMark"},
    {&IID__orxSimpleListDialog, L"_orxSimpleListDialog"}, {&IID__orxBenchMarkHP, L"_orxBenchMarkHP"},
    {&IID__orxTextBoxDefButtonWatcher, L"_orxTextBoxDefButtonWatcher"}, {&IID__orxTabControl, L"_orxTabControl"},
    {&IID__CommandLineParser, L"_CommandLineParser"}, {&IID__orxAutorunSupport, L"_orxAutorunSupport"},
    {&IID__orxClipboard, L"_orxClipboard"}, {&IID__orxErr, L"_orxErr"}, {&IID__orxMultiMonitor, L"_orxMultiMonitor"},
    {&IID__Monitor, L"_Monitor"}, {&DIID___orxTabControl, L"__orxTabControl"},
};

const std::wstring kLibId = L"{8A2F0110-4E81-4EE5-80F5-60D3A8305250}";
constexpr wchar_t kAutomationMarshaller[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchMarshaller[] = L"{00020420-0000-0000-C000-000000000046}";
// Stand-ins of the automation runtime's own types: that library registers them, not we.
const wchar_t* const kForeignInterfaces[] = {L"{A4C46780-499F-101B-BB78-00AA00383CBB}",
                                             L"{A4C466B8-499F-101B-BB78-00AA00383CBB}"};

// Every key this library writes.
std::vector<std::wstring> OurKeys() {
    std::vector<std::wstring> keys{L"TypeLib\\" + kLibId};
    for (const auto& i : kInterfaces) keys.push_back(L"Interface\\" + GuidText(*i.iid));
    for (const auto& c : kCreatable) {
        keys.push_back(L"CLSID\\" + GuidText(*c.clsid));
        keys.push_back(std::wstring(L"Basekit0308.") + c.name);
    }
    return keys;
}

TEST(Registration, WritesTypeLibraryInterfaceAndClassKeys) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    const std::wstring path = LibraryPath();
    // The type library is registered as the file delivered beside the DLL.
    const std::wstring typelibFile = path.substr(0, path.size() - 3) + L"tlb";
    const std::wstring version = L"TypeLib\\" + kLibId + L"\\1.0";
    EXPECT_TRUE(SamePath(Value(version + (sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32")), typelibFile))
        << Value(version + L"\\0\\win64").value_or(L"<missing>");
    EXPECT_EQ(L"0", Value(version + L"\\FLAGS").value_or(L"<missing>"));

    for (const auto& i : kInterfaces) {
        SCOPED_TRACE(testing::Message() << "interface " << i.name);
        const std::wstring key = L"Interface\\" + GuidText(*i.iid);
        EXPECT_EQ(i.name, Value(key).value_or(L"<missing>"));
        // Event interfaces, which clients implement, are marshalled as plain IDispatch.
        const bool events = *i.iid == DIID___orxTabControl;
        EXPECT_EQ(events ? kDispatchMarshaller : kAutomationMarshaller,
                  Value(key + L"\\ProxyStubClsid32").value_or(L"<missing>"));
        EXPECT_EQ(kLibId, Value(key + L"\\TypeLib").value_or(L"<missing>"));
        EXPECT_EQ(L"1.0", Value(key + L"\\TypeLib", L"Version").value_or(L"<missing>"));
    }
    for (const auto& c : kCreatable) {
        SCOPED_TRACE(testing::Message() << "class " << c.name);
        const std::wstring key = L"CLSID\\" + GuidText(*c.clsid);
        const std::wstring progid = std::wstring(L"Basekit0308.") + c.name;
        EXPECT_TRUE(SamePath(Value(key + L"\\InprocServer32"), path));
        EXPECT_EQ(L"Apartment", Value(key + L"\\InprocServer32", L"ThreadingModel").value_or(L"<missing>"));
        EXPECT_EQ(progid, Value(key + L"\\ProgID").value_or(L"<missing>"));
        EXPECT_EQ(kLibId, Value(key + L"\\TypeLib").value_or(L"<missing>"));
        EXPECT_EQ(GuidText(*c.clsid), Value(progid + L"\\CLSID").value_or(L"<missing>"));
    }
    for (const auto& c : kNotCreatable) {
        EXPECT_FALSE(KeyExists(L"CLSID\\" + GuidText(*c.clsid))) << c.name;
        EXPECT_FALSE(KeyExists(std::wstring(L"Basekit0308.") + c.name)) << c.name;
    }
    for (const wchar_t* iid : kForeignInterfaces)
        EXPECT_FALSE(KeyExists(std::wstring(L"Interface\\") + iid)) << iid;

    // Registering again changes nothing.
    EXPECT_EQ(S_OK, CallExport("DllRegisterServer"));
}

TEST(Registration, ComCreatesEveryClassByIdentifierAndProgrammaticId) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    for (const auto& c : kCreatable) {
        SCOPED_TRACE(testing::Message() << "class " << c.name);
        ComPtr<IUnknown> byId;
        EXPECT_EQ(S_OK, CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, *c.iid, byId.put_void()));
        EXPECT_TRUE(byId);

        CLSID fromProgId{};
        ASSERT_EQ(S_OK, CLSIDFromProgID((std::wstring(L"Basekit0308.") + c.name).c_str(), &fromProgId));
        EXPECT_EQ(GuidText(*c.clsid), GuidText(fromProgId));
        ComPtr<IDispatch> byProgId;
        EXPECT_EQ(S_OK, CoCreateInstance(fromProgId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, byProgId.put_void()));
        EXPECT_TRUE(byProgId);
    }
}

TEST(Registration, NotCreatableClassesAreRefused) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    auto getClassObject = Export<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    ASSERT_TRUE(getClassObject);
    for (const auto& c : kNotCreatable) {
        SCOPED_TRACE(testing::Message() << "class " << c.name);
        ComPtr<IUnknown> object;
        const HRESULT hr = CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, *c.iid, object.put_void());
        EXPECT_TRUE(hr == REGDB_E_CLASSNOTREG || hr == CLASS_E_CLASSNOTAVAILABLE) << std::hex << hr;
        EXPECT_FALSE(object);
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(*c.clsid, IID_IClassFactory, factory.put_void()));
        EXPECT_FALSE(factory);
        CLSID unused{};
        EXPECT_NE(S_OK, CLSIDFromProgID((std::wstring(L"Basekit0308.") + c.name).c_str(), &unused));
    }
}

TEST(Registration, UnregisterRemovesEveryKey) {
    ASSERT_EQ(S_OK, CallExport("DllRegisterServer"));
    for (const auto& key : OurKeys()) EXPECT_TRUE(KeyExists(key)) << key;
    ASSERT_EQ(S_OK, CallExport("DllUnregisterServer"));
    for (const auto& key : OurKeys()) EXPECT_FALSE(KeyExists(key)) << key;
    EXPECT_EQ(S_OK, CallExport("DllUnregisterServer"));  // nothing left to remove is no failure

    ComPtr<IUnknown> object;
    EXPECT_EQ(REGDB_E_CLASSNOTREG,
              CoCreateInstance(CLSID_orxMain, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void()));
}

// ---- DllInstall: the machine's or the current user's classes

// The classes key of HKEY_CURRENT_USER and of HKEY_LOCAL_MACHINE.
constexpr wchar_t kClasses[] = L"Software\\Classes";

HRESULT Install(BOOL install, const wchar_t* commandLine) {
    auto f = Export<HRESULT(STDAPICALLTYPE*)(BOOL, PCWSTR)>("DllInstall");
    return f ? f(install, commandLine) : E_FAIL;
}

// A key below `root`'s classes (HKCU or HKLM \Software\Classes), not through HKEY_CLASSES_ROOT:
// on Windows that is a merged view of both.
bool KeyUnder(HKEY root, const std::wstring& key) {
    support::RegKey k;
    const std::wstring path = std::wstring(kClasses) + L"\\" + key;
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

std::optional<std::wstring> ValueUnder(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
    const std::wstring path = std::wstring(kClasses) + L"\\" + key;
    wchar_t text[1024] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

// HKEY_CLASSES_ROOT is the machine's again: a key made through it lands there.
bool ClassesRootIsTheMachines() {
    const std::wstring probe = L"Basekit0308.RegistrationProbe";
    support::RegKey k;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, probe.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    k.reset();
    const bool machine = KeyUnder(HKEY_LOCAL_MACHINE, probe) && !KeyUnder(HKEY_CURRENT_USER, probe);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, probe.c_str());
    return machine;
}

// Takes away whatever a failed case left in either place.
struct CleanBothScopes {
    ~CleanBothScopes() {
        Install(FALSE, L"user");
        CallExport("DllUnregisterServer");
    }
};

TEST(Install, UserWritesEveryKeyUnderTheUsersClassesAndNothingForTheMachine) {
    CleanBothScopes clean;
    ASSERT_EQ(S_OK, Install(TRUE, L"user"));
    for (const auto& key : OurKeys()) {
        EXPECT_TRUE(KeyUnder(HKEY_CURRENT_USER, key)) << key;
        EXPECT_FALSE(KeyUnder(HKEY_LOCAL_MACHINE, key)) << key;
    }
    const std::wstring path = LibraryPath();
    const std::wstring key = L"CLSID\\" + GuidText(CLSID_orxMain);
    EXPECT_TRUE(SamePath(ValueUnder(HKEY_CURRENT_USER, key + L"\\InprocServer32"), path));
    EXPECT_EQ(L"Basekit0308.orxMain", ValueUnder(HKEY_CURRENT_USER, key + L"\\ProgID").value_or(L"<missing>"));
    EXPECT_TRUE(SamePath(ValueUnder(HKEY_CURRENT_USER, L"TypeLib\\" + kLibId + L"\\1.0\\0\\" +
                                                           (sizeof(void*) == 8 ? L"win64" : L"win32")),
                         path.substr(0, path.size() - 3) + L"tlb"));
    // The redirection ended with the call.
    EXPECT_TRUE(ClassesRootIsTheMachines());

    // The command line's case does not matter; every key goes, the user's classes key stays.
    ASSERT_EQ(S_OK, Install(FALSE, L"USER"));
    for (const auto& k : OurKeys()) EXPECT_FALSE(KeyUnder(HKEY_CURRENT_USER, k)) << k;
    support::RegKey classes;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kClasses, 0, KEY_READ, classes.put()));
    EXPECT_TRUE(ClassesRootIsTheMachines());
    EXPECT_EQ(S_OK, Install(FALSE, L"user"));  // nothing left to remove is no failure
}

TEST(Install, WithoutCommandLineIsTheMachineRegistration) {
    CleanBothScopes clean;
    for (const wchar_t* commandLine : {static_cast<const wchar_t*>(nullptr), L""}) {
        SCOPED_TRACE(commandLine ? "empty command line" : "no command line");
        ASSERT_EQ(S_OK, Install(TRUE, commandLine));
        for (const auto& key : OurKeys()) {
            EXPECT_TRUE(KeyUnder(HKEY_LOCAL_MACHINE, key)) << key;
            EXPECT_FALSE(KeyUnder(HKEY_CURRENT_USER, key)) << key;
        }
        ComPtr<IUnknown> object;
        EXPECT_EQ(S_OK, CoCreateInstance(CLSID_orxMain, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void()));
        object.reset();
        ASSERT_EQ(S_OK, Install(FALSE, commandLine));
        for (const auto& key : OurKeys()) EXPECT_FALSE(KeyUnder(HKEY_LOCAL_MACHINE, key)) << key;
    }
}

TEST(Install, OneScopesRemovalLeavesTheOtherScopesKeys) {
    CleanBothScopes clean;
    ASSERT_EQ(S_OK, Install(TRUE, L""));
    ASSERT_EQ(S_OK, Install(TRUE, L"user"));
    ASSERT_EQ(S_OK, Install(FALSE, L"user"));
    for (const auto& key : OurKeys()) EXPECT_TRUE(KeyUnder(HKEY_LOCAL_MACHINE, key)) << key;

    ASSERT_EQ(S_OK, Install(TRUE, L"user"));
    ASSERT_EQ(S_OK, CallExport("DllUnregisterServer"));
    for (const auto& key : OurKeys()) EXPECT_TRUE(KeyUnder(HKEY_CURRENT_USER, key)) << key;
}

TEST(Install, OtherCommandLinesAreRefusedAndWriteNothing) {
    CleanBothScopes clean;
    for (const wchar_t* commandLine : {L"users", L"use", L" user", L"user ", L"machine", L"/user", L"user\n"}) {
        SCOPED_TRACE(testing::Message() << "command line of " << wcslen(commandLine) << " characters");
        EXPECT_EQ(E_INVALIDARG, Install(TRUE, commandLine));
        EXPECT_EQ(E_INVALIDARG, Install(FALSE, commandLine));
        for (const auto& key : OurKeys()) {
            EXPECT_FALSE(KeyUnder(HKEY_LOCAL_MACHINE, key)) << key;
            EXPECT_FALSE(KeyUnder(HKEY_CURRENT_USER, key)) << key;
        }
    }
}

}  // namespace
