// The About dialog shown for real by a C++ client of orxMain: its pages and their cycle, the
// keys, the main page's lines and pictures, the window icon, the module list and the figures.
// The dialog blocks the test's main thread; a second thread drives it.
#include <gtest/gtest.h>

#include <olectl.h>

#include <regex>

#include "lib/about/about_entry.h"
#include "lib/forms/window_object.h"
#include "support/as/icons.h"
#include "tests/harness/library.h"
#include "tests/harness/screenshot.h"
#include "tests/lib/about/about_driver.h"

using namespace bktest;
using namespace abouttest;

namespace {

enum { kMain = 0, kDescription, kModules, kTimes, kSystem, kUpdate };

// ShowAboutBoxEx late-bound with a title and whatever named extras the test gives, by position.
HRESULT ShowEx(std::initializer_list<VARIANT*> args) {
    auto main = Create<_orxMain>(CLSID_orxMain);
    if (!main) return E_FAIL;
    Dispatch d(main);
    return d.Method(L"ShowAboutBoxEx", args);
}

HRESULT ShowTitleOnly() {
    Variant title = Variant::FromString(L"Test Application");
    return ShowEx({title.get()});
}

Variant Picture(IPictureDisp* p) {
    Variant v;
    V_VT(v.get()) = VT_DISPATCH;
    V_DISPATCH(v.get()) = p;
    if (p) p->AddRef();
    return v;
}

// An empty picture object (no handle).
ComPtr<IPictureDisp> EmptyPicture() {
    PICTDESC d{};
    d.cbSizeofstruct = sizeof d;
    d.picType = PICTYPE_NONE;
    ComPtr<IPictureDisp> p;
    OleCreatePictureIndirect(&d, IID_IPictureDisp, TRUE, p.put_void());
    return p;
}

ComPtr<IPictureDisp> SystemIcon(LPCWSTR id) {
    ComPtr<IPictureDisp> p;
    support::asGetIconFromHandle(LoadIconW(nullptr, id), p.put());
    return p;
}

int ScreenPpiY() {
    HDC screen = GetDC(nullptr);
    const int py = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return py;
}

// An application object of a test: Title, Major, Minor and Revision by name (a negative
// revision leaves that property out).
class FakeApp final : public IDispatch {
public:
    static ComPtr<IDispatch> Make(std::wstring title, LONG major, LONG minor, LONG revision) {
        return ComPtr<IDispatch>::Attach(new FakeApp(std::move(title), major, minor, revision));
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown && iid != IID_IDispatch) return (*out = nullptr), E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (!n) delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return (*n = 0), S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        static const wchar_t* kNames[] = {L"Title", L"Major", L"Minor", L"Revision"};
        for (int i = 0; i < (revision_ < 0 ? 3 : 4); ++i)
            if (_wcsicmp(names[0], kNames[i]) == 0) return (ids[0] = i + 1), S_OK;
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        Variant v;
        switch (id) {
        case 1: v = Variant::FromString(title_); break;
        case 2: v = Variant::FromLong(major_); break;
        case 3: v = Variant::FromLong(minor_); break;
        case 4: v = Variant::FromLong(revision_); break;
        default: return DISP_E_MEMBERNOTFOUND;
        }
        if (result) *result = v.detach();
        return S_OK;
    }

private:
    FakeApp(std::wstring title, LONG major, LONG minor, LONG revision)
        : title_(std::move(title)), major_(major), minor_(minor), revision_(revision) {}
    ULONG refs_ = 1;
    std::wstring title_;
    LONG major_, minor_, revision_;
};

