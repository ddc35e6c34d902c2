// Metaview end to end: the real ExifTool beside it on sample files made here, stand-ins for
// ExifTool's failures and slowness, saving, the settings and the window placement.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <algorithm>
#include <iterator>
#include <thread>
#include <utility>

#include "app/mainwindow/listing_view.h"
#include "app/mainwindow/mainwindow.h"
#include "app/startup/startup.h"
#include "app/version/versionresource.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "tests/harness/guidriver.h"
#include "tests/harness/library.h"
#include "tests/harness/screenshot.h"
#include "tests/lib/about/about_driver.h"

namespace {

namespace fs = std::filesystem;
namespace gui = bktest::gui;
using bktest::BinFile;
using metaview::MainWindow;
namespace menu = metaview::menu;

constexpr DWORD kRunTimeoutMs = 60000;
constexpr wchar_t kSettingsKey[] = L"Software\\Orvex\\Metaview";

// A folder of the test's own, removed with everything in it when the test ends.
struct Folder {
    explicit Folder(const std::wstring& name) {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        path = fs::path(base) / (L"mv-" + name + L"-" + std::to_wstring(GetCurrentProcessId()));
        std::error_code ignored;
        fs::remove_all(path, ignored);
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = gui::kDefaultTimeoutMs) {
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > timeoutMs) return false;
    return true;
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Metaview started from `exe`, optionally with a private temporary folder.
class Metaview {
public:
    Metaview(const fs::path& exe, const std::wstring& argument, const fs::path& temp = {}) {
        std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + argument;
        std::wstring environment;
        if (!temp.empty()) {
            // The own environment with TEMP and TMP replaced.
            if (wchar_t* block = GetEnvironmentStringsW()) {
                for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
                    if (_wcsnicmp(p, L"TEMP=", 5) == 0 || _wcsnicmp(p, L"TMP=", 4) == 0) continue;
                    environment.append(p).push_back(L'\0');
                }
                FreeEnvironmentStringsW(block);
            }
            for (const wchar_t* name : {L"TEMP=", L"TMP="}) environment.append(name + temp.wstring()).push_back(L'\0');
            environment.push_back(L'\0');
        }
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                           environment.empty() ? nullptr : environment.data(), nullptr, &si, &pi)) {
            process_.reset(pi.hProcess);
            CloseHandle(pi.hThread);
            id_ = pi.dwProcessId;
        }
        window = gui::WaitForWindow({std::nullopt, MainWindow::kClassName, id_});
        if (window) box = FindWindowExW(window, nullptr, L"Edit", nullptr);
    }
    ~Metaview() {
        if (process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 1);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
    DWORD id() const { return id_; }
    bool Ended(DWORD timeoutMs = gui::kDefaultTimeoutMs) const {
        return WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
    }
    // The text box as it is now: a large listing replaces the system's box with the listing
    // view, under the same id.
    HWND Box() const { return GetDlgItem(window, MainWindow::kTextBoxId); }
    // The box text once the run has shown its outcome (read until two reads agree: a read
    // that meets the box while its text is being replaced may see part of it).
    std::wstring Outcome() const {
        std::wstring text, previous;
        WaitUntil([&] {
            previous = std::exchange(text, gui::WindowText(Box()));
            return !text.empty() && text == previous && text != L"Running ExifTool..." &&
                   text != L"Parsing result data...";
        }, kRunTimeoutMs);
        return text;
    }
    // Drives File > Save: types the name into the save dialog and confirms it.
    ::testing::AssertionResult Save(const fs::path& file) const { return SaveAs(file.wstring(), file); }
    // The same with `typed` as the name typed into the dialog (a name alone is saved in the
    // folder the dialog opened in) and `file` where the text is expected.
    ::testing::AssertionResult SaveAs(const std::wstring& typed, const fs::path& file) const {
        gui::SendMenuCommand(window, menu::kSave);
        HWND dialog = gui::WaitForWindow({L"Save As", L"#32770", id_});
        if (!dialog) return ::testing::AssertionFailure() << "no save dialog";
        HWND name = nullptr;
        for (const auto& c : gui::ListControls(dialog))
            if (c.className == L"Edit" && c.visible && !name) name = c.handle;
        if (!name) return ::testing::AssertionFailure() << "no file name field";
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        gui::ClickButton(dialog, IDOK);
        if (!gui::WaitForWindowGone(dialog)) return ::testing::AssertionFailure() << "save dialog stays";
        if (!WaitUntil([&] { return fs::exists(file); })) return ::testing::AssertionFailure() << "nothing written";
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult CloseWithEscape() const {
        gui::PressKey(window, VK_ESCAPE);
        if (!Ended()) return ::testing::AssertionFailure() << "still running after Esc";
        return ::testing::AssertionSuccess();
    }

    // The box's selection.
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 0, end = 0;
        SendMessageW(Box(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    bool Foreground() const {
        SetForegroundWindow(window);
        return WaitUntil([&] { return GetForegroundWindow() == window; }, 5000);
    }
    // Ctrl+F typed into the window: the Find dialog, owned by it.
    HWND OpenFind() const {
        if (!Foreground() || !gui::SendKeyChord({VK_CONTROL, 'F'})) return nullptr;
        return gui::WaitForWindow({L"Find", L"#32770", id_}, 10000);
    }

    HWND window = nullptr;
    HWND box = nullptr;

private:
    support::UniqueHandle process_;
    DWORD id_ = 0;
};

// Metaview, its library and `exifTool` (a stand-in built by the tests, or none) in a folder
// of their own; `config` goes into the stand-in's fake-exiftool.txt.
fs::path PrivateCopy(const Folder& folder, const wchar_t* exifTool, const std::string& config = {}) {
    fs::copy_file(BinFile(L"Metaview.exe"), folder.path / L"Metaview.exe");
    fs::copy_file(BinFile(L"Basekit0308.dll"), folder.path / L"Basekit0308.dll");
    if (exifTool) fs::copy_file(BinFile(exifTool), folder.path / L"exiftool.exe");
    if (!config.empty()) std::ofstream(folder.path / L"fake-exiftool.txt", std::ios::binary) << config;
    return folder.path / L"Metaview.exe";
}

void ForgetSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

std::wstring StoredText(const wchar_t* section, const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kSettingsKey) + L"\\" + section).c_str(), name, RRF_RT_REG_SZ,
                 nullptr, value, &size);
    return value;
}

