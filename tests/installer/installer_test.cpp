// Metaview's x64 installer under Wine, in a prefix of its own (fresh-prefix-run.sh): silent
// installs for all users and for the current user, what they put on the machine (files,
// library registration, the shell verb, shortcuts, the uninstall entry), Metaview started
// through the verb on the sample photo, and silent uninstalls after which nothing of it is
// left but, unless asked otherwise, the user's settings.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/mainwindow/mainwindow.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "tests/harness/guidriver.h"
#include "tests/harness/library.h"

namespace {

namespace fs = std::filesystem;
namespace gui = bktest::gui;
using support::RegKey;

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Metaview";
constexpr wchar_t kVerbKey[] = L"Software\\Classes\\*\\shell\\Metaview";
constexpr wchar_t kSettingsKey[] = L"Software\\Orvex\\Metaview";
constexpr wchar_t kAppPathsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Metaview.exe";
constexpr DWORD kSetupTimeoutMs = 180000;

std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

// A path of the build machine as Wine's drive Z: shows it.
fs::path HostPath(const char* unixPath) {
    std::wstring path = L"Z:" + Wide(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// orxMain's class key below a scope's root.
std::wstring OrxMainClassKey() {
    wchar_t clsid[40] = {};
    StringFromGUID2(CLSID_orxMain, clsid, 40);
    return std::wstring(L"Software\\Classes\\CLSID\\") + clsid;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// ---- What the installer installs (its build's listing: destination, size, source)

struct ListedFile {
    std::wstring destination;
    uintmax_t size = 0;
};

std::vector<ListedFile> Listing() {
    std::vector<ListedFile> files;
    std::ifstream in(HostPath(BK_INSTALLER_LISTING));
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string destination, size;
        if (std::getline(fields, destination, '\t') && std::getline(fields, size, '\t'))
            files.push_back({Wide(destination), std::stoull(size)});
    }
    return files;
}

// ---- Registry

bool KeyExists(HKEY root, const std::wstring& key) {
    RegKey k;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

std::optional<std::wstring> Text(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t text[2048] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

std::optional<DWORD> Number(HKEY root, const std::wstring& key, const wchar_t* name) {
    DWORD value = 0, bytes = sizeof(value);
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

// Every key and value name below `key` (values as "key\\:name"), for before-and-after checks.
void Collect(HKEY root, const std::wstring& key, std::set<std::wstring>& out) {
    RegKey k;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) return;
    out.insert(key);
    wchar_t name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD length = 16383;
        if (RegEnumValueW(k.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        out.insert(key + L"\\:" + name);
    }
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD length = 255;
        if (RegEnumKeyExW(k.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys.push_back(name);
    }
    k.reset();
    for (const auto& sub : subkeys) Collect(root, key + L"\\" + sub, out);
}

// ---- Files

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

// Every file and folder below `folder` (none when it does not exist).
void CollectFiles(const fs::path& folder, std::set<std::wstring>& out) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        out.insert(it->path().wstring());
}

// What the installer may touch and the uninstaller must take away: registry trees and folders.
struct MachineState {
    std::set<std::wstring> keys;
    std::set<std::wstring> files;

    static MachineState Take() {
        MachineState s;
        Collect(HKEY_LOCAL_MACHINE, L"Software\\Classes", s.keys);
        Collect(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", s.keys);
        Collect(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", s.keys);
        for (auto& k : s.keys) const_cast<std::wstring&>(k).insert(0, L"HKLM\\");
        std::set<std::wstring> user;
        Collect(HKEY_CURRENT_USER, L"Software", user);
        for (const auto& k : user) s.keys.insert(L"HKCU\\" + k);
        for (REFKNOWNFOLDERID id : {FOLDERID_ProgramFiles, FOLDERID_CommonPrograms, FOLDERID_Programs,
                                    FOLDERID_SendTo, FOLDERID_LocalAppData})
            CollectFiles(KnownFolder(id), s.files);
        // The temporary folder is no installed place (the uninstaller runs a copy of itself there).
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        const std::wstring tempFolder = fs::path(temp).lexically_normal().wstring();
        std::erase_if(s.files, [&](const std::wstring& f) {
            return f.size() >= tempFolder.size() && SamePath(f.substr(0, tempFolder.size()), tempFolder);
        });
        return s;
    }
};

// What `after` holds that `before` did not, one per line.
std::wstring Added(const std::set<std::wstring>& before, const std::set<std::wstring>& after) {
    std::wstring added;
    for (const auto& x : after)
        if (!before.count(x)) added += x + L"\n";
    return added;
}

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring ShortcutTarget(const std::wstring& link) {
    support::ComPtr<IShellLinkW> shell;
    support::ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.put_void())) &&
        SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.put_void())) && SUCCEEDED(file->Load(link.c_str(), STGM_READ)))
        shell->GetPath(target, MAX_PATH, nullptr, 0);
    return target;
}

// ---- Running the installer, the uninstaller and Metaview

int RunSetup(const std::wstring& arguments) {
    gui::Process setup = gui::Process::Start(HostPath(BK_INSTALLER).wstring(), arguments);
    if (!setup.started() || !setup.WaitForExit(kSetupTimeoutMs)) return -1;
    return static_cast<int>(setup.ExitCode());
}

// The processes `parent` started.
std::vector<DWORD> Children(DWORD parent) {
    std::vector<DWORD> ids;
    support::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == parent) ids.push_back(entry.th32ProcessID);
    return ids;
}

// Runs an uninstall command line as the list of installed programs holds it. The uninstaller
// starts a copy of itself from the temporary folder and ends; the copy does the work, so it is
// waited for too.
int RunUninstall(const std::wstring& commandLine) {
    if (commandLine.size() < 2 || commandLine[0] != L'"') return -2;
    const size_t close = commandLine.find(L'"', 1);
    if (close == std::wstring::npos) return -2;
    gui::Process first = gui::Process::Start(commandLine.substr(1, close - 1), commandLine.substr(close + 1));
    if (!first.started()) return -1;
    // The copy names the first process as its parent (the first process's handle, held here,
    // keeps its id from being reused).
    if (!first.WaitForExit(kSetupTimeoutMs)) return -1;
    const std::vector<DWORD> copies = Children(first.id());
    if (copies.empty()) return -3;
    for (DWORD id : copies)
        if (!gui::WaitForProcessExit(id, kSetupTimeoutMs)) return -1;
    return static_cast<int>(first.ExitCode());
}

// Runs an uninstall command line with its window: confirms, answers the settings question
// with `answer` (IDYES, IDNO) and closes the finished window. Returns the question's text.
std::wstring UninstallAnswering(const std::wstring& commandLine, int answer) {
    const size_t close = commandLine.find(L'"', 1);
    if (commandLine.empty() || commandLine[0] != L'"' || close == std::wstring::npos) return L"<bad command line>";
    gui::Process first = gui::Process::Start(commandLine.substr(1, close - 1), commandLine.substr(close + 1));
    if (!first.WaitForExit(kSetupTimeoutMs)) return L"<no uninstaller>";
    const std::vector<DWORD> copies = Children(first.id());
    if (copies.size() != 1) return L"<no uninstaller copy>";
    // The uninstaller's window and its message boxes are dialogs of the copy's process.
    const gui::WindowQuery query{std::nullopt, L"#32770", copies[0]};
    HWND window = gui::WaitForWindow(query);
    if (!window || !gui::ClickButton(window, IDOK)) return L"<no confirmation page>";
    // The question is a second window of that title, over the progress page.
    std::wstring question;
    HWND box = nullptr;
    for (DWORD start = GetTickCount(); !box && GetTickCount() - start < gui::kDefaultTimeoutMs; Sleep(50))
        for (HWND w : gui::FindWindows(query))
            if (w != window) box = w;
    if (box) {
        question = gui::MessageBoxText(box);
        gui::ClickButton(box, answer);
    }
    // The finished page waits for Close (unless the window has closed itself).
    HWND done = nullptr;
    for (DWORD start = GetTickCount(); !done && IsWindow(window) && GetTickCount() - start < gui::kDefaultTimeoutMs;
         Sleep(50))
        done = gui::FindControlByText(window, L"Close", L"Button");
    if (done) gui::ClickButton(window, IDOK);
    if (!gui::WaitForProcessExit(copies[0], kSetupTimeoutMs)) return L"<uninstaller still running>";
    return question;
}

struct MetaviewRun {
    std::wstring listing;
    std::wstring image;  // the program file of the started process
    bool closed = false;
};

// Starts the "Open with Metaview" verb of `classes` (a scope's Software\Classes\*) on `file`,
// reads Metaview's listing and closes it.
MetaviewRun OpenWithMetaview(HKEY root, const std::wstring& file) {
    MetaviewRun run;
    RegKey allFiles;
    if (RegOpenKeyExW(root, L"Software\\Classes\\*", 0, KEY_READ, allFiles.put()) != ERROR_SUCCESS) return run;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // Wine's HKEY_CLASSES_ROOT is the machine's classes alone, and it looks up no verbs of "*"
    // for a file of its own: the scope's class key is handed over.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_CLASSKEY;
    info.hkeyClass = allFiles.get();
    info.lpVerb = L"Metaview";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info) || !info.hProcess) return run;
    support::UniqueHandle process(info.hProcess);
    wchar_t image[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (QueryFullProcessImageNameW(process.get(), 0, image, &size)) run.image = image;

    HWND window = gui::WaitForWindow({std::nullopt, metaview::MainWindow::kClassName, GetProcessId(process.get())});
    if (!window) {
        TerminateProcess(process.get(), 1);
        return run;
    }
    // The box text once the run has shown its outcome (two equal reads).
    std::wstring text, previous;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(100)) {
        previous = std::exchange(text, gui::WindowText(GetDlgItem(window, metaview::MainWindow::kTextBoxId)));
        if (!text.empty() && text == previous && text != L"Running ExifTool..." && text != L"Parsing result data...")
            break;
    }
    run.listing = text;
    gui::RequestClose(window);
    run.closed = WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0;
    if (!run.closed) TerminateProcess(process.get(), 1);
    return run;
}

