// The settings dialog driven through its windows, and the window placement store. The dialog runs
// modally on a thread of its own; the test thread drives it with posted input.
#include <windows.h>
#include <colordlg.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "app/settings/settings.h"
#include "app/settings/settings_dialog.h"
#include "app/settings/settings_store.h"
#include "support/components/customcolors.h"
#include "support/win/owner.h"
#include "support/win/screen_dpi.h"
#include "tests/harness/guidriver.h"
#include "tests/harness/test_store.h"

using namespace metaview;
namespace gui = bktest::gui;
namespace ids = metaview::settings_dialog;

// Rectangles compared and printed by the placement tests.
bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
std::ostream& operator<<(std::ostream& os, const RECT& r) {
    return os << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}

namespace {

constexpr DWORD kWaitMs = 10000;

// Polls until `done` holds; false after the time-out.
template <class F>
bool WaitUntil(F done, DWORD timeoutMs = kWaitMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

// Top-level windows of this process of one class.
std::vector<HWND> OwnWindows(const wchar_t* className, bool visibleOnly = true) {
    gui::WindowQuery query;
    query.className = className;
    query.processId = GetCurrentProcessId();
    query.visibleOnly = visibleOnly;
    return gui::FindWindows(query);
}

COLORREF PendingColor(HWND button) { return static_cast<COLORREF>(GetWindowLongPtrW(button, GWLP_USERDATA)); }

void SetText(HWND window, const wchar_t* text) {
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// ShowSettingsDialog on a thread of its own. Whatever a failed test leaves open is closed when
// the object goes.
class DialogRun {
public:
    explicit DialogRun(const support::AppIdentity& app)
        : thread_([this, app] {
              threadId_ = GetCurrentThreadId();
              result_ = ShowSettingsDialog(nullptr, app);
              done_ = true;
          }) {
        gui::WindowQuery query;
        query.title = L"Settings";
        query.className = L"#32770";
        query.processId = GetCurrentProcessId();
        dialog = gui::WaitForWindow(query, kWaitMs);
    }
    ~DialogRun() {
        while (!done_) {
            EnumThreadWindows(
                threadId_, [](HWND w, LPARAM) { PostMessageW(w, WM_CLOSE, 0, 0); return TRUE; }, 0);
            Sleep(20);
        }
        thread_.join();
    }
    DialogRun(const DialogRun&) = delete;
    DialogRun& operator=(const DialogRun&) = delete;

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    // Waits for the dialog to close and gives ShowSettingsDialog's result.
    ::testing::AssertionResult Closed(bool& result) {
        if (!WaitUntil([this] { return done_.load(); })) return ::testing::AssertionFailure() << "dialog still open";
        result = result_;
        return ::testing::AssertionSuccess();
    }
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
    }
    // True when the keyboard focus is in `combo` (its edit field).
    bool FocusIn(HWND combo) const {
        return WaitUntil([&] { HWND f = Focus(); return f && (f == combo || GetParent(f) == combo); }, 3000);
    }
    // Another dialog of the process (message box, colour dialog), opened over this one.
    HWND WaitForOtherDialog() const {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND w : OwnWindows(L"#32770"))
                if (w != dialog) found = w;
            return found != nullptr;
        });
        return found;
    }

    HWND dialog = nullptr;

private:
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> done_{false};
    bool result_ = false;
    std::thread thread_;
};

class SettingsDialogTest : public mvtest::StoreTest {
protected:
    SettingsDialogTest() : StoreTest(L"MetaviewTest-Dialog") {}
    void SetUp() override {
        StoreTest::SetUp();
        g_settings = {L"fr", L"Greek", 0x112233, 0x00FF00};
    }
    bool NothingStored() const {
        support::RegKey key;
        return RegOpenKeyExW(HKEY_CURRENT_USER, store.SectionKeyPath(L"ExifTool Params").c_str(), 0, KEY_READ,
                             key.put()) != ERROR_SUCCESS &&
               RegOpenKeyExW(HKEY_CURRENT_USER, store.SectionKeyPath(L"Out Box").c_str(), 0, KEY_READ, key.put()) !=
                   ERROR_SUCCESS;
    }
    void ExpectSettingsUnchanged() const {
        EXPECT_EQ(L"fr", g_settings.TextLanguage);
        EXPECT_EQ(L"Greek", g_settings.FileNameCharset);
        EXPECT_EQ(0x112233u, g_settings.OutBoxBackColor);
        EXPECT_EQ(0x00FF00u, g_settings.OutBoxForeColor);
    }
};