// A 1x1 PNG.
const unsigned char kPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00,
    0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF,
    0x89, 0x99, 0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

TEST(MetaviewRealExifTool, ShowsTagsSavesThemAndLeavesNoTemporaryFiles) {
    ForgetSettings();
    Folder pictures(L"pictures"), temp(L"temp"), saved(L"saved");
    const fs::path rose = fs::path(BK_SAMPLES_DIR) / L"rose.jpg";
    for (const wchar_t* name : {L"rose.jpg", L"rose with blanks.jpg", L"-rose.jpg"})
        fs::copy_file(rose, pictures.path / name);
    std::ofstream(pictures.path / L"tiny.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(kPng), sizeof(kPng));

    const struct {
        const wchar_t* name;
        const wchar_t* expectedTag;
    } files[] = {
        {L"rose.jpg", L"GPS Latitude"},
        {L"rose with blanks.jpg", L"GPS Latitude"},
        {L"-rose.jpg", L"GPS Latitude"},
        {L"tiny.png", L"Image Width"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(testing::Message() << "file: " << Utf8(f.name));
        const fs::path file = pictures.path / f.name;
        Metaview mv(BinFile(L"Metaview.exe"), L"\"" + file.wstring() + L"\"", temp.path);
        ASSERT_NE(mv.box, nullptr);
        EXPECT_EQ(gui::WindowText(mv.window), std::wstring(f.name) + L" \u2013 Metaview");
        const std::wstring text = mv.Outcome();
        EXPECT_NE(text.find(L"ExifTool Version Number"), std::wstring::npos) << Utf8(text.substr(0, 400));
        EXPECT_NE(text.find(f.expectedTag), std::wstring::npos);
        EXPECT_NE(text.find(L"File Name"), std::wstring::npos);
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.front(), L'\r');
        EXPECT_NE(text.front(), L'\n');
        EXPECT_NE(text.back(), L'\n');
        if (f.name == std::wstring(L"rose.jpg")) {
            const fs::path out = saved.path / L"rose tags.txt";
            ASSERT_TRUE(mv.Save(out));
            EXPECT_EQ(ReadBytes(out), "\xEF\xBB\xBF" + Utf8(text));
            EXPECT_EQ(_wcsicmp(StoredText(L"OFN Paths", L"Last open TXT directory").c_str(), saved.path.c_str()), 0);
        }
        ASSERT_TRUE(mv.CloseWithEscape());
        EXPECT_TRUE(fs::is_empty(temp.path)) << "left in the temporary folder: "
                                             << fs::directory_iterator(temp.path)->path().string();
    }

    // A file that does not exist: ExifTool's own failure report.
    Metaview mv(BinFile(L"Metaview.exe"), L"\"" + (pictures.path / L"missing.jpg").wstring() + L"\"", temp.path);
    ASSERT_NE(mv.box, nullptr);
    const std::wstring text = mv.Outcome();
    EXPECT_EQ(text.rfind((pictures.path / L"missing.jpg").wstring() + L"\r\n\r\nExifTool has failed. Exit code: ", 0), 0u)
        << Utf8(text);
    EXPECT_NE(text.find(L"The command line was:"), std::wstring::npos);
    ASSERT_TRUE(mv.CloseWithEscape());
    EXPECT_TRUE(fs::is_empty(temp.path));
}

TEST(MetaviewFailures, NoExifToolBesideTheProgram) {
    Folder folder(L"noexiftool");
    const fs::path exe = PrivateCopy(folder, nullptr);
    Metaview mv(exe, L"picture.jpg");
    ASSERT_NE(mv.box, nullptr);
    const std::wstring text = mv.Outcome();
    EXPECT_NE(text.find(L"\r\n\r\nCat't run ExifTool.\r\n\r\n"), std::wstring::npos) << Utf8(text);
    EXPECT_NE(text.find(L"The command line was:\r\n\r\n\"" + (folder.path / L"exiftool.exe").wstring() + L"\""),
              std::wstring::npos)
        << Utf8(text);
    ASSERT_TRUE(mv.CloseWithEscape());
}

TEST(MetaviewFailures, NonZeroExitReportsAndSaveWritesTheStandardOutput) {
    Folder folder(L"fails");
    const fs::path exe =
        PrivateCopy(folder, L"fake_exiftool.exe", "exit=7\nstdout=Some output\\nsecond line\nstderr=It broke\nnoresult=1\n");
    Metaview mv(exe, L"picture.jpg");
    ASSERT_NE(mv.box, nullptr);
    const std::wstring text = mv.Outcome();
    EXPECT_NE(text.find(L"ExifTool has failed. Exit code: "), std::wstring::npos) << Utf8(text);
    EXPECT_NE(text.find(L"\r\n\r\n@stdout:\r\n\r\nSome output\r\nsecond line"), std::wstring::npos) << Utf8(text);
    EXPECT_NE(text.find(L"\r\n\r\n@stderr:\r\n\r\nIt broke"), std::wstring::npos);
    EXPECT_NE(text.find(L"-lang \"en\""), std::wstring::npos);

    const fs::path out = folder.path / L"output.txt";
    ASSERT_TRUE(mv.Save(out));
    EXPECT_EQ(ReadBytes(out), "\xEF\xBB\xBFSome output\r\nsecond line");
    ASSERT_TRUE(mv.CloseWithEscape());
}

TEST(MetaviewBusy, ClosingDuringTheRunAsksWhetherToStopExifTool) {
    Folder folder(L"hang");
    const fs::path exe = PrivateCopy(folder, L"fake_exiftool.exe", "hang=1\n");
    Metaview mv(exe, L"picture.jpg");
    ASSERT_NE(mv.box, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return gui::WindowText(mv.box) == L"Running ExifTool..."; }));
    const std::string log = (folder.path / L"fake-exiftool.log").string();
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(log).find("child=") != std::string::npos; }));

    // Every way of closing asks; No keeps the run going.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt == 0) gui::RequestClose(mv.window);
        if (attempt == 1) gui::PressKey(mv.window, VK_ESCAPE);
        if (attempt == 2) gui::SendMenuCommand(mv.window, menu::kExit);
        HWND question = gui::WaitForWindow({std::nullopt, L"#32770", mv.id()});
        ASSERT_NE(question, nullptr) << "attempt " << attempt;
        EXPECT_NE(gui::MessageBoxText(question).find(L"Stop ExifTool and close the window?"), std::wstring::npos);
        EXPECT_EQ(GetWindow(question, GW_OWNER), mv.window) << "owned by the window";
        gui::ClickButton(question, IDNO);
        ASSERT_TRUE(gui::WaitForWindowGone(question));
        EXPECT_FALSE(mv.Ended(300)) << "No keeps waiting";
        EXPECT_EQ(gui::WindowText(mv.box), L"Running ExifTool...");
    }

    // Yes ends ExifTool with what it started, and then the window.
    gui::RequestClose(mv.window);
    HWND question = gui::WaitForWindow({std::nullopt, L"#32770", mv.id()});
    ASSERT_NE(question, nullptr);
    gui::ClickButton(question, IDYES);
    EXPECT_TRUE(mv.Ended(15000)) << "the window stays after Yes";
    const std::string text = ReadBytes(log);
    for (const char* key : {"pid=", "child="}) {
        const size_t at = text.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        const DWORD id = static_cast<DWORD>(std::stoul(text.substr(at + strlen(key))));
        const support::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
        EXPECT_TRUE(!process || WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0) << key << " still runs";
    }
}

