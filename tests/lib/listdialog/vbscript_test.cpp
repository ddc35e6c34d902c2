// orxSimpleListDialog used by a script client: the library is registered, Wine's cscript runs
// a script that fills the dialog with a collection made by orxMain.Collection and shows it.
// Show waits for the window to close, so this test closes it from outside: a thread finds
// the script's window, reads it, clicks an entry, and presses Enter (later Esc).
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/harness/guidriver.h"
#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

HWND ChildOfClass(HWND box, const wchar_t* cls) {
    for (const gui::Control& c : gui::ListControls(box))
        if (_wcsicmp(c.className.c_str(), cls) == 0) return c.handle;
    return nullptr;
}

struct SeenWindow {
    bool found = false;
    bool closed = false;
    std::vector<std::wstring> entries;
    std::wstring label;
};

std::wstring ListText(HWND list, int index) {
    wchar_t text[256] = {};
    const LRESULT n = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return n > 0 ? std::wstring(text, static_cast<size_t>(n)) : std::wstring();
}

// Waits for the script's window, reads it, clicks the entry `click` (-1: none), closes it by `key`.
SeenWindow DriveWindow(const wchar_t* title, int click, UINT key) {
    SeenWindow seen;
    gui::WindowQuery query;
    query.title = title;
    query.className = L"#32770";
    HWND box = gui::WaitForWindow(query, 60000);
    if (!box) return seen;
    seen.found = true;
    HWND list = ChildOfClass(box, L"ListBox");
    HWND label = ChildOfClass(box, L"Static");
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) seen.entries.push_back(ListText(list, i));
    if (click >= 0) {
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(click), reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 5000 && seen.label.empty(); Sleep(20))
            seen.label = gui::WindowText(label);
    }
    gui::PressKey(box, key);
    seen.closed = gui::WaitForWindowGone(box, 10000);
    if (!seen.closed) gui::RequestClose(box);  // never leave the script waiting
    return seen;
}

TEST(ScriptClient, ShowsAListBuiltWithOrxMainCollection) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());

    SeenWindow full, empty;
    std::thread driver([&] {
        full = DriveWindow(L"Script list [3]", 1, VK_RETURN);
        empty = DriveWindow(L"Empty [0]", -1, VK_ESCAPE);
    });
    std::string output;
    const int failures = RunScriptClient(L"listdialog_client.vbs", output);
    driver.join();

    EXPECT_TRUE(ScriptClientPassed(failures, output));
    EXPECT_EQ(std::string::npos, output.find("FAIL")) << output;
    EXPECT_NE(std::string::npos, output.find("closed Empty")) << output;

    ASSERT_TRUE(full.found) << output;
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two\tC:\\two.txt", L"3"}), full.entries);
    EXPECT_EQ(L"C:\\two.txt", full.label);
    EXPECT_TRUE(full.closed);
    ASSERT_TRUE(empty.found) << output;
    EXPECT_TRUE(empty.entries.empty());
    EXPECT_TRUE(empty.closed);
}

}  // namespace