RECT PlaceIn(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void SaveShot(HWND dialog, const wchar_t* name) {
    const std::wstring folder = ScreenshotFolder();
    if (folder.empty()) return;
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    EXPECT_TRUE(SaveWindowPng(dialog, folder + L"\\" + name + L".png")) << "screenshot " << name;
}

TEST(AboutDialog, TitleOnlyShowsTheBuiltInLinesAndNoDescriptionPage) {
    const HRESULT hr = WithAbout(ShowTitleOnly, [](AboutWindow& about) {
        EXPECT_EQ(kMain, about.CurrentPage());
        EXPECT_EQ(L"Test Application", about.Text(kMain, ctl::kTitle));
        EXPECT_EQ(L"Версия:", about.Text(kMain, ctl::kVersionCaption));
        EXPECT_EQ(L"1.00.0000", about.Text(kMain, ctl::kVersion));
        EXPECT_EQ(L"Автор:", about.Text(kMain, ctl::kAuthorCaption));
        EXPECT_EQ(bk::about::kDefaultAuthor, about.Text(kMain, ctl::kAuthor));
        EXPECT_EQ(bk::about::kDefaultAuthorEMail, about.Text(kMain, ctl::kEMail));
        EXPECT_TRUE(OwnVisible(about.Item(kMain, ctl::kEMail)));
        EXPECT_EQ(L"Посвящается Lumen", about.Text(kMain, ctl::kDevote));
        EXPECT_TRUE(OwnVisible(about.Item(kMain, ctl::kLumen))) << "the library's own picture";
        EXPECT_EQ(L"Ok", TextOf(about.Item(ctl::kOk)));
        EXPECT_EQ(L"&System Info...", TextOf(about.Item(ctl::kSysInfo)));
        EXPECT_TRUE(GetWindowLongW(about.Item(ctl::kOk), GWL_STYLE) & BS_DEFPUSHBUTTON);
        // No small icon given: the window has none.
        EXPECT_EQ(0, SendMessageW(about.hwnd(), WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(0, SendMessageW(about.hwnd(), WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ(about.Item(ctl::kOk), about.Focus()) << "the main page gives the focus to Ok";

        // No description: Page Down goes from the main page straight to the modules.
        const std::vector<int> cycle = about.Cycle();
        EXPECT_EQ((std::vector<int>{kMain, kModules, kTimes, kSystem, kUpdate}), cycle);
        EXPECT_EQ(kMain, about.CurrentPage()) << "Page Down on the last page wraps to the main page";
        EXPECT_TRUE(about.KeyToPage(VK_PRIOR, kUpdate)) << "Page Up on the main page goes to the last page";
        EXPECT_TRUE(about.KeyToPage(VK_PRIOR, kSystem));
        EXPECT_FALSE(OwnVisible(about.Page(kDescription)));
        EXPECT_TRUE(about.Close()) << "Esc closes the dialog";
    });
    EXPECT_EQ(S_OK, hr);
}

TEST(AboutDialog, GeometryFollowsTheScreensPixelsPerInch) {
    WithAbout(ShowTitleOnly, [](AboutWindow& about) {
        RECT client{};
        GetClientRect(about.hwnd(), &client);
        HDC screen = GetDC(nullptr);
        const int px = GetDeviceCaps(screen, LOGPIXELSX), py = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        EXPECT_NEAR(5775.0 * px / 1440, client.right, 1);
        EXPECT_NEAR(2415.0 * py / 1440, client.bottom, 1);
        const RECT ok = PlaceIn(about.Item(ctl::kOk));
        EXPECT_NEAR(2880.0 * px / 1440, ok.left, 1);
        EXPECT_NEAR(1980.0 * py / 1440, ok.top, 1);
        const RECT page = PlaceIn(about.Page(kUpdate));
        EXPECT_NEAR(1080.0 * px / 1440, page.left, 1) << "every page lies on the first one";
        EXPECT_NEAR(120.0 * py / 1440, page.top, 1);
        const LONG style = GetWindowLongW(about.hwnd(), GWL_STYLE);
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    });
}

TEST(AboutDialog, DescriptionPageAndNoEMailLine) {
    Variant title = Variant::FromString(L"Described"), none = Variant::Missing();
    Variant major = Variant::FromLong(2), minor = Variant::FromLong(5), revision = Variant::FromLong(33);
    Variant author = Variant::FromString(L"Someone"), email = Variant::FromString(L"");
    Variant devote = Variant::FromString(L"For testers");
    Variant description = Variant::FromString(L"First line of the description.\r\nSecond line.");
    const HRESULT hr = WithAbout(
        [&] {
            return ShowEx({title.get(), none.get(), none.get(), major.get(), minor.get(), revision.get(), author.get(),
                           email.get(), devote.get(), description.get()});
        },
        [](AboutWindow& about) {
            EXPECT_EQ(L"2.05.0033", about.Text(kMain, ctl::kVersion));
            EXPECT_EQ(L"Someone", about.Text(kMain, ctl::kAuthor));
            EXPECT_FALSE(OwnVisible(about.Item(kMain, ctl::kEMail)));
            EXPECT_FALSE(OwnVisible(about.Item(kMain, ctl::kEMailCaption)));
            // The dedication stands where the e-mail line was designed (1140 twips down the page).
            EXPECT_NEAR(1140.0 * ScreenPpiY() / 1440, PlaceIn(about.Item(kMain, ctl::kDevote)).top, 1);
            EXPECT_TRUE(about.KeyToPage(VK_NEXT, kDescription));
            EXPECT_EQ(L"First line of the description.\r\nSecond line.", about.Text(kDescription, ctl::kDescription));
            HWND box = about.Item(kDescription, ctl::kDescription);
            EXPECT_TRUE(WaitUntil([&] { return about.Focus() == box; }, 3000)) << "the description takes the focus";
            EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & ES_READONLY);
            const LRESULT margins = SendMessageW(box, EM_GETMARGINS, 0, 0);
            EXPECT_EQ(2, LOWORD(margins));
            EXPECT_EQ(2, HIWORD(margins));
            EXPECT_TRUE(about.KeyToPage(VK_NEXT, kModules));
            EXPECT_EQ(about.Item(kModules, ctl::kModules), about.Focus());
            EXPECT_TRUE(about.KeyToPage(VK_PRIOR, kDescription));
            EXPECT_TRUE(about.KeyToPage(VK_PRIOR, kMain));
            // Ok closes.
            gui::ClickButton(about.hwnd(), ctl::kOk);
            EXPECT_TRUE(gui::WaitForWindowGone(about.hwnd(), 10000));
        });
    EXPECT_EQ(S_OK, hr);
}

TEST(AboutDialog, WindowIconsAndPictures) {
    ComPtr<IPictureDisp> large = SystemIcon(IDI_ASTERISK), small = SystemIcon(IDI_HAND);
    ComPtr<IPictureDisp> empty = EmptyPicture();
    Variant title = Variant::FromString(L"Icons"), iconArg = Picture(large.get()), smallArg = Picture(small.get());
    Variant none = Variant::Missing(), emptyArg = Picture(empty.get());
    WithAbout(
        [&] {
            return ShowEx({title.get(), iconArg.get(), smallArg.get(), none.get(), none.get(), none.get(), none.get(),
                           none.get(), none.get(), none.get(), emptyArg.get()});
        },
        [](AboutWindow& about) {
            EXPECT_NE(0, SendMessageW(about.hwnd(), WM_GETICON, ICON_SMALL, 0)) << "the small icon is the window's";
            EXPECT_FALSE(OwnVisible(about.Item(kMain, ctl::kLumen))) << "an empty picture hides the dedication picture";
        });

    // ShowAboutBox2 without a small icon: the large one is the window icon too. A picture given
    // goes to the page's lower right corner: 5 pixels from its right, 3 from its bottom.
    ComPtr<IPictureDisp> dedication = SystemIcon(IDI_QUESTION);
    auto main = Create<_orxMain>(CLSID_orxMain);
    ASSERT_TRUE(main);
    ComPtr<IDispatch> app = FakeApp::Make(L"Second", 7, 0, 3);
    const HRESULT hr = WithAbout(
        [&] {
            const Bstr description(L""), tip(L"A question");
            return main->ShowAboutBox2(large.get(), nullptr, app.get(), description.get(), dedication.get(), tip.get());
        },
        [](AboutWindow& about) {
            EXPECT_EQ(L"Second", about.Text(kMain, ctl::kTitle));
            EXPECT_EQ(L"7.00.0003", about.Text(kMain, ctl::kVersion));
            EXPECT_NE(0, SendMessageW(about.hwnd(), WM_GETICON, ICON_SMALL, 0));
            HWND lumen = about.Item(kMain, ctl::kLumen);
            EXPECT_TRUE(OwnVisible(lumen));
            RECT page{};
            GetClientRect(about.Page(kMain), &page);
            const RECT r = PlaceIn(lumen);
            EXPECT_EQ(page.right - 5, r.right);
            EXPECT_EQ(page.bottom - 3, r.bottom);
            EXPECT_EQ(GetSystemMetrics(SM_CXICON), r.right - r.left) << "the picture's own size";
        });
    EXPECT_EQ(S_OK, hr);
}

TEST(AboutDialog, ShowAboutBoxTakesTheFormsIcons) {
    // A form of the caller's: a window with its own large and small icons, handed over through
    // the library's window wrapper.
    support::Window form(CreateWindowExW(0, L"STATIC", L"Caller form", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                         nullptr, nullptr));
    ASSERT_TRUE(form);
    HICON big = LoadIconW(nullptr, IDI_WARNING), small = LoadIconW(nullptr, IDI_INFORMATION);
    SendMessageW(form.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(form.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    ComPtr<IDispatch> formObject;
    ASSERT_EQ(S_OK, bk::CreateWindowObject(form.get(), formObject.put()));
    ComPtr<IDispatch> app = FakeApp::Make(L"With icons", 1, 2, 3);
    auto main = Create<_orxMain>(CLSID_orxMain);
    ASSERT_TRUE(main);
    const HRESULT hr = WithAbout(
        [&] {
            const Bstr description(L""), tip(L"Lumen");
            return main->ShowAboutBox(formObject.get(), app.get(), description.get(), nullptr, tip.get());
        },
        [](AboutWindow& about) {
            EXPECT_EQ(L"With icons", about.Text(kMain, ctl::kTitle));
            EXPECT_EQ(L"1.02.0003", about.Text(kMain, ctl::kVersion));
            EXPECT_NE(0, SendMessageW(about.hwnd(), WM_GETICON, ICON_SMALL, 0)) << "the form's small icon";
            EXPECT_NE(0, SendMessageW(about.hwnd(), WM_GETICON, ICON_BIG, 0));
        });
    EXPECT_EQ(S_OK, hr);
}

TEST(AboutDialog, ApplicationObjectErrorsReachTheCaller) {
    auto main = Create<_orxMain>(CLSID_orxMain);
    ASSERT_TRUE(main);
    // An object without Revision: no dialog, the object's error (438) for the caller.
    ComPtr<IDispatch> partial = FakeApp::Make(L"Partial", 1, 2, -1);
    const Bstr empty(L""), tip(L"Lumen");
    const HRESULT hr = main->ShowAboutBox2(nullptr, nullptr, partial.get(), empty.get(), nullptr, tip.get());
    const CallError error = LastError(hr);
    EXPECT_EQ(438, error.number);
    EXPECT_EQ(L"Basekit0308.orxMain", error.source);
    gui::WindowQuery ours;
    ours.title = bk::about::kAboutCaption;
    ours.processId = GetCurrentProcessId();
    EXPECT_TRUE(gui::FindWindows(ours).empty()) << "no dialog";
    // Nothing at all.
    EXPECT_EQ(91, LastError(main->ShowAboutBox(nullptr, nullptr, empty.get(), nullptr, tip.get())).number);
}

TEST(AboutDialog, MSAboutBoxSkipsWhatTheControlLacks) {
    auto main = Create<_orxMain>(CLSID_orxMain);
    ASSERT_TRUE(main);
    // A control with neither AboutBox nor Parent: nothing happens, no error.
    ComPtr<IDispatch> plain = FakeApp::Make(L"Not a control", 1, 0, 0);
    IDispatch* raw = plain.get();
    EXPECT_EQ(S_OK, main->ShowMSAboutBox(&raw));
    IDispatch* nothing = nullptr;
    EXPECT_EQ(S_OK, main->ShowMSAboutBox(&nothing));
}

TEST(AboutDialog, ModulesProcessTimesAndSystemFigures) {
    WithAbout(ShowTitleOnly, [](AboutWindow& about) {
        HWND list = about.Item(kModules, ctl::kModules);
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        ASSERT_GT(count, 2);
        std::wstring all;
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t line[2048] = {};
            if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 2047) SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
            all += line;
            all += L"\n";
        }
        EXPECT_NE(std::wstring::npos, all.find(L"lib_about_gui_test.exe")) << "the program itself";
        EXPECT_NE(std::wstring::npos, all.find(L"Basekit0308.dll"));
        EXPECT_EQ(0, SendMessageW(list, LB_GETCURSEL, 0, 0)) << "the first line is selected";
        EXPECT_GT(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 100) << "the longest line can be scrolled to";

        const std::wregex duration(LR"(\d+:\d\d:\d\d\.\d{1,3})");
        for (int i = 1; i < 5; ++i)
            EXPECT_TRUE(std::regex_match(about.Text(kTimes, ctl::kTimeValueBase + i), duration))
                << about.Text(kTimes, ctl::kTimeValueBase + i);
        const std::wstring created = about.Text(kTimes, ctl::kTimeValueBase);
        EXPECT_NE(L"N/A", created);
        EXPECT_NE(L"*Error*", created);
        EXPECT_EQ(std::wstring::npos, created.find(L'%')) << created;
        EXPECT_EQ(L"Creation time:", about.Text(kTimes, ctl::kTimeCaptionBase));
        EXPECT_EQ(L"User time:", about.Text(kTimes, ctl::kTimeCaptionBase + 3));

        EXPECT_EQ(0u, about.Text(kSystem, ctl::kSystemName).find(L"Microsoft Windows"));
        EXPECT_TRUE(std::regex_match(about.Text(kSystem, ctl::kMemValueBase),
                                     std::wregex(LR"([\d.]+ (bytes|KB|MB|GB|TB) \(\d+%\))")))
            << about.Text(kSystem, ctl::kMemValueBase);
        EXPECT_EQ(L"Free Physical Mem:", about.Text(kSystem, ctl::kMemCaptionBase));
    });
}

// Mouse messages for the icon control, at its centre.
void IconMouse(HWND icon, UINT message, WPARAM keys) {
    RECT r{};
    GetClientRect(icon, &r);
    PostMessageW(icon, message, keys, MAKELPARAM(r.right / 2, r.bottom / 2));
}

// A right-button drag of the icon, dropped over the centre of `target`.
void DragIconTo(const AboutWindow& about, HWND target) {
    // The drop is found under the real cursor: no window of another test may be over the dialog.
    SetWindowPos(about.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND icon = about.Item(ctl::kIcon);
    IconMouse(icon, WM_RBUTTONDOWN, MK_RBUTTON);
    IconMouse(icon, WM_MOUSEMOVE, MK_RBUTTON);
    Sleep(200);
    RECT r{};
    GetWindowRect(target, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Sleep(200);
    IconMouse(icon, WM_RBUTTONUP, 0);
}

TEST(AboutDialog, IconClicksPageOnAndDropsOnOkClose) {
    WithAbout(ShowTitleOnly, [](AboutWindow& about) {
        HWND icon = about.Item(ctl::kIcon);
        ASSERT_TRUE(icon);
        IconMouse(icon, WM_LBUTTONDOWN, MK_LBUTTON);
        IconMouse(icon, WM_LBUTTONUP, 0);
        EXPECT_TRUE(WaitUntil([&] { return about.CurrentPage() == kModules; })) << "a click shows the next page";
        // A double-click: its first click and the double-click each page on.
        IconMouse(icon, WM_LBUTTONDOWN, MK_LBUTTON);
        IconMouse(icon, WM_LBUTTONUP, 0);
        IconMouse(icon, WM_LBUTTONDBLCLK, MK_LBUTTON);
        IconMouse(icon, WM_LBUTTONUP, 0);
        EXPECT_TRUE(WaitUntil([&] { return about.CurrentPage() == kSystem; })) << about.CurrentPage();
        // Dropped on Ok: the dialog goes.
        DragIconTo(about, about.Item(ctl::kOk));
        EXPECT_TRUE(gui::WaitForWindowGone(about.hwnd(), 10000));
    });
}

TEST(AboutDialog, DropOnTheTitleShowsTheHiddenPicture) {
    WithAbout(ShowTitleOnly, [](AboutWindow& about) {
        DragIconTo(about, about.Item(kMain, ctl::kTitle));
        EXPECT_TRUE(WaitUntil([&] { return !OwnVisible(about.Item(ctl::kOk)); })) << "every control is hidden";
        EXPECT_EQ(-1, about.CurrentPage()) << "no page is shown";
        EXPECT_FALSE(OwnVisible(about.Item(ctl::kIcon)));
        // The picture at the top, on black.
        RECT client{};
        GetClientRect(about.hwnd(), &client);
        const auto pixel = [&] {
            HDC dc = GetDC(about.hwnd());
            const COLORREF c = GetPixel(dc, 2, client.bottom - 3);
            ReleaseDC(about.hwnd(), dc);
            return c;
        };
        EXPECT_TRUE(WaitUntil([&] { return pixel() == RGB(0, 0, 0); }, 5000)) << "black below the picture";
        SaveShot(about.hwnd(), L"about-hidden-picture");
        // Esc still closes.
        EXPECT_TRUE(about.Close());
    });
}

TEST(AboutDialog, ScreenshotsOfEveryPage) {
    if (ScreenshotFolder().empty()) GTEST_SKIP() << "BK_SCREENSHOT_DIR names the folder for the pictures";
    Variant title = Variant::FromString(L"Metaview"), none = Variant::Missing();
    Variant major = Variant::FromLong(1), minor = Variant::FromLong(1), revision = Variant::FromLong(17);
    Variant description = Variant::FromString(
        L"Metaview shows the metadata of one file (EXIF, IPTC, XMP and more), read by ExifTool.\r\n\r\n"
        L"Описание на русском: программа показывает метаданные файла.");
    WithAbout(
        [&] {
            return ShowEx({title.get(), none.get(), none.get(), major.get(), minor.get(), revision.get(), none.get(),
                           none.get(), none.get(), description.get()});
        },
        [](AboutWindow& about) {
            static const wchar_t* kNames[] = {L"about-main", L"about-description", L"about-modules",
                                              L"about-times", L"about-system", L"about-update"};
            for (int page = 0; page < 6; ++page) {
                ASSERT_TRUE(about.GoTo(page)) << page;
                SaveShot(about.hwnd(), kNames[page]);
            }
        });
}

}  // namespace