// The Find dialog's term and options, then its Find Next button.
void FindNextFromDialog(HWND dialog, const std::wstring& term, bool matchCase, bool wholeWord = false) {
    SendMessageW(GetDlgItem(dialog, edt1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(term.c_str()));
    SendMessageW(GetDlgItem(dialog, chx2), BM_SETCHECK, matchCase ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(GetDlgItem(dialog, chx1), BM_SETCHECK, wholeWord ? BST_CHECKED : BST_UNCHECKED, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }, 5000));
    ASSERT_TRUE(gui::ClickButton(dialog, IDOK));
}

// The "Cannot find" box of `process` owned by `owner`: its text, and the box closed.
std::wstring AnswerCannotFind(DWORD process, HWND owner) {
    HWND box = nullptr;
    WaitUntil([&] {
        for (HWND w : gui::FindWindows({std::nullopt, L"#32770", process}))
            if (GetWindow(w, GW_OWNER) == owner && gui::WindowText(w) == L"Metaview") box = w;
        return box != nullptr;
    }, 10000);
    if (!box) return L"<no message box>";
    const std::wstring text = gui::MessageBoxText(box);
    gui::ClickButton(box, IDOK);
    gui::WaitForWindowGone(box);
    return text;
}

std::pair<DWORD, DWORD> At(const std::wstring& text, const std::wstring& word, size_t from = 0) {
    const size_t at = text.find(word, from);
    return {static_cast<DWORD>(at), static_cast<DWORD>(at + word.size())};
}

