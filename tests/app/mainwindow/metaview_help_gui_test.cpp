// Metaview's help commands for real: F1 and Help > Contents... open the help document through
// the shell (the recording program of the tests stands for the browser), Shift+F1 and
// Help > About... show the library's About box with Metaview's title and version, Ctrl+F1
// does nothing, and the About box also opens while ExifTool is still running.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/mainwindow/mainwindow.h"
#include "app/mainwindow/mainwindow_logic.h"
#include "support/win/owner.h"
#include "tests/harness/guidriver.h"
#include "tests/harness/library.h"
#include "tests/harness/shell_records.h"
#include "tests/lib/about/about_driver.h"

namespace {

namespace fs = std::filesystem;
namespace gui = bktest::gui;
namespace menu = metaview::menu;
using abouttest::AboutWindow;
using abouttest::WaitUntil;
using bktest::BinFile;

// Metaview with its library, help document and the ExifTool stand-in in a folder of its own;
// `config` goes into the stand-in's fake-exiftool.txt.
class HelpFixture : public testing::Test {
protected:
    void Start(const std::string& config) {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        folder_ = fs::path(base) / (L"mv-help-" + std::to_wstring(GetCurrentProcessId()));
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        fs::create_directories(folder_);
        for (const wchar_t* name : {L"Metaview.exe", L"Basekit0308.dll", L"Metaview.html"})
            fs::copy_file(BinFile(name), folder_ / name);
        fs::copy_file(BinFile(L"fake_exiftool.exe"), folder_ / L"exiftool.exe");
        std::ofstream(folder_ / L"fake-exiftool.txt", std::ios::binary) << config;
        process_ = gui::Process::Start((folder_ / L"Metaview.exe").wstring(), L"picture.jpg");
        window_ = gui::WaitForWindow({std::nullopt, metaview::MainWindow::kClassName, process_.id()});
    }
    void TearDown() override {
        if (process_.started() && process_.ExitCode() == STILL_ACTIVE) TerminateProcess(process_.handle(), 1);
        process_.WaitForExit(5000);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    HWND Box() const { return GetDlgItem(window_, metaview::MainWindow::kTextBoxId); }
    bool RunFinished() const {
        return WaitUntil([&] {
            const std::wstring text = gui::WindowText(Box());
            return !text.empty() && text != L"Running ExifTool..." && text != L"Parsing result data...";
        }, 60000);
    }
    // A key with modifiers typed for real into Metaview's focused window.
    void TypeKey(UINT key, bool shift, bool ctrl) {
        SetForegroundWindow(window_);
        WaitUntil([&] { return GetForegroundWindow() == window_; }, 3000);
        std::vector<INPUT> inputs;
        auto add = [&](WORD vk, bool up) {
            INPUT i{};
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = vk;
            i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(i);
        };
        if (shift) add(VK_SHIFT, false);
        if (ctrl) add(VK_CONTROL, false);
        add(static_cast<WORD>(key), false);
        add(static_cast<WORD>(key), true);
        if (ctrl) add(VK_CONTROL, true);
        if (shift) add(VK_SHIFT, true);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
    // The About box of Metaview: title, version and icon, then closed.
    void ExpectAboutBox(const char* how) {
        AboutWindow about(process_.id(), 20000);
        ASSERT_TRUE(about) << how;
        EXPECT_EQ(L"Orvex - Metaview", about.Text(0, abouttest::ctl::kTitle)) << how;
        EXPECT_EQ(L"1.01.0017", about.Text(0, abouttest::ctl::kVersion)) << how << ": version 1.1.17";
        // (Its window icon is not checked here: Wine answers WM_GETICON from another process
        // with 0. lib_about_gui_test checks that a form's icons become the box's.)
        EXPECT_FALSE(abouttest::OwnVisible(about.Page(1))) << how << ": no description";
        EXPECT_FALSE(IsWindowEnabled(window_)) << how << ": modal";
        EXPECT_TRUE(about.Close()) << how;
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(window_) != FALSE; }, 5000));
    }

    fs::path folder_;
    gui::Process process_;
    HWND window_ = nullptr;
};

TEST_F(HelpFixture, AboutBoxByKeyAndMenuAlsoWhileExifToolRuns) {
    Start("hang=1\n");
    ASSERT_TRUE(window_);
    ASSERT_TRUE(WaitUntil([&] { return gui::WindowText(Box()) == L"Running ExifTool..."; }));
    gui::SendMenuCommand(window_, menu::kAbout);
    ExpectAboutBox("Help > About... during the run");
    EXPECT_EQ(L"Running ExifTool...", gui::WindowText(Box())) << "the run goes on";
    TypeKey(VK_F1, true, false);
    ExpectAboutBox("Shift+F1 during the run");
}

TEST_F(HelpFixture, HelpDocumentByKeyAndMenuAndCtrlF1DoesNothing) {
    bktest::ShellRecording recording;
    bktest::FileTypeAssociation html(L".html");
    Start("");
    ASSERT_TRUE(window_);
    ASSERT_TRUE(RunFinished());

    TypeKey(VK_F1, false, true);  // Ctrl+F1
    Sleep(1000);
    EXPECT_TRUE(recording.Lines().empty()) << "Ctrl+F1 opens nothing";
    EXPECT_EQ(nullptr, AboutWindow(process_.id(), 500).hwnd()) << "Ctrl+F1 shows no About box";

    TypeKey(VK_F1, false, false);
    std::wstring lines = recording.Lines(10000);
    EXPECT_NE(std::wstring::npos, lines.find(L"Metaview.html")) << std::string(lines.begin(), lines.end());
    EXPECT_NE(std::wstring::npos, lines.find(folder_.filename().wstring())) << "the document beside Metaview.exe";

    gui::SendMenuCommand(window_, menu::kHelpContents);
    EXPECT_TRUE(WaitUntil([&] { return recording.Lines() != lines; }, 10000)) << "Help > Contents...";
    lines = recording.Lines();
    const size_t first = lines.find(L"Metaview.html"), second = lines.find(L"Metaview.html", first + 1);
    EXPECT_NE(std::wstring::npos, second) << "the same document twice";

    TypeKey(VK_F1, true, false);
    ExpectAboutBox("Shift+F1");
    gui::SendMenuCommand(window_, menu::kAbout);
    ExpectAboutBox("Help > About...");
}

}  // namespace