TEST_F(SettingsDialogTest, ShowsListsValuesAndLayoutAndCancelChangesNothing) {
    g_settings.FileNameCharset = L"MyCharset";  // not in the list: shown as it is
    g_settings.OutBoxForeColor = 0x80000005;    // a system colour stays one
    DialogRun run(app);
    ASSERT_TRUE(run.dialog);

    const std::vector<std::wstring> languages = {L"cs", L"de", L"en", L"en-ca", L"en-gb", L"es", L"fi",
                                                 L"fr", L"it", L"ja", L"ko",    L"nl",    L"pl", L"ru",
                                                 L"sk", L"sv", L"tr", L"zh-cn", L"zh-tw"};
    const std::vector<std::wstring> charsets = {
        L"UTF-8",     L"Latin1",      L"Latin2",     L"Cyrillic",  L"Greek",    L"Turkish",     L"Hebrew",
        L"Arabic",    L"Baltic",      L"Vietnam",    L"Thai",      L"DOSLatinUS", L"DOSLatin1", L"DOSCyrillic",
        L"MacRoman",  L"MacLatin2",   L"MacCyrillic", L"MacGreek", L"MacTurkish", L"MacRomanian", L"MacIceland",
        L"MacCroatian"};
    EXPECT_EQ(languages, ComboItems(run.Item(ids::kTextLanguage)));
    EXPECT_EQ(charsets, ComboItems(run.Item(ids::kFileNameCharset)));
    EXPECT_EQ(L"fr", gui::WindowText(run.Item(ids::kTextLanguage)));
    EXPECT_EQ(L"MyCharset", gui::WindowText(run.Item(ids::kFileNameCharset)));
    EXPECT_EQ(0x112233u, PendingColor(run.Item(ids::kBackColor)));
    EXPECT_EQ(0x80000005u, PendingColor(run.Item(ids::kForeColor)));
    EXPECT_EQ(L"Text language:", gui::WindowText(run.Item(ids::kTextLanguageLabel)));
    EXPECT_EQ(L"File name charset:", gui::WindowText(run.Item(ids::kFileNameCharsetLabel)));
    EXPECT_EQ(L"Text out colors", gui::WindowText(run.Item(ids::kColorsLabel)));
    EXPECT_EQ(L"Ok", gui::WindowText(GetDlgItem(run.dialog, IDOK)));
    EXPECT_EQ(L"Cancel", gui::WindowText(GetDlgItem(run.dialog, IDCANCEL)));
    EXPECT_TRUE(run.FocusIn(run.Item(ids::kTextLanguage)));

    // Frame, font and twips positions.
    const LONG_PTR style = GetWindowLongPtrW(run.dialog, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(0, SendMessageW(run.dialog, WM_GETICON, ICON_BIG, 0));
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(run.Item(ids::kTextLanguage), WM_GETFONT, 0, 0)),
                           sizeof lf, &lf));
    EXPECT_STREQ(L"Tahoma", lf.lfFaceName);
    EXPECT_EQ(RUSSIAN_CHARSET, lf.lfCharSet);
    const support::PixelsPerInch dpi = support::ScreenPixelsPerInch();
    const int dpiX = dpi.x, dpiY = dpi.y;
    RECT ok{};
    GetWindowRect(GetDlgItem(run.dialog, IDOK), &ok);
    MapWindowPoints(nullptr, run.dialog, reinterpret_cast<POINT*>(&ok), 2);
    EXPECT_EQ(MulDiv(3000, dpiX, 1440), ok.left);
    EXPECT_EQ(MulDiv(1620, dpiY, 1440), ok.top);
    EXPECT_EQ(MulDiv(1395, dpiX, 1440), ok.right - ok.left);
    RECT client{};
    GetClientRect(run.dialog, &client);
    EXPECT_EQ(MulDiv(6015, dpiX, 1440), client.right);
    EXPECT_EQ(MulDiv(2175, dpiY, 1440), client.bottom);

    // Tool tips of the colour buttons.
    std::set<std::pair<HWND, std::wstring>> tools;
    for (HWND tips : OwnWindows(TOOLTIPS_CLASSW, false)) {
        const auto count = SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[80] = {};
            TTTOOLINFOW ti{};
            ti.cbSize = TTTOOLINFOW_V2_SIZE;
            ti.lpszText = text;
            if (SendMessageW(tips, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&ti)))
                tools.insert({reinterpret_cast<HWND>(ti.uId), text});
        }
    }
    EXPECT_EQ((std::set<std::pair<HWND, std::wstring>>{{run.Item(ids::kForeColor), L" Text color "},
                                                       {run.Item(ids::kBackColor), L" Background color "}}),
              tools);

    SetText(run.Item(ids::kTextLanguage), L"de");
    ASSERT_TRUE(gui::ClickButton(run.dialog, L"Cancel"));
    bool result = true;
    ASSERT_TRUE(run.Closed(result));
    EXPECT_FALSE(result);
    EXPECT_EQ(L"fr", g_settings.TextLanguage);
    EXPECT_EQ(L"MyCharset", g_settings.FileNameCharset);
    EXPECT_TRUE(NothingStored());
}