// Find on a result: Ctrl+F, the dialog's Find Next with and without letter case, F3 and
// Shift+F3 back and forth, and a term that is not there.
TEST(MetaviewFind, NextPreviousCaseAndATermThatIsNotThere) {
    Folder folder(L"find");
    const fs::path exe = PrivateCopy(
        folder, L"fake_exiftool.exe",
        "result=Make                            : canon\\nModel                           : Canon EOS 5D\\n"
        "Owner Name                      : Canon User\n");
    Metaview mv(exe, L"picture.jpg");
    ASSERT_NE(mv.box, nullptr);
    const std::wstring text = mv.Outcome();
    const auto lower = At(text, L"canon"), first = At(text, L"Canon"), second = At(text, L"Canon", first.second);

    HWND dialog = mv.OpenFind();
    ASSERT_NE(dialog, nullptr) << "Ctrl+F opens the Find dialog";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), mv.window);
    FindNextFromDialog(dialog, L"Canon", true);
    EXPECT_TRUE(WaitUntil([&] { return mv.Selection() == first; }, 5000)) << "match case skips \"canon\"";
    gui::ClickButton(dialog, IDCANCEL);
    ASSERT_TRUE(gui::WaitForWindowGone(dialog));

    ASSERT_TRUE(mv.Foreground());
    gui::PressKey(mv.window, VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return mv.Selection() == second; }, 5000)) << "F3: the second match";
    ASSERT_TRUE(gui::SendKeyChord({VK_SHIFT, VK_F3}));
    EXPECT_TRUE(WaitUntil([&] { return mv.Selection() == first; }, 5000)) << "Shift+F3: back to the first";
    ASSERT_TRUE(gui::SendKeyChord({VK_SHIFT, VK_F3}));
    EXPECT_EQ(AnswerCannotFind(mv.id(), mv.window), L"Cannot find \"Canon\"") << "nothing before the first";
    EXPECT_EQ(mv.Selection(), first) << "the selection stays";

    // Without letter case the lower-case one counts too; a missing term is reported over the
    // dialog, and the selection stays where it was.
    dialog = mv.OpenFind();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(gui::WindowText(GetDlgItem(dialog, edt1)), L"Canon") << "the selection is the term";
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, chx2), BM_GETCHECK, 0, 0), BST_CHECKED) << "the options are kept";
    SendMessageW(mv.Box(), EM_SETSEL, 0, 0);
    FindNextFromDialog(dialog, L"CANON", false);
    EXPECT_TRUE(WaitUntil([&] { return mv.Selection() == lower; }, 5000));
    FindNextFromDialog(dialog, L"zebra", false);
    EXPECT_EQ(AnswerCannotFind(mv.id(), dialog), L"Cannot find \"zebra\"");
    EXPECT_EQ(mv.Selection(), lower);
    // Whole words: "Canon" inside "Canon EOS" is a word of its own, "Cano" is not.
    FindNextFromDialog(dialog, L"Cano", false, true);
    EXPECT_EQ(AnswerCannotFind(mv.id(), dialog), L"Cannot find \"Cano\"");
    gui::ClickButton(dialog, IDCANCEL);
    ASSERT_TRUE(gui::WaitForWindowGone(dialog));
    ASSERT_TRUE(mv.CloseWithEscape());
}

// While ExifTool still runs, the program waits in a loop of its own: the accelerators and the
// Find dialog's keys work there too, on the text shown meanwhile.
TEST(MetaviewFind, WorksWhileExifToolRuns) {
    Folder folder(L"findrun");
    const fs::path exe = PrivateCopy(folder, L"fake_exiftool.exe", "hang=1\n");
    Metaview mv(exe, L"picture.jpg");
    ASSERT_NE(mv.box, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return gui::WindowText(mv.box) == L"Running ExifTool..."; }));
    HWND dialog = mv.OpenFind();
    ASSERT_NE(dialog, nullptr) << "Ctrl+F during the run";
    HWND term = GetDlgItem(dialog, edt1);
    ASSERT_TRUE(WaitUntil([&] { return gui::FocusOf(dialog) == term; }, 5000));
    ASSERT_TRUE(gui::SendKeyChord({VK_TAB}));
    EXPECT_TRUE(WaitUntil([&] { return gui::FocusOf(dialog) != term && gui::FocusOf(dialog) != nullptr; }, 5000))
        << "Tab moves on in the dialog: its messages are routed";
    FindNextFromDialog(dialog, L"exiftool", false);
    EXPECT_TRUE(WaitUntil([&] { return mv.Selection() == std::pair<DWORD, DWORD>{8, 16}; }, 5000));
    ASSERT_TRUE(gui::SendKeyChord({VK_ESCAPE}));
    EXPECT_TRUE(gui::WaitForWindowGone(dialog, 5000)) << "Esc closes the dialog, not the window";

    gui::RequestClose(mv.window);
    HWND question = gui::WaitForWindow({std::nullopt, L"#32770", mv.id()});
    ASSERT_NE(question, nullptr);
    gui::ClickButton(question, IDYES);
    EXPECT_TRUE(mv.Ended(15000));
}

// A failure report is searched like a result.
TEST(MetaviewFind, OnAFailureReport) {
    Folder folder(L"findreport");
    const fs::path exe = PrivateCopy(folder, L"fake_exiftool.exe", "exit=7\nstderr=It broke\nnoresult=1\n");
    Metaview mv(exe, L"picture.jpg");
    ASSERT_NE(mv.box, nullptr);
    const std::wstring text = mv.Outcome();
    HWND dialog = mv.OpenFind();
    ASSERT_NE(dialog, nullptr);
    FindNextFromDialog(dialog, L"it broke", false);
    EXPECT_TRUE(WaitUntil([&] { return mv.Selection() == At(text, L"It broke"); }, 5000));
    gui::ClickButton(dialog, IDCANCEL);
    ASSERT_TRUE(gui::WaitForWindowGone(dialog));
    ASSERT_TRUE(mv.CloseWithEscape());
}

