// What the About dialog hands to the shell, checked for real: the recording program of the
// tests stands for the mail program and the system information program.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/harness/library.h"
#include "tests/harness/shell_records.h"
#include "tests/lib/about/about_driver.h"

using namespace bktest;
using namespace abouttest;

namespace {

constexpr int kMain = 0;
constexpr wchar_t kMsInfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kMsInfoFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

HRESULT ShowWithEMail(const wchar_t* email) {
    auto main = Create<_orxMain>(CLSID_orxMain);
    if (!main) return E_FAIL;
    const Bstr title(L"Shell test"), author(L"A"), mail(email), devote(L"D"), none(L""), tip(L"Lumen");
    return main->ShowAboutBoxEx(title.get(), nullptr, nullptr, 1, 2, 3, author.get(), mail.get(), devote.get(),
                                none.get(), nullptr, tip.get());
}

// A message box of this process other than the About dialog; null after the timeout.
HWND WaitForMessageBox(HWND dialog, DWORD timeoutMs = 10000) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            gui::WindowQuery q;
            q.className = L"#32770";
            q.processId = GetCurrentProcessId();
            for (HWND w : gui::FindWindows(q))
                if (w != dialog) found = w;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

TEST(AboutShell, EMailClickOpensAMailto) {
    ShellRecording recording;
    ProtocolAssociation mailto(L"mailto");
    WithAbout([] { return ShowWithEMail(L"someone@example.org"); },
              [&](AboutWindow& about) {
                  about.Click(kMain, ctl::kEMail, STN_CLICKED);
                  const std::wstring lines = recording.Lines(10000);
                  EXPECT_NE(std::wstring::npos, lines.find(L"mailto:someone@example.org"))
                      << std::string(lines.begin(), lines.end());
                  // The caption is a click target only for the address itself.
                  about.Click(kMain, ctl::kEMailCaption, STN_CLICKED);
                  Sleep(500);
                  EXPECT_EQ(lines, recording.Lines());
              });
}

TEST(AboutShell, SystemInfoStartsTheProgramTheRegistryNames) {
    ShellRecording recording;
    const std::wstring recorder = ShellRecording::Recorder();
    {
        RegistryValueScope path(HKEY_LOCAL_MACHINE, kMsInfoKey, L"PATH", recorder.c_str());
        WithAbout([] { return ShowWithEMail(L""); },
                  [&](AboutWindow& about) {
                      gui::ClickButton(about.hwnd(), ctl::kSysInfo);
                      const std::wstring lines = recording.Lines(10000);
                      EXPECT_NE(std::wstring::npos, lines.find(L"record_args.exe"))
                          << std::string(lines.begin(), lines.end());
                      EXPECT_EQ(nullptr, WaitForMessageBox(about.hwnd(), 500)) << "no warning";
                  });
    }
    // Without PATH: the folder of "Shared Tools Location" with MSINFO32.EXE in it.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"bk_msinfo_test";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(recorder, folder / L"MSINFO32.EXE", std::filesystem::copy_options::overwrite_existing);
    {
        RegistryValueScope path(HKEY_LOCAL_MACHINE, kMsInfoKey, L"PATH", nullptr);
        RegistryValueScope location(HKEY_LOCAL_MACHINE, kMsInfoFolderKey, L"MSINFO", folder.wstring().c_str());
        WithAbout([] { return ShowWithEMail(L""); },
                  [&](AboutWindow& about) {
                      const std::wstring before = recording.Lines();
                      gui::ClickButton(about.hwnd(), ctl::kSysInfo);
                      EXPECT_TRUE(WaitUntil([&] { return recording.Lines() != before; }));
                      EXPECT_NE(std::wstring::npos, recording.Lines().find(L"MSINFO32.EXE"));
                  });
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

TEST(AboutShell, SystemInfoWithoutRegistryValuesWarns) {
    ShellRecording recording;
    RegistryValueScope path(HKEY_LOCAL_MACHINE, kMsInfoKey, L"PATH", nullptr);
    RegistryValueScope location(HKEY_LOCAL_MACHINE, kMsInfoFolderKey, L"MSINFO", nullptr);
    WithAbout([] { return ShowWithEMail(L""); },
              [&](AboutWindow& about) {
                  gui::ClickButton(about.hwnd(), ctl::kSysInfo);
                  HWND box = WaitForMessageBox(about.hwnd());
                  ASSERT_TRUE(box);
                  EXPECT_EQ(L"Информация о системе почему-то не доступна.", gui::MessageBoxText(box));
                  gui::ClickButton(box, IDOK);
                  EXPECT_TRUE(gui::WaitForWindowGone(box, 5000));
                  EXPECT_TRUE(recording.Lines().empty()) << "nothing was started";
                  EXPECT_TRUE(IsWindow(about.hwnd()));
              });
}

}  // namespace