// The sample photo in a folder with a blank, so that the verb's quoting counts.
std::wstring SamplePhoto() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const fs::path folder = fs::path(temp) / L"installer photos";
    fs::create_directories(folder);
    const fs::path photo = folder / L"rose.jpg";
    fs::copy_file(HostPath(BK_SAMPLES_DIR) / L"rose.jpg", photo, fs::copy_options::overwrite_existing);
    return photo.wstring();
}

// ---- The checks of one install

struct Scope {
    HKEY root;
    bool allUsers;
    std::wstring folder;  // where it installs
};

void ExpectInstalledFiles(const Scope& scope) {
    const auto files = Listing();
    ASSERT_GT(files.size(), 100u) << "the listing " << BK_INSTALLER_LISTING << " is incomplete";
    for (const wchar_t* name : {L"Metaview.exe", L"Basekit0308.dll", L"Basekit0308.tlb", L"exiftool.exe",
                                L"exiftool_files\\exiftool.pl", L"ExifTool-LICENSE.txt", L"Metaview.html"})
        EXPECT_TRUE(std::any_of(files.begin(), files.end(), [&](const ListedFile& f) { return f.destination == name; }))
            << Utf8(name) << " is not in the listing";
    size_t wrong = 0;
    for (const auto& f : files) {
        std::error_code error;
        const uintmax_t size = fs::file_size(fs::path(scope.folder) / f.destination, error);
        if ((error || size != f.size) && ++wrong <= 10)
            ADD_FAILURE() << Utf8(f.destination) << (error ? " is missing" : " has another size");
    }
    EXPECT_EQ(0u, wrong);
    EXPECT_TRUE(fs::exists(fs::path(scope.folder) / L"Uninstall.exe"));
}