// File > Save with nothing stored: the dialog opens in the viewed file's folder, and a name
// typed without an extension gets .txt (the "Text files" choice).
TEST(MetaviewSave, FirstInTheFileFolderAndTxtAppended) {
    ForgetSettings();
    Folder folder(L"savefirst");
    const fs::path exe = PrivateCopy(folder, L"fake_exiftool.exe", "exit=2\nstdout=Saved text\n");
    const fs::path pictures = folder.path / L"pictures";
    fs::create_directories(pictures);
    Metaview mv(exe, L"\"" + (pictures / L"picture.jpg").wstring() + L"\"");
    ASSERT_NE(mv.box, nullptr);
    mv.Outcome();
    ASSERT_TRUE(mv.SaveAs(L"tags", pictures / L"tags.txt"));
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(pictures)) names.push_back(entry.path().filename().wstring());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(_wcsicmp(names[0].c_str(), L"tags.txt"), 0) << Utf8(names[0]);
    EXPECT_EQ(ReadBytes(pictures / L"tags.txt"), "\xEF\xBB\xBFSaved text");
    EXPECT_EQ(_wcsicmp(StoredText(L"OFN Paths", L"Last open TXT directory").c_str(), pictures.c_str()), 0);
    // A name with an extension of its own keeps it.
    ASSERT_TRUE(mv.SaveAs(L"tags.log", pictures / L"tags.log"));
    EXPECT_FALSE(fs::exists(pictures / L"tags.log.txt"));
    ASSERT_TRUE(mv.CloseWithEscape());
    ForgetSettings();
}

// Ctrl+A typed into the foreground window.
bool TypeCtrlA() {
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, 'A', 'A', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    return SendInput(4, keys, sizeof(INPUT)) == 4;
}

TEST(MetaviewSelectAll, CtrlASelectsTheWholeText) {
    Folder folder(L"selectall");
    const fs::path exe = PrivateCopy(folder, L"fake_exiftool.exe", "exit=1\nstdout=Line one\\nLine two\n");
    Metaview mv(exe, L"picture.jpg");
    ASSERT_NE(mv.box, nullptr);
    const std::wstring text = mv.Outcome();
    SetForegroundWindow(mv.window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mv.window; }, 5000));
    ASSERT_TRUE(TypeCtrlA());
    DWORD start = 1, end = 0;
    EXPECT_TRUE(WaitUntil([&] {
        SendMessageW(mv.box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start == 0 && end == text.size();
    }, 5000)) << start << ".." << end << " of " << text.size();
    EXPECT_EQ(gui::WindowText(mv.box), text) << "the control character must not reach the box";
    ASSERT_TRUE(mv.CloseWithEscape());
}

TEST(MetaviewLargeListing, WrappedOnTheScreenSavedAndCopiedExactlyAsExifToolWroteIt) {
    // A tag listing with a 30,000-character value, as ExifTool lists a long comment.
    std::wstring comment;
    for (int i = 0; comment.size() < 30000; ++i) comment += L"word" + std::to_wstring(i) + L" ";
    const std::wstring text = L"---- ExifTool ----\r\nExifTool Version Number         : 13.00\r\n---- File ----\r\n"
                              L"Comment                         : " + comment + L"\r\nFile Type                       : JPEG";
    std::wstring escaped = text;
    for (size_t p; (p = escaped.find(L"\r\n")) != std::wstring::npos;) escaped.replace(p, 2, L"\\n");
    Folder folder(L"large");
    const fs::path exe = PrivateCopy(folder, L"fake_exiftool.exe", "result=" + Utf8(escaped) + "\n");
    Metaview mv(exe, L"picture.jpg");
    ASSERT_NE(mv.box, nullptr);
    EXPECT_EQ(mv.Outcome(), text);
    HWND box = mv.Box();
    wchar_t className[64] = {};
    GetClassNameW(box, className, 64);
    EXPECT_STREQ(className, metaview::ListingView::kClassName);

    // Every line on the screen fits the box.
    RECT client{};
    GetClientRect(box, &client);
    const LRESULT lines = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(lines, 5 + 30000 / std::max<LONG>(client.right / 4, 1)) << "the long line is wrapped";
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    for (LRESULT line = 0; line < lines; ++line) {
        const LRESULT start = SendMessageW(box, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
        const LRESULT length = SendMessageW(box, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        std::wstring shown = text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
        while (!shown.empty() && shown.back() == L' ') shown.pop_back();  // a blank may hang at the edge
        SIZE size{};
        GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
        EXPECT_LE(size.cx, client.right) << "line " << line;
    }
    SelectObject(dc, old);
    ReleaseDC(box, dc);

    // Ctrl+A and copy take the listing as it came.
    SetForegroundWindow(mv.window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mv.window; }, 5000));
    ASSERT_TRUE(TypeCtrlA());
    DWORD start = 1, end = 0;
    EXPECT_TRUE(WaitUntil([&] {
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start == 0 && end == text.size();
    }, 5000)) << start << ".." << end << " of " << text.size();
    SendMessageW(box, WM_COPY, 0, 0);
    EXPECT_EQ(gui::ClipboardText(), text);

    // Find selects the match far down and scrolls it into sight.
    SendMessageW(box, EM_SETSEL, 0, 0);
    SendMessageW(box, WM_VSCROLL, SB_TOP, 0);
    HWND find = mv.OpenFind();
    ASSERT_NE(find, nullptr);
    FindNextFromDialog(find, L"file type", false);
    EXPECT_TRUE(WaitUntil([&] { return mv.Selection() == At(text, L"File Type"); }, 5000));
    const LRESULT matchLine = SendMessageW(box, EM_LINEFROMCHAR, At(text, L"File Type").first, 0);
    const LRESULT top = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_GT(top, 0);
    EXPECT_LE(top, matchLine);
    EXPECT_LT(matchLine, top + client.bottom / 8) << "the match is in sight";
    gui::ClickButton(find, IDCANCEL);
    ASSERT_TRUE(gui::WaitForWindowGone(find));

    // A narrower window wraps again; the text stays as it is, and Save writes it.
    RECT outer{};
    GetWindowRect(mv.window, &outer);
    SetWindowPos(mv.window, nullptr, 0, 0, (outer.right - outer.left) / 2, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(box, EM_GETLINECOUNT, 0, 0) > lines * 3 / 2; }, 5000));
    EXPECT_EQ(gui::WindowText(box), text);
    const fs::path out = folder.path / L"listing.txt";
    ASSERT_TRUE(mv.Save(out));
    EXPECT_EQ(ReadBytes(out), "\xEF\xBB\xBF" + Utf8(text));
    ASSERT_TRUE(mv.CloseWithEscape());
}