TEST_F(SettingsDialogTest, OkTrimsCommitsAndSavesAllFour) {
    DialogRun run(app);
    ASSERT_TRUE(run.dialog);
    SetText(run.Item(ids::kTextLanguage), L"  de  ");
    SetText(run.Item(ids::kFileNameCharset), L"\tLatin2 ");
    ASSERT_TRUE(gui::ClickButton(run.dialog, L"Ok"));
    bool result = false;
    ASSERT_TRUE(run.Closed(result));
    EXPECT_TRUE(result);
    EXPECT_EQ(L"de", g_settings.TextLanguage);
    EXPECT_EQ(L"Latin2", g_settings.FileNameCharset);

    g_settings = Settings{};
    LoadSettings(app);
    EXPECT_EQ(L"de", g_settings.TextLanguage);
    EXPECT_EQ(L"Latin2", g_settings.FileNameCharset);
    EXPECT_EQ(0x112233u, g_settings.OutBoxBackColor);
    EXPECT_EQ(0x00FF00u, g_settings.OutBoxForeColor);
}

TEST_F(SettingsDialogTest, UnusableEntriesRefusedWithMessageAndFocus) {
    DialogRun run(app);
    ASSERT_TRUE(run.dialog);
    const HWND language = run.Item(ids::kTextLanguage), charset = run.Item(ids::kFileNameCharset);
    struct Case {
        const wchar_t* language;
        const wchar_t* charset;
        const wchar_t* message;
        HWND focus;
        const wchar_t* shownLanguage;  // the entries are shown trimmed after a refusal
        const wchar_t* shownCharset;
    };
    const Case cases[] = {
        {L"   ", L"", L"Text language can't be empty.", language, L"", L""},  // language first
        {L" de", L" \t ", L"File name charset can't be empty.", charset, L"de", L""},
        {L"de\" -o x ", L"Latin1", L"Text language can't contain double quotes.", language, L"de\" -o x", L"Latin1"},
        {L"de", L"\"Latin1\"", L"File name charset can't contain double quotes.", charset, L"de", L"\"Latin1\""},
        {L"de", L"Latin1\\", L"File name charset can't end with a backslash.", charset, L"de", L"Latin1\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message);
        SetText(language, c.language);
        SetText(charset, c.charset);
        ASSERT_TRUE(gui::ClickButton(run.dialog, L"Ok"));
        HWND box = run.WaitForOtherDialog();
        ASSERT_TRUE(box);
        EXPECT_EQ(L"Metaview Test", gui::WindowText(box));
        EXPECT_EQ(c.message, gui::MessageBoxText(box));
        bool hasIcon = false;
        for (const auto& control : gui::ListControls(box))
            if ((GetWindowLongPtrW(control.handle, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && control.className == L"Static")
                hasIcon = true;
        EXPECT_TRUE(hasIcon);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(gui::WaitForWindowGone(box, kWaitMs));
        EXPECT_TRUE(run.FocusIn(c.focus));
        EXPECT_TRUE(IsWindowVisible(run.dialog));
        EXPECT_EQ(c.shownLanguage, gui::WindowText(language));
        EXPECT_EQ(c.shownCharset, gui::WindowText(charset));
    }

    // Esc cancels: nothing committed, nothing stored.
    ASSERT_TRUE(gui::PressKey(run.dialog, VK_ESCAPE));
    bool result = true;
    ASSERT_TRUE(run.Closed(result));
    EXPECT_FALSE(result);
    ExpectSettingsUnchanged();
    EXPECT_TRUE(NothingStored());
}

TEST_F(SettingsDialogTest, ColourPickStoresCustomColoursAtOnceButColourOnlyOnOk) {
    // Stored in a form LoadFromText accepts but SaveToText does not write: a rewrite shows.
    std::wstring stored = L"0a0b0c";
    for (int i = 1; i < 16; ++i) stored += L", 102030";
    ASSERT_EQ(ERROR_SUCCESS, store.WriteText(L"Colors", L"Custom Colors", stored));
    support::CustomColors expected;
    ASSERT_TRUE(expected.LoadFromText(stored));

    DialogRun run(app);
    ASSERT_TRUE(run.dialog);
    const HWND fore = run.Item(ids::kForeColor);

    // Colour dialog cancelled: nothing changes.
    PostMessageW(run.dialog, WM_COMMAND, MAKEWPARAM(ids::kForeColor, BN_CLICKED), reinterpret_cast<LPARAM>(fore));
    HWND picker = run.WaitForOtherDialog();
    ASSERT_TRUE(picker);
    PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(gui::WaitForWindowGone(picker, kWaitMs));
    EXPECT_EQ(0x00FF00u, PendingColor(fore));
    EXPECT_EQ(stored, store.ReadText(L"Colors", L"Custom Colors"));

    // Confirmed: the button takes the colour, the custom colours are stored at once.
    PostMessageW(run.dialog, WM_COMMAND, MAKEWPARAM(ids::kForeColor, BN_CLICKED), reinterpret_cast<LPARAM>(fore));
    picker = run.WaitForOtherDialog();
    ASSERT_TRUE(picker);
    SetText(GetDlgItem(picker, COLOR_RED), L"10");
    SetText(GetDlgItem(picker, COLOR_GREEN), L"20");
    SetText(GetDlgItem(picker, COLOR_BLUE), L"30");
    PostMessageW(picker, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(gui::WaitForWindowGone(picker, kWaitMs));
    EXPECT_EQ(RGB(10, 20, 30), PendingColor(fore));
    EXPECT_EQ(expected.SaveToText(), store.ReadText(L"Colors", L"Custom Colors"));

    // The settings dialog cancelled afterwards: the colour setting stays as it was.
    ASSERT_TRUE(gui::ClickButton(run.dialog, L"Cancel"));
    bool result = true;
    ASSERT_TRUE(run.Closed(result));
    EXPECT_FALSE(result);
    ExpectSettingsUnchanged();
    EXPECT_EQ(expected.SaveToText(), store.ReadText(L"Colors", L"Custom Colors"));
}

// Window placement ------------------------------------------------------------------------------

class PlacementTest : public mvtest::StoreTest {
protected:
    PlacementTest() : StoreTest(L"MetaviewTest-Placement") {}
    static void SetUpTestSuite() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MetaviewPlacementTest";
        RegisterClassW(&wc);
    }
    struct Window {
        support::Window owner;
        HWND handle;
        explicit Window(bool visible)
            : owner(CreateWindowExW(0, L"MetaviewPlacementTest", L"Placement", WS_OVERLAPPEDWINDOW, 300, 300, 200, 150,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)),
              handle(owner.get()) {
            if (visible) ShowWindow(handle, SW_SHOWNORMAL);
        }
    };
    static RECT NormalRect(HWND w) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(w, &wp);
        return wp.rcNormalPosition;
    }
    void StoreRaw(const void* data, DWORD size, DWORD type = REG_BINARY) {
        support::RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, store.ApplicationKeyPath().c_str(), 0, nullptr, 0,
                                                 KEY_SET_VALUE, nullptr, key.put(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExW(key.get(), L"Window placement", 0, type, static_cast<const BYTE*>(data), size));
    }
};

TEST_F(PlacementTest, SavedPlacementRestoredOnVisibleAndHiddenWindows) {
    Window visible(true);
    SetWindowPos(visible.handle, nullptr, 120, 140, 420, 310, SWP_NOZORDER);
    const RECT saved = NormalRect(visible.handle);
    ASSERT_EQ(ERROR_SUCCESS, store.SaveWindowPlacement(L"", L"Window placement", visible.handle));
    SetWindowPos(visible.handle, nullptr, 10, 10, 200, 100, SWP_NOZORDER);
    ASSERT_TRUE(store.RestoreWindowPlacement(L"", L"Window placement", visible.handle));
    EXPECT_EQ(saved, NormalRect(visible.handle));
    EXPECT_TRUE(IsWindowVisible(visible.handle));

    Window hidden(false);
    int show = -1;
    ASSERT_TRUE(store.RestoreWindowPlacement(L"", L"Window placement", hidden.handle, &show));
    EXPECT_EQ(saved, NormalRect(hidden.handle));
    EXPECT_FALSE(IsWindowVisible(hidden.handle));
    EXPECT_EQ(SW_SHOWNORMAL, show);
}

TEST_F(PlacementTest, MaximisedStateKeptMinimisedNot) {
    Window w(true);
    ShowWindow(w.handle, SW_MAXIMIZE);
    ASSERT_EQ(ERROR_SUCCESS, store.SaveWindowPlacement(L"", L"Window placement", w.handle));
    ShowWindow(w.handle, SW_RESTORE);
    ASSERT_FALSE(IsZoomed(w.handle));
    ASSERT_TRUE(store.RestoreWindowPlacement(L"", L"Window placement", w.handle));
    EXPECT_TRUE(IsZoomed(w.handle));

    ShowWindow(w.handle, SW_RESTORE);
    ShowWindow(w.handle, SW_MINIMIZE);
    ASSERT_EQ(ERROR_SUCCESS, store.SaveWindowPlacement(L"", L"Window placement", w.handle));
    ASSERT_TRUE(store.RestoreWindowPlacement(L"", L"Window placement", w.handle));
    EXPECT_FALSE(IsIconic(w.handle));
}

TEST_F(PlacementTest, BadStoredPlacementRefusedAndWindowLeftAlone) {
    Window w(true);
    const RECT before = NormalRect(w.handle);
    EXPECT_FALSE(store.RestoreWindowPlacement(L"", L"Window placement", w.handle));  // nothing stored

    WINDOWPLACEMENT good{};
    good.length = sizeof good;
    good.showCmd = SW_SHOWNORMAL;
    good.rcNormalPosition = RECT{50, 50, 450, 350};

    WINDOWPLACEMENT offScreen = good;
    offScreen.rcNormalPosition = RECT{-30000, -30000, -29600, -29700};
    WINDOWPLACEMENT empty = good;
    empty.rcNormalPosition = RECT{50, 50, 50, 350};
    WINDOWPLACEMENT badLength = good;
    badLength.length = 12;
    for (const WINDOWPLACEMENT* wp : {&offScreen, &empty, &badLength}) {
        StoreRaw(wp, sizeof *wp);
        EXPECT_FALSE(store.RestoreWindowPlacement(L"", L"Window placement", w.handle));
    }
    StoreRaw(&good, sizeof good - 4);
    EXPECT_FALSE(store.RestoreWindowPlacement(L"", L"Window placement", w.handle));
    store.WriteText(L"", L"Window placement", L"50,50,450,350");
    EXPECT_FALSE(store.RestoreWindowPlacement(L"", L"Window placement", w.handle));
    EXPECT_EQ(before, NormalRect(w.handle));

    StoreRaw(&good, sizeof good);  // the well-formed one is taken
    EXPECT_TRUE(store.RestoreWindowPlacement(L"", L"Window placement", w.handle));
    EXPECT_EQ(good.rcNormalPosition, NormalRect(w.handle));
}

}  // namespace