void ExpectRegisteredLibrary(const Scope& scope) {
    const HKEY other = scope.allUsers ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::wstring dll = scope.folder + L"\\Basekit0308.dll";
    EXPECT_TRUE(SamePath(Text(scope.root, OrxMainClassKey() + L"\\InprocServer32").value_or(L""), dll));
    EXPECT_EQ(L"Basekit0308.orxMain", Text(scope.root, L"Software\\Classes\\Basekit0308.orxMain").value_or(L""));
    EXPECT_TRUE(SamePath(
        Text(scope.root, L"Software\\Classes\\TypeLib\\{8A2F0110-4E81-4EE5-80F5-60D3A8305250}\\1.0\\0\\win64").value_or(L""),
        scope.folder + L"\\Basekit0308.tlb"));
    EXPECT_FALSE(KeyExists(other, OrxMainClassKey()));
    EXPECT_FALSE(KeyExists(other, L"Software\\Classes\\Basekit0308.orxMain"));
}

void ExpectVerbShortcutsAndEntry(const Scope& scope) {
    const std::wstring exe = scope.folder + L"\\Metaview.exe";
    EXPECT_EQ(L"Open with Metaview", Text(scope.root, kVerbKey).value_or(L"<missing>"));
    EXPECT_EQ(L"\"" + exe + L"\" \"%1\"", Text(scope.root, std::wstring(kVerbKey) + L"\\command").value_or(L"<missing>"));
    EXPECT_FALSE(KeyExists(scope.allUsers ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, kVerbKey));

    EXPECT_TRUE(SamePath(ShortcutTarget(KnownFolder(FOLDERID_SendTo) + L"\\Metaview.lnk"), exe));
    const std::wstring programs = KnownFolder(scope.allUsers ? FOLDERID_CommonPrograms : FOLDERID_Programs);
    EXPECT_TRUE(SamePath(ShortcutTarget(programs + L"\\Metaview Help.lnk"), scope.folder + L"\\Metaview.html"));

    EXPECT_EQ(L"Metaview", Text(scope.root, kUninstallKey, L"DisplayName").value_or(L""));
    EXPECT_EQ(Wide(BK_METAVIEW_VERSION), Text(scope.root, kUninstallKey, L"DisplayVersion").value_or(L""));
    EXPECT_EQ(L"Orvex", Text(scope.root, kUninstallKey, L"Publisher").value_or(L""));
    EXPECT_TRUE(SamePath(Text(scope.root, kUninstallKey, L"InstallLocation").value_or(L""), scope.folder));
    const std::wstring switchText = scope.allUsers ? L" /AllUsers" : L" /CurrentUser";
    EXPECT_EQ(L"\"" + scope.folder + L"\\Uninstall.exe\"" + switchText,
              Text(scope.root, kUninstallKey, L"UninstallString").value_or(L""));
    EXPECT_EQ(L"\"" + scope.folder + L"\\Uninstall.exe\" /S" + switchText,
              Text(scope.root, kUninstallKey, L"QuietUninstallString").value_or(L""));
    // The size in KB: what the listing adds up to, give or take the uninstaller and rounding.
    uintmax_t bytes = 0;
    for (const auto& f : Listing()) bytes += f.size;
    const DWORD kb = Number(scope.root, kUninstallKey, L"EstimatedSize").value_or(0);
    EXPECT_GE(kb, bytes / 1024);
    EXPECT_LE(kb, bytes / 1024 + 2048);
    EXPECT_FALSE(KeyExists(scope.allUsers ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, kUninstallKey));
}