// The window's outer rectangle is `expected`: the placement of an earlier run came back.
void ExpectWindowAt(HWND window, const RECT& expected) {
    RECT now{};
    GetWindowRect(window, &now);
    EXPECT_EQ(now.left, expected.left);
    EXPECT_EQ(now.top, expected.top);
    EXPECT_EQ(now.right, expected.right);
    EXPECT_EQ(now.bottom, expected.bottom);
}

// Settings: stored colours at start, the dialog's Ok, the ExifTool options at the next start,
// and the placement after a restart.
TEST(MetaviewSettings, AppliedNowOrAtTheNextStartAndPlacementKept) {
    ForgetSettings();
    Folder folder(L"settings");
    const fs::path exe = PrivateCopy(folder, L"fake_exiftool.exe", "exit=2\n");
    RECT moved{};
    {
        Metaview mv(exe, L"picture.jpg");
        ASSERT_NE(mv.box, nullptr);
        EXPECT_NE(mv.Outcome().find(L"-lang \"en\""), std::wstring::npos);

        gui::SendMenuCommand(mv.window, menu::kSettings);
        HWND dialog = gui::WaitForWindow({L"Settings", L"#32770", mv.id()});
        ASSERT_NE(dialog, nullptr);
        HWND language = GetDlgItem(dialog, 1001);
        SendMessageW(language, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"de"));
        const COLORREF pendingBack = static_cast<COLORREF>(GetWindowLongPtrW(GetDlgItem(dialog, 1006), GWLP_USERDATA));
        gui::ClickButton(dialog, IDOK);
        ASSERT_TRUE(gui::WaitForWindowGone(dialog));
        EXPECT_EQ(StoredText(L"ExifTool Params", L"Text Language"), L"de");
        EXPECT_EQ(pendingBack, 0x4000u);

        // The box is painted in the stored background colour: a pixel near its lower right
        // corner, away from the text.
        RECT client{};
        GetClientRect(mv.box, &client);
        POINT p{client.right - 6, client.bottom - 6};
        ClientToScreen(mv.box, &p);
        const COLORREF pixel = GetPixel(support::GetWindowDC(nullptr).get().dc, p.x, p.y);
        EXPECT_EQ(pixel, pendingBack);

        SetWindowPos(mv.window, nullptr, 40, 50, 500, 360, SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(mv.window, &moved);
        ASSERT_TRUE(mv.CloseWithEscape());
    }
    Metaview again(exe, L"picture.jpg");
    ASSERT_NE(again.box, nullptr);
    EXPECT_NE(again.Outcome().find(L"-lang \"de\""), std::wstring::npos);
    ExpectWindowAt(again.window, moved);
    ASSERT_TRUE(again.CloseWithEscape());
    ForgetSettings();
}

