// The About box opened by a VBScript client (Wine's cscript, registered library), driven from
// here: what each call shows, and that the script goes on when the dialog is closed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lib/about/about_entry.h"
#include "tests/harness/library.h"
#include "tests/harness/registered.h"
#include "tests/lib/about/about_driver.h"

using namespace bktest;
using namespace abouttest;

namespace {

constexpr int kMain = 0, kDescription = 1;

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ScriptClient, ShowsTheAboutBoxForAScript) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    const std::filesystem::path log = std::filesystem::temp_directory_path() / L"about_client_output.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    support::UniqueHandle out(CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(out.valid());
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    gui::Process script = gui::Process::Start(std::wstring(system) + L"\\cscript.exe",
                                              L"//nologo \"" + BinFile(L"about_client.vbs") + L"\"", out.get());
    ASSERT_TRUE(script.started());

    {
        AboutWindow about(script.id(), 60000);
        ASSERT_TRUE(about) << ReadAll(log);
        EXPECT_EQ(L"Script Title", about.Text(kMain, ctl::kTitle));
        EXPECT_EQ(L"1.00.0000", about.Text(kMain, ctl::kVersion));
        EXPECT_EQ(bk::about::kDefaultAuthor, about.Text(kMain, ctl::kAuthor));
        EXPECT_EQ(L"Посвящается Lumen", about.Text(kMain, ctl::kDevote));
        EXPECT_FALSE(OwnVisible(about.Page(kDescription)));
        EXPECT_TRUE(about.Close());
    }
    {
        AboutWindow about(script.id(), 60000);
        ASSERT_TRUE(about) << ReadAll(log);
        EXPECT_EQ(L"Script Application", about.Text(kMain, ctl::kTitle));
        EXPECT_EQ(L"2.03.0045", about.Text(kMain, ctl::kVersion));
        EXPECT_TRUE(about.KeyToPage(VK_NEXT, kDescription));
        EXPECT_EQ(L"A description from the script.", about.Text(kDescription, ctl::kDescription));
        gui::ClickButton(about.hwnd(), ctl::kOk);
        EXPECT_TRUE(gui::WaitForWindowGone(about.hwnd(), 10000));
    }
    ASSERT_TRUE(script.WaitForExit(60000));
    out.reset();
    const std::string output = ReadAll(log);
    EXPECT_EQ(0u, script.ExitCode()) << output;
    EXPECT_NE(std::string::npos, output.find("closed 2")) << output;
    EXPECT_NE(std::string::npos, output.find("failures=0")) << output;
    std::error_code ignored;
    std::filesystem::remove(log, ignored);
}

}  // namespace