void ExpectMetaviewThroughTheVerb(const Scope& scope) {
    const MetaviewRun run = OpenWithMetaview(scope.root, SamplePhoto());
    EXPECT_TRUE(SamePath(run.image, scope.folder + L"\\Metaview.exe")) << Utf8(run.image);
    // The real ExifTool beside the installed Metaview listed the photo.
    EXPECT_NE(std::wstring::npos, run.listing.find(L"ExifTool Version Number")) << Utf8(run.listing);
    EXPECT_NE(std::wstring::npos, run.listing.find(L"GPS Latitude")) << Utf8(run.listing);
    EXPECT_NE(std::wstring::npos, run.listing.find(L"rose.jpg")) << Utf8(run.listing);
    EXPECT_TRUE(run.closed);
    // Closing saved the settings; Metaview registered its path.
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_TRUE(SamePath(Text(HKEY_CURRENT_USER, kAppPathsKey).value_or(L""), scope.folder + L"\\Metaview.exe"));
}

// Nothing the install added is left but what `kept` names (keys and values below it).
void ExpectNothingLeft(const MachineState& before, const std::wstring& kept) {
    const MachineState after = MachineState::Take();
    std::set<std::wstring> keys = after.keys;
    if (!kept.empty())
        std::erase_if(keys, [&](const std::wstring& k) { return k.rfind(kept, 0) == 0 && !before.keys.count(k); });
    EXPECT_EQ(L"", Added(before.keys, keys)) << "keys left: " << Utf8(Added(before.keys, keys));
    EXPECT_EQ(L"", Added(before.files, after.files)) << "files left: " << Utf8(Added(before.files, after.files));
}