// Logging off: the window is told that the session ends and may then be ended without being
// closed; the placement and the settings are written at that point.
TEST(MetaviewSettings, SessionEndWritesPlacementAndSettings) {
    ForgetSettings();
    Folder folder(L"session");
    const fs::path exe = PrivateCopy(folder, L"fake_exiftool.exe", "exit=2\n");
    RECT moved{};
    {
        Metaview mv(exe, L"picture.jpg");
        ASSERT_NE(mv.box, nullptr);
        mv.Outcome();
        SetWindowPos(mv.window, nullptr, 60, 70, 520, 380, SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(mv.window, &moved);
        EXPECT_TRUE(SendMessageW(mv.window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        SendMessageW(mv.window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_EQ(StoredText(L"ExifTool Params", L"Text Language"), L"en");
    }  // ended without being closed
    Metaview again(exe, L"picture.jpg");
    ASSERT_NE(again.box, nullptr);
    ExpectWindowAt(again.window, moved);
    again.Outcome();  // Esc closes only once the run is over
    ASSERT_TRUE(again.CloseWithEscape());
    ForgetSettings();
}

bool ItemEnabled(HMENU menu, UINT id) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE;
    return GetMenuItemInfoW(menu, id, FALSE, &item) && !(item.fState & MFS_DISABLED);
}

std::wstring ItemText(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    return text;
}

// The window inside this process (menus cannot be read from another process under Wine), with
// the real ExifTool beside this test program.
TEST(MetaviewMenus, ItemsAreEnabledOnlyAfterTheRun) {
    support::ComApartment apartment;
    metaview::Program program;
    const std::wstring exe = BinFile(L"Metaview.exe");
    program.identity = *metaview::ReadAppIdentity(exe);
    program.identity.exeName = L"MetaviewMenuTest";  // settings of its own
    program.commandLineFileName = (fs::path(BK_SAMPLES_DIR) / L"rose.jpg").wstring();
    auto window = MainWindow::Create(program);
    ASSERT_TRUE(window);
    HMENU bar = GetMenu(window->hwnd());
    ASSERT_EQ(GetMenuItemCount(bar), 5);
    EXPECT_EQ(ItemText(bar, 0), L"File");
    EXPECT_EQ(ItemText(bar, 1), L"Edit");
    EXPECT_EQ(ItemText(bar, 2), L"Tools");
    EXPECT_EQ(ItemText(bar, 3), L"v.1.1.17 x86");
    EXPECT_EQ(ItemText(bar, 4), L"Help");
    // The version item and Help sit at the right end: the flag is on the version item only.
    for (UINT position = 0; position < 5; ++position) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoW(bar, position, TRUE, &item));
        EXPECT_EQ((item.fType & MFT_RIGHTJUSTIFY) != 0, position == 3) << position;
    }
    HMENU edit = GetSubMenu(bar, 1);
    EXPECT_EQ(ItemText(edit, 0), L"Copy\tCtrl+C");
    EXPECT_EQ(ItemText(edit, 1), L"Select All\tCtrl+A");
    EXPECT_EQ(ItemText(edit, 3), L"Find...\tCtrl+F");
    EXPECT_EQ(ItemText(edit, 4), L"Find Next\tF3");
    EXPECT_EQ(ItemText(edit, 5), L"Find Previous\tShift+F3");
    EXPECT_EQ(ItemText(GetSubMenu(bar, 0), 0), L"Save output text as...\tF2");
    EXPECT_EQ(ItemText(GetSubMenu(bar, 0), 2), L"Exit\tCtrl+Q");
    EXPECT_EQ(ItemText(GetSubMenu(bar, 4), 2), L"About...\tShift+F1");
    EXPECT_FALSE(ItemEnabled(bar, menu::kSave));
    EXPECT_FALSE(ItemEnabled(bar, menu::kSettings));
    EXPECT_FALSE(ItemEnabled(bar, menu::kVersion));
    EXPECT_TRUE(ItemEnabled(bar, menu::kExit));
    EXPECT_TRUE(ItemEnabled(bar, menu::kHelpContents));
    EXPECT_EQ(gui::WindowText(window->hwnd()), L"rose.jpg \u2013 Metaview");

    window->Show(SW_SHOWNOACTIVATE);
    const bool finished = WaitUntil([&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return ItemEnabled(bar, menu::kSave);
    }, kRunTimeoutMs);
    ASSERT_TRUE(finished);
    EXPECT_TRUE(ItemEnabled(bar, menu::kSettings));
    EXPECT_FALSE(ItemEnabled(bar, menu::kVersion));
    HWND box = FindWindowExW(window->hwnd(), nullptr, L"Edit", nullptr);
    EXPECT_NE(gui::WindowText(box).find(L"GPS Latitude"), std::wstring::npos);
    // Edit > Copy is offered with a selection only; Select All selects the whole text.
    SendMessageW(box, EM_SETSEL, 0, 0);
    SendMessageW(window->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
    EXPECT_FALSE(ItemEnabled(edit, menu::kCopy));
    EXPECT_TRUE(ItemEnabled(edit, menu::kSelectAll));
    SendMessageW(window->hwnd(), WM_COMMAND, menu::kSelectAll, 0);
    DWORD start = 1, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(box)));
    SendMessageW(window->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
    EXPECT_TRUE(ItemEnabled(edit, menu::kCopy));
    // Help > Contents: this test program has no help document beside it, so nothing opens
    // and nothing fails. Help > About... shows the library's modal About box.
    SendMessageW(window->hwnd(), WM_COMMAND, menu::kHelpContents, 0);
    abouttest::WithAbout(
        [&] {
            SendMessageW(window->hwnd(), WM_COMMAND, menu::kAbout, 0);
            return S_OK;
        },
        [](abouttest::AboutWindow& about) {
            EXPECT_EQ(about.Text(0, abouttest::ctl::kVersion), L"1.01.0017");
        });

    DestroyWindow(window->hwnd());
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    window.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvex\\MetaviewMenuTest");
}

// An HDROP as the shell hands it over: a DROPFILES header and the wide names, each ended by a
// null, the list by one more. It belongs to the window it is sent to (DragFinish frees it).
HDROP MakeDrop(const std::vector<std::wstring>& files) {
    std::wstring names;
    for (const auto& f : files) names.append(f).push_back(L'\0');
    names.push_back(L'\0');
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    if (!block) return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

// Main windows of Metaview in other processes than this one.
std::vector<HWND> OtherMetaviews() {
    std::vector<HWND> found;
    for (HWND w : gui::FindWindows({std::nullopt, MainWindow::kClassName, 0})) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process != GetCurrentProcessId()) found.push_back(w);
    }
    return found;
}

