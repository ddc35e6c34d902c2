// orxAutorunSupport against the registry of the test's own Wine prefix: what each member
// leaves in the Run key of the current user or of the machine, read back with the registry
// functions. Every test uses identifiers of its own and removes its values again.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/harness/library.h"
#include "tests/harness/scratch.h"

using namespace bktest;

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The data of a value of the Run key as stored (any string type); nullopt when it is missing.
std::optional<std::wstring> Stored(HKEY root, const std::wstring& name, DWORD* type = nullptr) {
    DWORD bytes = 0;
    DWORD t = 0;
    if (RegGetValueW(root, kRunKey, name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &t, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, kRunKey, name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &t,
                     text.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    if (type) *type = t;
    return text;
}

bool ValueExists(HKEY root, const wchar_t* name) {
    return RegGetValueW(root, kRunKey, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void WriteRaw(HKEY root, const std::wstring& name, DWORD type, const void* data, DWORD bytes) {
    support::RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes));
}

void WriteText(HKEY root, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ) {
    WriteRaw(root, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void Remove(HKEY root, const std::wstring& name) { RegDeleteKeyValueW(root, kRunKey, name.c_str()); }

std::wstring OwnPath() {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return path;
}

// The members with plain C++ arguments and results; failures of the calls themselves fail the test.
class Autorun {
public:
    explicit Autorun(bool currentUser) : object_(Create<_orxAutorunSupport>(CLSID_orxAutorunSupport)) {
        EXPECT_TRUE(object_);
        if (object_ && !currentUser) {
            EXPECT_EQ(S_OK, object_->put_ForCurrentUserOnly(VARIANT_FALSE));
        }
    }
    _orxAutorunSupport* operator->() const { return object_.get(); }

    bool Add(const std::wstring& id, const wchar_t* commandLine = nullptr) {
        Bstr i(id), c;
        if (commandLine) c = Bstr(commandLine);
        VARIANT_BOOL r = 123;
        EXPECT_EQ(S_OK, object_->AddToAutorun(i.get(), c.get(), &r));
        return Truth(r);
    }
    bool Is(const std::wstring& id) {
        Bstr i(id);
        VARIANT_BOOL r = 123;
        EXPECT_EQ(S_OK, object_->IsInAutorun(i.get(), &r));
        return Truth(r);
    }
    std::wstring Get(const std::wstring& id) {
        Bstr i(id), out;
        EXPECT_EQ(S_OK, object_->GetAutorunString(i.get(), out.put()));
        return out.str();
    }
    bool Delete(const std::wstring& id) {
        Bstr i(id);
        VARIANT_BOOL r = 123;
        EXPECT_EQ(S_OK, object_->DeleteFromAutorun(i.get(), &r));
        return Truth(r);
    }

private:
    // Results are automation booleans: -1 or 0, nothing else.
    static bool Truth(VARIANT_BOOL r) {
        EXPECT_TRUE(r == VARIANT_TRUE || r == VARIANT_FALSE) << r;
        return r == VARIANT_TRUE;
    }
    ComPtr<_orxAutorunSupport> object_;
};

// The same cases under the current user's root and under the machine's.
class AutorunUnderRoot : public testing::TestWithParam<bool> {
protected:
    bool currentUser() const { return GetParam(); }
    HKEY root() const { return currentUser() ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
    HKEY otherRoot() const { return currentUser() ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
    std::wstring Id(const wchar_t* what) {
        std::wstring id = L"{bk-autorun-test}-";
        id += currentUser() ? L"user-" : L"machine-";
        id += what;
        ids_.push_back(id);
        return id;
    }
    void TearDown() override {
        for (const auto& id : ids_) {
            Remove(HKEY_CURRENT_USER, id);
            Remove(HKEY_LOCAL_MACHINE, id);
        }
    }

private:
    std::vector<std::wstring> ids_;
};

INSTANTIATE_TEST_SUITE_P(Roots, AutorunUnderRoot, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& p) { return p.param ? "CurrentUser" : "Machine"; });

}  // namespace

TEST(Autorun, ANewObjectWorksUnderTheCurrentUserAndTheSwitchChangesTheRoot) {
    auto object = Create<_orxAutorunSupport>(CLSID_orxAutorunSupport);
    ASSERT_TRUE(object);
    VARIANT_BOOL user = 0;
    ASSERT_EQ(S_OK, object->get_ForCurrentUserOnly(&user));
    EXPECT_EQ(VARIANT_TRUE, user);
    ASSERT_EQ(S_OK, object->put_ForCurrentUserOnly(VARIANT_FALSE));
    ASSERT_EQ(S_OK, object->get_ForCurrentUserOnly(&user));
    EXPECT_EQ(VARIANT_FALSE, user);
    // Any non-zero value is true, and reads back as the automation true.
    ASSERT_EQ(S_OK, object->put_ForCurrentUserOnly(1));
    ASSERT_EQ(S_OK, object->get_ForCurrentUserOnly(&user));
    EXPECT_EQ(VARIANT_TRUE, user);
}

TEST_P(AutorunUnderRoot, WithoutACommandLineTheProgramsOwnPathIsStored) {
    Autorun autorun(currentUser());
    const std::wstring id = Id(L"own-path");
    ASSERT_TRUE(autorun.Add(id));
    // This program's folder has no blank, so the path is stored as it is.
    const std::wstring path = OwnPath();
    ASSERT_EQ(std::wstring::npos, path.find(L' ')) << "the test expects a build folder without blanks";
    DWORD type = 0;
    EXPECT_EQ(path, Stored(root(), id, &type).value_or(L"<missing>"));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_FALSE(Stored(otherRoot(), id)) << "written under the other root too";
    EXPECT_EQ(path, autorun.Get(id));
    EXPECT_TRUE(autorun.Is(id));
}

TEST_P(AutorunUnderRoot, TheCallersCommandLineIsStoredAsGivenAndReplacesAnEarlierOne) {
    Autorun autorun(currentUser());
    const std::wstring id = Id(L"given");
    ASSERT_TRUE(autorun.Add(id, L"first.exe"));
    const wchar_t* line = L"C:\\Program Files\\App\\app.exe /minimized";
    ASSERT_TRUE(autorun.Add(id, line));
    EXPECT_EQ(line, Stored(root(), id).value_or(L"<missing>"));
    EXPECT_EQ(line, autorun.Get(id));
    EXPECT_TRUE(autorun.Is(id));
}

TEST_P(AutorunUnderRoot, AValueOfBlanksIsReadButDoesNotRegister) {
    Autorun autorun(currentUser());
    const std::wstring added = Id(L"blanks-added");
    ASSERT_TRUE(autorun.Add(added, L"   "));
    EXPECT_EQ(L"   ", Stored(root(), added).value_or(L"<missing>"));
    EXPECT_FALSE(autorun.Is(added));
    EXPECT_EQ(L"   ", autorun.Get(added));

    // Written by another program, and an empty value.
    const std::wstring written = Id(L"blanks-written");
    WriteText(root(), written, L" \t ");  // a tab is not a blank
    EXPECT_TRUE(autorun.Is(written));
    WriteText(root(), written, L"");
    EXPECT_FALSE(autorun.Is(written));
    EXPECT_EQ(L"", autorun.Get(written));
}

TEST_P(AutorunUnderRoot, DeletingRemovesTheValueOnceAndMissingValuesReadAsEmpty) {
    Autorun autorun(currentUser());
    const std::wstring id = Id(L"deleted");
    ASSERT_TRUE(autorun.Add(id, L"x.exe"));
    EXPECT_TRUE(autorun.Delete(id));
    EXPECT_FALSE(Stored(root(), id));
    EXPECT_FALSE(autorun.Is(id));
    EXPECT_EQ(L"", autorun.Get(id));
    // Nothing left to delete: the deleter reports failure, without an error.
    EXPECT_FALSE(autorun.Delete(id));
    EXPECT_FALSE(autorun.Is(Id(L"never-written")));
}

TEST_P(AutorunUnderRoot, OnlyStringValuesCountAndExpandableOnesReadUnexpanded) {
    Autorun autorun(currentUser());
    const std::wstring number = Id(L"dword");
    const DWORD one = 1;
    WriteRaw(root(), number, REG_DWORD, &one, sizeof one);
    EXPECT_FALSE(autorun.Is(number));
    EXPECT_EQ(L"", autorun.Get(number));

    const std::wstring expandable = Id(L"expand");
    WriteText(root(), expandable, L"%SystemRoot%\\notepad.exe", REG_EXPAND_SZ);
    EXPECT_TRUE(autorun.Is(expandable));
    EXPECT_EQ(L"%SystemRoot%\\notepad.exe", autorun.Get(expandable));
}

TEST_P(AutorunUnderRoot, AnEmptyIdentifierDoesNothing) {
    Autorun autorun(currentUser());
    // An empty value name would be the key's default value: nothing may be written there.
    ASSERT_FALSE(ValueExists(root(), L""));
    EXPECT_FALSE(autorun.Add(L"", L"x.exe"));
    EXPECT_FALSE(autorun.Add(L""));
    EXPECT_FALSE(ValueExists(root(), L""));
    EXPECT_FALSE(autorun.Is(L""));
    EXPECT_EQ(L"", autorun.Get(L""));
    EXPECT_FALSE(autorun.Delete(L""));

    // A null BSTR is the empty identifier.
    VARIANT_BOOL r = VARIANT_TRUE;
    EXPECT_EQ(S_OK, autorun->AddToAutorun(nullptr, nullptr, &r));
    EXPECT_EQ(VARIANT_FALSE, r);

    // A name with a null character would reach the value named by its first part.
    const std::wstring first = Id(L"before-null");
    WriteText(root(), first, L"kept.exe");
    const std::wstring withNull = first + std::wstring(1, L'\0') + L"rest";
    EXPECT_FALSE(autorun.Add(withNull, L"other.exe"));
    EXPECT_FALSE(autorun.Is(withNull));
    EXPECT_FALSE(autorun.Delete(withNull));
    EXPECT_EQ(L"kept.exe", Stored(root(), first).value_or(L"<missing>"));
}

namespace {

// For its lifetime the Run key of `root` may be read but not written by anyone: a caller
// without the rights to change it. The key's own access list comes back afterwards.
class ReadOnlyRunKey {
public:
    explicit ReadOnlyRunKey(HKEY root) {
        support::RegKey created;
        RegCreateKeyExW(root, kRunKey, 0, nullptr, 0, KEY_READ, nullptr, created.put(), nullptr);
        if (RegOpenKeyExW(root, kRunKey, 0, READ_CONTROL | WRITE_DAC, key_.put()) != ERROR_SUCCESS) return;
        DWORD size = 0;
        RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
        saved_.resize(size);
        if (size == 0 || RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data(), &size) != ERROR_SUCCESS)
            return;

        // Everyone: read, and the right to put the list back; nothing else.
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) return;
        EXPLICIT_ACCESSW access{};
        access.grfAccessPermissions = KEY_READ | WRITE_DAC;
        access.grfAccessMode = SET_ACCESS;
        access.grfInheritance = NO_INHERITANCE;
        access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        access.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
        PACL acl = nullptr;
        if (SetEntriesInAclW(1, &access, nullptr, &acl) == ERROR_SUCCESS) {
            SECURITY_DESCRIPTOR sd;
            InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
            SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
            active_ = RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
            LocalFree(acl);
        }
        FreeSid(everyone);
    }
    ~ReadOnlyRunKey() {
        if (active_) RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data());
    }
    bool active() const { return active_; }

private:
    support::RegKey key_;
    std::vector<BYTE> saved_;
    bool active_ = false;
};

}  // namespace

TEST_P(AutorunUnderRoot, AWriteTheCallerMayNotMakeIsReportedAsFalse) {
    Autorun autorun(currentUser());
    const std::wstring kept = Id(L"kept");
    ASSERT_TRUE(autorun.Add(kept, L"kept.exe"));
    const std::wstring refused = Id(L"refused");
    {
        ReadOnlyRunKey readOnly(root());
        ASSERT_TRUE(readOnly.active());
        // The key really is closed to writing now.
        support::RegKey probe;
        ASSERT_NE(ERROR_SUCCESS, RegOpenKeyExW(root(), kRunKey, 0, KEY_SET_VALUE, probe.put()));

        EXPECT_FALSE(autorun.Add(refused, L"x.exe"));
        EXPECT_FALSE(autorun.Add(refused));
        EXPECT_FALSE(autorun.Delete(kept));
        // Reading still works.
        EXPECT_TRUE(autorun.Is(kept));
        EXPECT_EQ(L"kept.exe", autorun.Get(kept));
    }
    EXPECT_FALSE(Stored(root(), refused));
    EXPECT_EQ(L"kept.exe", Stored(root(), kept).value_or(L"<missing>"));
    EXPECT_TRUE(autorun.Delete(kept));
}

TEST(Autorun, AProgramInAFolderWithABlankIsStoredInQuotes) {
    // The helper program and the library, copied into a folder whose name holds a blank.
    mvtest::ScratchFolder outer;
    mvtest::ScratchFolder folder(L"with blank", outer.path());
    const std::wstring child = folder / L"autorun_child.exe";
    ASSERT_TRUE(CopyFileW(BinFile(L"autorun_child.exe").c_str(), child.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(BinFile(L"Basekit0308.dll").c_str(), (folder / L"Basekit0308.dll").c_str(), FALSE));

    for (const bool user : {true, false}) {
        SCOPED_TRACE(user ? "current user" : "machine");
        const HKEY root = user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        const std::wstring id = L"{bk-autorun-test}-quoted";
        std::string output;
        ASSERT_EQ(0, RunCaptured(L"\"" + child + L"\" " + id + (user ? L" user" : L" machine"), output)) << output;
        const auto stored = Stored(root, id);
        Remove(root, id);
        ASSERT_TRUE(stored);
        // The path as the child sees it: the long form of the copied file's name.
        wchar_t full[MAX_PATH * 2] = {};
        GetLongPathNameW(child.c_str(), full, MAX_PATH * 2);
        EXPECT_EQ(L"\"" + std::wstring(full) + L"\"", *stored);
    }
}