// What Wine does the first time on its own (the script host registers its type library when
// it first runs) and what a Windows user profile always has, done before any "before" state is
// taken, so that the comparisons see only what the installer and Metaview did.
class InstallerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        const fs::path script = fs::path(temp) / L"warm-up.vbs";
        std::ofstream(script) << "WScript.Echo \"ready\"\n";
        std::string output;
        bktest::RunCaptured(L"cscript.exe //nologo \"" + script.wstring() + L"\"", output);
        fs::remove(script);
        for (const wchar_t* key : {L"Software\\Classes", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"}) {
            RegKey k;
            RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_READ, nullptr, k.put(), nullptr);
        }
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new InstallerEnvironment);

TEST(Installer, RefusesBothScopesAtOnceAndInstallsNothing) {
    const MachineState before = MachineState::Take();
    EXPECT_EQ(2, RunSetup(L"/S /AllUsers /CurrentUser"));
    ExpectNothingLeft(before, L"");
}

TEST(Installer, ForAllUsersSilentlyThenUninstallKeepingTheSettings) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    const MachineState before = MachineState::Take();
    const Scope scope{HKEY_LOCAL_MACHINE, true, KnownFolder(FOLDERID_ProgramFiles) + L"\\Metaview"};

    ASSERT_EQ(0, RunSetup(L"/S"));
    ExpectInstalledFiles(scope);
    ExpectRegisteredLibrary(scope);
    ExpectVerbShortcutsAndEntry(scope);
    // Registered for the machine, the library's classes are created by programmatic id.
    std::string output;
    const std::wstring script = bktest::BinFile(L"installer_client.vbs");
    EXPECT_EQ(0, bktest::RunCaptured(L"cscript.exe //nologo \"" + script + L"\"", output)) << output;
    EXPECT_NE(std::string::npos, output.find("created orxMain")) << output;
    ExpectMetaviewThroughTheVerb(scope);

    const auto quiet = Text(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet);
    ASSERT_EQ(0, RunUninstall(*quiet));
    EXPECT_FALSE(fs::exists(scope.folder));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, OrxMainClassKey()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppPathsKey));
    // A silent uninstall keeps the user's settings.
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    ExpectNothingLeft(before, L"HKCU\\Software\\Orvex");
}

TEST(Installer, ForTheCurrentUserSilentlyThenUninstallWithTheSettings) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvex");
    const MachineState before = MachineState::Take();
    const Scope scope{HKEY_CURRENT_USER, false, KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Metaview"};

    // Wine's user is an administrator: the switch chooses the per-user install.
    ASSERT_EQ(0, RunSetup(L"/S /CurrentUser"));
    ExpectInstalledFiles(scope);
    ExpectRegisteredLibrary(scope);
    ExpectVerbShortcutsAndEntry(scope);
    ExpectMetaviewThroughTheVerb(scope);

    const auto quiet = Text(HKEY_CURRENT_USER, kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet);
    ASSERT_EQ(0, RunUninstall(*quiet + L" /RemoveSettings"));
    EXPECT_FALSE(fs::exists(scope.folder));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Orvex"));
    ExpectNothingLeft(before, L"");
}

TEST(Installer, UninstallAsksBeforeRemovingTheSettings) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    const MachineState before = MachineState::Take();
    ASSERT_EQ(0, RunSetup(L"/S /CurrentUser"));
    {
        RegKey settings;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kSettingsKey) + L"\\Main").c_str(), 0,
                                                 nullptr, 0, KEY_WRITE, nullptr, settings.put(), nullptr));
    }
    const auto interactive = Text(HKEY_CURRENT_USER, kUninstallKey, L"UninstallString");
    ASSERT_TRUE(interactive);
    const std::wstring question = UninstallAnswering(*interactive, IDNO);
    EXPECT_NE(std::wstring::npos, question.find(L"Remove your Metaview settings")) << Utf8(question);
    // No: everything else went, the settings stay.
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\Main"));
    ExpectNothingLeft(before, L"HKCU\\Software\\Orvex");
}

}  // namespace