// Closes a started Metaview once its run is over and waits until its process has ended.
void CloseStarted(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HWND box = GetDlgItem(window, MainWindow::kTextBoxId);
    WaitUntil([&] { return gui::WindowText(box).find(L"ExifTool has failed") != std::wstring::npos; }, kRunTimeoutMs);
    gui::RequestClose(window);
    EXPECT_TRUE(gui::WaitForProcessExit(process)) << Utf8(gui::WindowText(window));
}

void DispatchPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// A drop on the window: the window is hosted in this process, since a drop handle is memory
// of the process that receives it (one made by another process would not be valid there).
// Each file starts Metaview.exe of the build for that file.
TEST(MetaviewDrop, EachDroppedFileStartsAMetaviewOfItsOwn) {
    ForgetSettings();
    support::ComApartment apartment;
    Folder pictures(L"drop");
    metaview::Program program;
    program.identity = *metaview::ReadAppIdentity(BinFile(L"Metaview.exe"));
    program.identity.exeName = L"MetaviewDropTest";
    program.commandLineFileName = (pictures.path / L"shown.jpg").wstring();
    program.instanceExe = BinFile(L"Metaview.exe");
    auto window = MainWindow::Create(program);
    ASSERT_TRUE(window);
    EXPECT_TRUE(GetWindowLongPtrW(window->hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    ASSERT_TRUE(OtherMetaviews().empty()) << "another Metaview is still open";

    const auto expectStarted = [&](std::vector<std::wstring> names) {
        std::vector<std::wstring> files;
        for (const auto& n : names) files.push_back((pictures.path / n).wstring());
        SendMessageW(window->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
        std::vector<std::wstring> captions;
        for (auto& n : names) n += L" \u2013 Metaview";
        std::sort(names.begin(), names.end());
        EXPECT_TRUE(WaitUntil([&] {
            DispatchPending();
            captions.clear();
            for (HWND w : OtherMetaviews()) captions.push_back(gui::WindowText(w));
            std::sort(captions.begin(), captions.end());
            return captions == names;
        })) << captions.size() << " windows";
        for (HWND w : OtherMetaviews()) CloseStarted(w);
    };
    expectStarted({L"one.jpg"});
    expectStarted({L"two.jpg", L"three with blanks.jpg"});

    // Beyond the bound the user is asked first; No starts nothing.
    std::vector<std::wstring> many;
    for (size_t i = 0; i <= metaview::kDropWithoutAsking; ++i)
        many.push_back((pictures.path / (L"many" + std::to_wstring(i) + L".jpg")).wstring());
    std::wstring question;
    std::thread answer([&] {
        HWND box = gui::WaitForWindow({std::nullopt, L"#32770", GetCurrentProcessId()}, 10000);
        if (!box) return;
        question = gui::MessageBoxText(box);
        gui::ClickButton(box, IDNO);
    });
    SendMessageW(window->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(many)), 0);
    answer.join();
    EXPECT_EQ(question, metaview::ManyFilesQuestion(many.size()));
    Sleep(1500);
    EXPECT_TRUE(OtherMetaviews().empty()) << "No starts nothing";

    DestroyWindow(window->hwnd());
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    window.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvex\\MetaviewDropTest");
    ForgetSettings();
}

// Pictures of Metaview for the README (BK_SCREENSHOT_DIR names their folder; scripts/screenshots.sh).
void SaveShot(HWND window, const wchar_t* name) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Sleep(500);
    EXPECT_TRUE(bktest::SaveWindowPng(window, bktest::ScreenshotFolder() + L"\\" + name + L".png")) << Utf8(name);
}

TEST(MetaviewScreenshots, ListingFailureReportAndSettings) {
    if (bktest::ScreenshotFolder().empty()) GTEST_SKIP() << "BK_SCREENSHOT_DIR names the folder for the pictures";
    ForgetSettings();
    Folder pictures(L"shots");
    fs::copy_file(fs::path(BK_SAMPLES_DIR) / L"rose.jpg", pictures.path / L"IMG_0412.jpg");
    {
        Metaview mv(BinFile(L"Metaview.exe"), L"\"" + (pictures.path / L"IMG_0412.jpg").wstring() + L"\"");
        ASSERT_NE(mv.box, nullptr);
        SetWindowPos(mv.window, nullptr, 40, 40, 720, 560, SWP_NOZORDER);
        mv.Outcome();
        SaveShot(mv.window, L"metaview-listing");
        gui::SendMenuCommand(mv.window, menu::kSettings);
        HWND dialog = gui::WaitForWindow({L"Settings", L"#32770", mv.id()});
        ASSERT_NE(dialog, nullptr);
        SaveShot(dialog, L"metaview-settings");
        gui::ClickButton(dialog, IDCANCEL);
        ASSERT_TRUE(gui::WaitForWindowGone(dialog));
        ASSERT_TRUE(mv.CloseWithEscape());
    }
    // ExifTool's own report on a file that is not there.
    Metaview mv(BinFile(L"Metaview.exe"), L"\"" + (pictures.path / L"IMG_0413.jpg").wstring() + L"\"");
    ASSERT_NE(mv.box, nullptr);
    SetWindowPos(mv.window, nullptr, 40, 40, 720, 420, SWP_NOZORDER);
    mv.Outcome();
    SaveShot(mv.window, L"metaview-failure");
    ASSERT_TRUE(mv.CloseWithEscape());
    ForgetSettings();
}

}  // namespace
