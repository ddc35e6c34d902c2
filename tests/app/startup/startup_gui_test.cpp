// Metaview started as a program and driven through its windows: the usage box, the main
// window, the start-up error box, and the path registration.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/mainwindow/mainwindow.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "tests/harness/guidriver.h"
#include "tests/harness/library.h"

namespace {

namespace gui = bktest::gui;
using bktest::BinFile;
using bktest::BinFolder;

constexpr wchar_t kTitle[] = L"Orvex - Metaview";
constexpr wchar_t kBoxClass[] = L"#32770";

std::wstring ExpectedUsage() {
    const bool russian = GetUserDefaultUILanguage() == 1049;
    return std::wstring(L"Orvex - Metaview 1.01.0017\r\n") +
           (russian ? L"А. Ковалев 2008-2026. Посвящается Lumen" : L"A. Kovalev 2008-2026. Dedicated to Lumen") +
           L"\r\n\r\nUsage: Metaview[.EXE] FileName";
}

gui::Process StartMetaview(const std::wstring& arguments, const std::wstring& exe = BinFile(L"Metaview.exe")) {
    gui::Process p = gui::Process::Start(exe, arguments);
    EXPECT_TRUE(p.started()) << "CreateProcess failed: " << GetLastError();
    return p;
}

HWND WaitForBox(const gui::Process& p) {
    return gui::WaitForWindow({kTitle, kBoxClass, p.id()});
}

bool HasMainWindow(const gui::Process& p) {
    return !gui::FindWindows({std::nullopt, metaview::MainWindow::kClassName, p.id(), false}).empty();
}

bool HasIcon(HWND box) {
    for (const auto& c : gui::ListControls(box))
        if ((GetWindowLongPtrW(c.handle, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            SendMessageW(c.handle, STM_GETICON, 0, 0) != 0)
            return true;
    return false;
}

// Usage box for a command line that does not name exactly one file; the program ends when the
// box is closed, with no main window at any time.
void ExpectUsage(const std::wstring& arguments, bool closeWithEscape) {
    gui::Process metaview = StartMetaview(arguments);
    HWND box = WaitForBox(metaview);
    ASSERT_NE(box, nullptr) << "no usage box";
    EXPECT_EQ(gui::MessageBoxText(box), ExpectedUsage());
    EXPECT_TRUE(HasIcon(box));
    EXPECT_FALSE(HasMainWindow(metaview));
    EXPECT_FALSE(metaview.WaitForExit(200)) << "the program must wait for the box";
    if (closeWithEscape)
        EXPECT_TRUE(gui::PressKey(box, VK_ESCAPE));
    else
        EXPECT_TRUE(gui::ClickButton(box, IDOK));
    ASSERT_TRUE(metaview.WaitForExit());
    EXPECT_EQ(metaview.ExitCode(), 0u);
}

TEST(MetaviewStartup, NoArgumentShowsUsage) { ExpectUsage(L"", false); }

TEST(MetaviewStartup, TwoArgumentsShowUsageWithoutJoiningThem) {
    ExpectUsage(L"C:\\My Pictures\\IMG_0001.JPG", true);  // a name with a blank, not quoted
    ExpectUsage(L"a.jpg b.jpg", false);
}

TEST(MetaviewStartup, OneArgumentOpensTheWindowEvenForAMissingFile) {
    const struct {
        const wchar_t* arguments;
        const wchar_t* caption;
    } cases[] = {
        {L"\"C:\\No such folder\\IMG 0001.JPG\"", L"IMG 0001.JPG \u2013 Metaview"},
        {L"IMG_0001.JPG", L"IMG_0001.JPG \u2013 Metaview"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "arguments: " << testing::PrintToString(std::wstring(c.arguments)));
        gui::Process metaview = StartMetaview(c.arguments);
        HWND window = gui::WaitForWindow({std::nullopt, metaview::MainWindow::kClassName, metaview.id()});
        ASSERT_NE(window, nullptr) << "no main window";
        EXPECT_EQ(gui::WindowText(window), c.caption);
        EXPECT_TRUE(gui::FindWindows({std::nullopt, kBoxClass, metaview.id()}).empty());
        const auto controls = gui::ListControls(window);
        ASSERT_EQ(controls.size(), 1u);
        EXPECT_EQ(controls[0].className, L"Edit");
        EXPECT_FALSE(metaview.WaitForExit(200)) << "the program must live in the window's loop";
        // The window refuses to close while ExifTool runs: close it once the run has shown
        // its outcome.
        for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(50)) {
            const std::wstring text = gui::WindowText(controls[0].handle);
            if (!text.empty() && text != L"Running ExifTool..." && text != L"Parsing result data...") break;
        }
        EXPECT_TRUE(gui::RequestClose(window));
        ASSERT_TRUE(metaview.WaitForExit());
        EXPECT_EQ(metaview.ExitCode(), 0u);
    }
}

TEST(MetaviewStartup, RegistersItsPathForTheShell) {
    gui::Process metaview = StartMetaview(L"");
    HWND box = WaitForBox(metaview);
    ASSERT_NE(box, nullptr);
    gui::RequestClose(box);
    ASSERT_TRUE(metaview.WaitForExit());

    support::RegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Metaview.exe",
                            0, KEY_QUERY_VALUE, key.put()),
              ERROR_SUCCESS);
    auto read = [&](const wchar_t* name) {
        wchar_t value[MAX_PATH * 2] = {};
        DWORD size = sizeof(value) - sizeof(wchar_t);
        RegQueryValueExW(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
        return std::wstring(value);
    };
    EXPECT_EQ(_wcsicmp(read(nullptr).c_str(), BinFile(L"Metaview.exe").c_str()), 0) << "default value";
    EXPECT_EQ(_wcsicmp(read(L"Path").c_str(), BinFolder().c_str()), 0) << "Path";
}

// A folder that is removed with everything in it when the test ends.
struct TempFolder {
    TempFolder() {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        path = std::filesystem::path(base) / (L"metaview-test-" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

TEST(MetaviewStartup, MissingLibraryEndsTheStartWithAnErrorBox) {
    TempFolder folder;
    const auto exe = folder.path / L"Metaview.exe";
    std::filesystem::copy_file(BinFile(L"Metaview.exe"), exe);  // no Basekit0308.dll beside it

    gui::Process metaview = StartMetaview(L"IMG_0001.JPG", exe.wstring());
    HWND box = WaitForBox(metaview);
    ASSERT_NE(box, nullptr) << "no error box";
    const std::wstring text = gui::MessageBoxText(box);
    EXPECT_EQ(text.rfind(L"Run-time error '", 0), 0u) << testing::PrintToString(text);
    EXPECT_NE(text.find(L"Can't create the library object orxMain."), std::wstring::npos);
    EXPECT_FALSE(HasMainWindow(metaview));
    EXPECT_TRUE(gui::ClickButton(box, IDOK));
    ASSERT_TRUE(metaview.WaitForExit());
    EXPECT_EQ(metaview.ExitCode(), 1u);
}

// The driver as a program: reads the usage box of Metaview and closes it.
TEST(GuiDriverProgram, ReadsAndClosesAMessageBox) {
    gui::Process metaview = StartMetaview(L"");
    ASSERT_NE(WaitForBox(metaview), nullptr);

    TempFolder folder;
    const auto outputFile = folder.path / L"out.txt";
    {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        support::UniqueHandle output(CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                                 CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(output.valid());
        gui::Process driver = gui::Process::Start(
            BinFile(L"guidriver.exe"), L"msgtext --class #32770 --pid " + std::to_wstring(metaview.id()), output.get());
        ASSERT_TRUE(driver.WaitForExit());
        EXPECT_EQ(driver.ExitCode(), 0u);
    }
    std::ifstream in(outputFile, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string utf8 = bytes.str();
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                        text.data(), static_cast<int>(text.size()))));
    EXPECT_EQ(text, ExpectedUsage() + L"\n");

    gui::Process click = gui::Process::Start(
        BinFile(L"guidriver.exe"), L"click --class #32770 --pid " + std::to_wstring(metaview.id()) + L" #1");  // IDOK
    ASSERT_TRUE(click.WaitForExit());
    EXPECT_EQ(click.ExitCode(), 0u);
    gui::Process wait = gui::Process::Start(BinFile(L"guidriver.exe"), L"waitexit " + std::to_wstring(metaview.id()));
    ASSERT_TRUE(wait.WaitForExit());
    EXPECT_EQ(wait.ExitCode(), 0u);
    EXPECT_TRUE(metaview.WaitForExit(0));
}

}  // namespace
