#include "lib/about/about_dialog.h"

#include <commctrl.h>
#include <olectl.h>
#include <shellapi.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Basekit0308.h"
#include "lib/about/about_figures.h"
#include "lib/about/icon_control.h"
#include "lib/about/module_list.h"
#include "lib/about/update_check.h"
#include "lib/forms/window_object.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/module.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/unknown.h"
#include "support/as/figure_texts.h"
#include "support/as/icons.h"
#include "support/as/numbers.h"
#include "support/as/system_info.h"
#include "support/es/msgbox.h"
#include "support/es/paths.h"
#include "support/es/registry.h"
#include "support/es/screen.h"
#include "support/win/dialog_template.h"
#include "support/win/owner.h"
#include "support/win/screen_dpi.h"
#include "support/win/wait_cursor.h"
#include "support/win/window.h"

namespace bk::about {
namespace {

using support::ComPtr;

constexpr int kPages = 6;
enum Page { kMainPage = 0, kDescriptionPage, kModulesPage, kTimesPage, kSystemPage, kUpdatePage };

constexpr COLORREF kTeal = RGB(0, 128, 128);
constexpr wchar_t kPageClass[] = L"Basekit0308.AboutPage";
constexpr wchar_t kLinkCursor[] = L"MERCURY_CURSOR";
constexpr wchar_t kTimesReadTag[] = L"Okeyo! ^^'";

// The update page's controls of its result layout, hidden until a check succeeds.
constexpr int kResultLayout[] = {control::kUpdateResult,          control::kUpdateURL,
                                 control::kUpdateVersionBase,     control::kUpdateVersionBase + 1,
                                 control::kUpdateVersionBase + 2, control::kUpdateVersionBase + 3};

// Twips of the form as pixels of the screen.
int X(int twips) { return support::TwipsToPixelsX(twips); }
int Y(int twips) { return support::TwipsToPixelsY(twips); }

void DebugLine(const std::wstring& text) { OutputDebugStringW((text + L"\n").c_str()); }

// A picture's Handle (dispatch id 0) and Type (dispatch id 3), read by late binding as any
// picture object answers them.
bool ReadPicture(IPictureDisp* picture, OLE_HANDLE& handle, short& type) {
    handle = 0;
    type = 0;
    if (!picture) return false;
    auto read = [&](DISPID id, VARTYPE vt, support::Variant& out) {
        DISPPARAMS none{};
        support::Variant raw;
        if (FAILED(picture->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, raw.put(), nullptr,
                                   nullptr)))
            return false;
        return SUCCEEDED(VariantChangeType(out.put(), raw.get(), 0, vt));
    };
    support::Variant h, t;
    if (!read(DISPID_PICT_HANDLE, VT_I4, h) || !read(DISPID_PICT_TYPE, VT_I2, t)) return false;
    handle = static_cast<OLE_HANDLE>(V_I4(h.get()));
    type = V_I2(t.get());
    return true;
}

// The size in pixels of a bitmap or icon handle.
SIZE HandleSize(HANDLE handle, short type) {
    SIZE size{};
    if (type == PICTYPE_BITMAP) {
        BITMAP bm{};
        if (GetObjectW(handle, sizeof bm, &bm)) size = {bm.bmWidth, bm.bmHeight};
    } else if (type == PICTYPE_ICON) {
        ICONINFO info{};
        if (GetIconInfo(static_cast<HICON>(handle), &info)) {
            BITMAP bm{};
            if (GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm))
                size = {bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
    }
    return size;
}

void DrawHandle(HDC dc, HANDLE handle, short type, int x, int y) {
    if (type == PICTYPE_BITMAP) {
        support::MemoryDC memory(CreateCompatibleDC(dc));
        if (!memory) return;
        const SIZE size = HandleSize(handle, type);
        const support::SelectedObject selected = support::Select(memory.get(), handle);
        BitBlt(dc, x, y, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY);
    } else if (type == PICTYPE_ICON) {
        DrawIconEx(dc, x, y, static_cast<HICON>(handle), 0, 0, 0, nullptr, DI_NORMAL);
    }
}

std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool OwnVisible(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// 100-nanosecond units of a FILETIME.
double FileTimeUnits(const FILETIME& t) {
    return support::asLargeIntegerToDouble(static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                                                      t.dwLowDateTime));
}

// The creation time as the user's short date and time: "N/A" for no time, "*Error*" when a
// conversion fails.
std::wstring FormatFileTimeLocal(const FILETIME& time) {
    if (time.dwLowDateTime == 0 && time.dwHighDateTime == 0) return std::wstring(kNotAvailable);
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&time, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return std::wstring(kFigureError);
    wchar_t date[128], clock[128];
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128) ||
        !GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, clock, 128))
        return std::wstring(kFigureError);
    return DateTimeText(date, clock);
}

// EnumThreadWindows: the visible, enabled windows other than the dialog.
BOOL CALLBACK CollectEnabledWindow(HWND w, LPARAM p) {
    auto* search = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(p);
    if (w != search->first && IsWindowVisible(w) && IsWindowEnabled(w)) search->second->push_back(w);
    return TRUE;
}

bool HostIsNT() { return (GetVersion() & 0x80000000u) == 0; }

// A page: a plain container that hands its controls' notifications and colour questions on
// to the dialog, and draws its etched separator lines.
class AboutPage final : public support::WindowBase {
public:
    static bool Register() {
        WNDCLASSEXW wc{};
        wc.hInstance = ModuleInstance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kPageClass;
        return RegisterWindowClass(wc);
    }
    HWND Create(HWND dialog, int id, const RECT& place) {
        return CreateOwnWindow(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance());
    }
    // An etched line across the page at `top` twips, from `left` to `right` twips.
    void AddLine(int top, int left, int right) { lines_.push_back({top, left, right}); }

private:
    struct Line {
        int top, left, right;
    };
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetParent(hwnd()), message, wParam, lParam);
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) != hwnd() && SendMessageW(GetParent(hwnd()), message, wParam, lParam))
                return TRUE;
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd(), &ps);
            for (const Line& l : lines_) {
                RECT r{X(l.left), Y(l.top), X(l.right), Y(l.top) + 2};
                DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
            }
            EndPaint(hwnd(), &ps);
            return 0;
        }
        default:
            break;
        }
        return DefaultHandling(message, wParam, lParam);
    }
    std::vector<Line> lines_;
};

// The read-only description box refuses Shift+Insert, like the caller's text boxes that
// orxMain guards: the system's own read-only EDIT already ignores pasting, so the hook only
// has to swallow the key before anything else sees it.
class DescriptionHook final : public support::Subclass {
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN && wParam == VK_INSERT && (GetKeyState(VK_SHIFT) & 0x8000)) return 0;
        if (message == WM_PASTE) return 0;
        return DefaultHandling(message, wParam, lParam);
    }
};

class AboutDialog;

// The dialog's sink for the tab control's TabShown event.
class TabSink final : public UnknownObject<TabSink, IDispatch> {
public:
    explicit TabSink(AboutDialog* owner) : owner_(owner) {}
    void* QueryExtra(REFIID iid) {
        return iid == DIID___orxTabControl ? static_cast<IDispatch*>(this) : nullptr;
    }
    void Detach() { owner_ = nullptr; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

private:
    AboutDialog* owner_;
};

class AboutDialog final : public support::DialogBase, public IconControlHost {
public:
    explicit AboutDialog(const AboutContent& content) : content_(content) {}
    ~AboutDialog() override;

    // Load: the window with its controls, hidden and centred.
    bool Load();
    // Steps 2 to 10 of filling the dialog: each one on its own.
    void Fill();
    // Builds the page cycle and reads the figures; fails when the tab control cannot be made.
    HRESULT InitTabs();
    // Runs the modal loop until the dialog is closed; the HRESULT of a failure to show it.
    HRESULT ShowModal();
    void Unload();

    void OnTabShown(LONG tab);

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Creating the controls.
    HWND Child(HWND parent, const wchar_t* cls, int id, const std::wstring& text, DWORD style, int left, int top,
               int width, int height, HFONT font, DWORD exStyle = 0);
    HWND Label(HWND parent, int id, const std::wstring& text, int left, int top, int width, int height,
               HFONT font = nullptr, DWORD extra = 0);
    void CreateControls();
    HFONT MakeFont(const wchar_t* face, double points, bool bold, BYTE pitchAndFamily = DEFAULT_PITCH | FF_SWISS);

    // Filling and reading the figures.
    void SetDedicationPicture();
    void FillModulesList();
    void FillSystemInfo();
    void FillProcessTimes();
    void SetFormIcon(IPictureDisp* picture);

    // Events.
    bool PreviewKey(const MSG& msg);
    void PopNext();
    void PopPrev();
    void Close() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }
    void OnCommand(int id, int code, HWND control);
    void OnEMailClick();
    void OnModulesDoubleClick();
    void OnUpdateCheck();
    void ShowUpdateView(const UpdatePageView& view);
    bool OnSetCursor(HWND under);
    void Drop(HWND target);
    void ShowHiddenPicture();
    void PaintForm(HDC dc);

    void IconClick(IconControl&) override { PopNext(); }
    void IconDblClick(IconControl&) override { PopNext(); }
    void IconMouseDown(IconControl& icon, IconMouseArgs&) override {
        // A drag whose release never came (the capture went elsewhere) ends at the next press.
        if (dragging_) {
            dragging_ = false;
            icon.SetMousePointer(IconControl::kDefaultPointer);
        }
    }
    void IconMouseMove(IconControl&, IconMouseArgs& args) override;
    void IconMouseUp(IconControl&, IconMouseArgs& args) override;

    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    HWND PageItem(int page, int id) const { return GetDlgItem(pages_[page]->hwnd(), id); }

    AboutContent content_;
    bool closed_ = false;
    bool loaded_ = false;
    LONG appMajor_ = 0, appMinor_ = 0, appRevision_ = 0;  // AppMajor, AppMinor, AppRevision
    std::wstring updateFileUrl_;
    std::wstring processTimesTag_;
    std::array<std::unique_ptr<AboutPage>, kPages> pages_;
    std::array<ComPtr<IDispatch>, kPages> pageObjects_;
    IconControl icon_;
    DescriptionHook descriptionHook_;
    ComPtr<_orxTabControl> tabs_;
    ComPtr<TabSink> sink_;
    DWORD sinkCookie_ = 0;
    std::unique_ptr<ModuleList> modules_;
    ComPtr<IPictureDisp> formIcon_;
    ComPtr<IPictureDisp> lumenPicture_;  // the picture imgLumen shows
    support::GdiObject<HBITMAP> lumenBitmap_, hiddenBitmap_;
    HWND tooltips_ = nullptr;
    std::vector<support::GdiObject<HFONT>> fonts_;
    HFONT labelFont_ = nullptr;
    support::GdiObject<HFONT> underlined_;
    support::GdiObject<HBRUSH> tealBrush_, blackBrush_;
    HCURSOR linkCursor_ = nullptr;
    bool emailLink_ = false, urlLink_ = false;
    bool dragging_ = false;
    bool hiddenPicture_ = false;
    bool checking_ = false;
};

HRESULT STDMETHODCALLTYPE TabSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                          UINT*) {
    if (id != 1 || !params || params->cArgs != 1 || !params->rgvarg) return S_OK;
    support::Variant tab;
    if (FAILED(VariantChangeType(tab.put(), &params->rgvarg[0], 0, VT_I4))) return S_OK;
    if (owner_) owner_->OnTabShown(V_I4(tab.get()));
    return S_OK;
}

AboutDialog::~AboutDialog() {
    Unload();
    if (HWND window = hwnd()) DestroyWindow(window);
    UnregisterClassW(kPageClass, ModuleInstance());  // refused while another dialog's pages live
}

HFONT AboutDialog::MakeFont(const wchar_t* face, double points, bool bold, BYTE pitchAndFamily) {
    // The family tells the font mapper what to take where the face is missing: a serif for
    // the title, a fixed-pitch font for the module list, whose columns must line up.
    fonts_.emplace_back(CreateFontW(support::FontHeightForPoints(points), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                                    FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, pitchAndFamily, face));
    return fonts_.back().get();
}

bool AboutDialog::Load() {
    if (!AboutPage::Register()) return false;
    support::DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN,
                              WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, L"About MyApp");
    t.Font(8, L"Tahoma");
    return CreateModeless(nullptr, t.Build(), ModuleInstance()) != nullptr;
}

HWND AboutDialog::Child(HWND parent, const wchar_t* cls, int id, const std::wstring& text, DWORD style, int left,
                        int top, int width, int height, HFONT font, DWORD exStyle) {
    HWND w = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, X(left), Y(top), X(width),
                             Y(height), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(),
                             nullptr);
    if (w && font) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return w;
}

HWND AboutDialog::Label(HWND parent, int id, const std::wstring& text, int left, int top, int width, int height,
                        HFONT font, DWORD extra) {
    return Child(parent, L"STATIC", id, text, SS_LEFT | SS_NOPREFIX | extra, left, top, width, height,
                 font ? font : labelFont_);
}

void AboutDialog::CreateControls() {
    HWND dialog = hwnd();
    HFONT formFont = MakeFont(L"Tahoma", 8.25, false);
    labelFont_ = MakeFont(L"Tahoma", 9.75, false);
    HFONT titleFont = MakeFont(L"Times New Roman", 12, true, VARIABLE_PITCH | FF_ROMAN);
    HFONT listFont = MakeFont(L"Courier New", 9, false, FIXED_PITCH | FF_MODERN);
    HFONT descriptionFont = MakeFont(L"Tahoma", 9, false);
    tealBrush_.reset(CreateSolidBrush(kTeal));
    blackBrush_.reset(CreateSolidBrush(RGB(0, 0, 0)));
    linkCursor_ = static_cast<HCURSOR>(LoadImageW(ModuleInstance(), kLinkCursor, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));

    // The client area: 5775 x 2415 twips.
    RECT frame{0, 0, X(5775), Y(2415)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Outside the pages: the icon on its band, the buttons.
    icon_.SetBackColor(kTeal);
    icon_.SetHost(this);
    icon_.Create(dialog, control::kIcon, RECT{X(300), Y(300), X(300 + 615), Y(300 + 615)}, this);
    Child(dialog, L"BUTTON", control::kOk, L"Ok", WS_TABSTOP | BS_DEFPUSHBUTTON, 2880, 1980, 1365, 345, formFont);
    Child(dialog, L"BUTTON", control::kSysInfo, L"&System Info...", WS_TABSTOP | BS_PUSHBUTTON, 4320, 1980, 1365, 345,
          formFont);

    // The pages, all at the place of the first one.
    static constexpr const wchar_t* kPageCaptions[kPages] = {L"Main tab", L"Description", L"Modules list",
                                                             L"Process Times Info", L"System Info", L"Update check"};
    for (int i = 0; i < kPages; ++i) {
        pages_[i] = std::make_unique<AboutPage>();
        HWND page = pages_[i]->Create(dialog, control::kPageBase + i, RECT{X(1080), Y(120), X(1080 + 4635), Y(120 + 1695)});
        SetWindowTextW(page, kPageCaptions[i]);
        CreateWindowObject(page, pageObjects_[i].put());
    }
    HWND main = pages_[kMainPage]->hwnd();
    Label(main, control::kTitle, L"Application Title", 120, 60, 4400, 360, titleFont, SS_NOTIFY);
    Label(main, control::kVersionCaption, L"Версия:", 120, 540, 1020, 270);
    Label(main, control::kVersion, L"%VERSION%", 1200, 540, 2280, 270);
    Label(main, control::kAuthorCaption, L"Автор:", 120, 840, 1020, 270);
    Label(main, control::kAuthor, L"%AUTHOR%", 1200, 840, 2280, 270);
    Label(main, control::kEMailCaption, L"E-Mail:", 120, 1140, 1020, 270);
    Label(main, control::kEMail, L"%EMAIL%", 1200, 1140, 2280, 270, nullptr, SS_NOTIFY);
    Label(main, control::kDevote, L"Devote", 120, 1440, 3360, 270, nullptr, SS_NOTIFY);
    Child(main, L"STATIC", control::kLumen, L"", SS_OWNERDRAW | SS_NOTIFY, 3540, 660, 1020, 990, nullptr);

    HWND description = Child(pages_[kDescriptionPage]->hwnd(), L"EDIT", control::kDescription, L"",
                             WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 4635, 1695,
                             descriptionFont, WS_EX_CLIENTEDGE);
    SendMessageW(description, EM_SETLIMITTEXT, 0, 0);
    descriptionHook_.Attach(description);

    Child(pages_[kModulesPage]->hwnd(), L"LISTBOX", control::kModules, L"",
          WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 4635, 1695, listFont,
          WS_EX_CLIENTEDGE);

    HWND times = pages_[kTimesPage]->hwnd();
    static constexpr const wchar_t* kTimeCaptions[5] = {L"Creation time:", L"Total time:", L"Kernel time:",
                                                        L"User time:", L"Total time:"};
    static constexpr int kTimeRows[5] = {60, 300, 780, 1020, 1260};
    for (int i = 0; i < 5; ++i) {
        Label(times, control::kTimeCaptionBase + i, kTimeCaptions[i], 120, kTimeRows[i], 1400, 240);
        Label(times, control::kTimeValueBase + i, L"%TIME_" + std::to_wstring(i + 1) + L"%", 1560, kTimeRows[i], 2960, 240);
    }
    pages_[kTimesPage]->AddLine(630, 60, 4575);

    HWND system = pages_[kSystemPage]->hwnd();
    Label(system, control::kSystemName, L"%WINDOWS_VERSION%\r\n%SERVICE_PACK%", 120, 60, 4400, 500);
    static constexpr const wchar_t* kMemCaptions[3] = {L"Free Physical Mem:", L"Page File Usage:", L"Reserved Virtual:"};
    static constexpr int kMemRows[3] = {780, 1020, 1260};
    for (int i = 0; i < 3; ++i) {
        Label(system, control::kMemCaptionBase + i, kMemCaptions[i], 120, kMemRows[i], 1800, 240);
        Label(system, control::kMemValueBase + i, L"%MEM_" + std::to_wstring(i + 1) + L"%", 1980, kMemRows[i], 2540, 240);
    }
    pages_[kSystemPage]->AddLine(630, 60, 4575);

    HWND update = pages_[kUpdatePage]->hwnd();
    Label(update, control::kUpdateInfo, std::wstring(kUpdateInfoCaption), 120, 60, 4400, 1080);
    Child(update, L"BUTTON", control::kUpdateCheck, L"Проверить обновление", WS_TABSTOP | BS_PUSHBUTTON, 120, 1230, 2400,
          345, formFont);
    Label(update, control::kUpdateResult, L"...", 120, 60, 4400, 480, nullptr, 0);
    Label(update, control::kUpdateVersionBase + 0, L"Локальная версия:", 120, 600, 1900, 240);
    Label(update, control::kUpdateVersionBase + 1, L"Версия на сайте:", 120, 870, 1900, 240);
    Label(update, control::kUpdateVersionBase + 2, L"0.00.0000", 2100, 600, 2300, 240);
    Label(update, control::kUpdateVersionBase + 3, L"0.00.0000", 2100, 870, 2300, 240);
    Label(update, control::kUpdateURL, std::wstring(kMakerSiteAddress), 120, 1260, 4400, 240, nullptr, SS_NOTIFY);
    for (int id : kResultLayout)
        ShowWindow(GetDlgItem(update, id), SW_HIDE);

    // Tool-tips of the dedication picture and of the update button.
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                                0, 0, dialog, nullptr, ModuleInstance(), nullptr);
}

bool AddToolTip(HWND tooltips, HWND owner, HWND tool, const std::wstring& text) {
    if (!tooltips || !tool) return false;
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tooltips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void AboutDialog::SetFormIcon(IPictureDisp* picture) {
    formIcon_ = ComPtr<IPictureDisp>::Share(picture);
    OLE_HANDLE handle = 0;
    short type = 0;
    HICON icon = nullptr;
    if (picture && ReadPicture(picture, handle, type)) icon = reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle));
    support::asSetWindowIconAll(hwnd(), icon, icon);
}

void AboutDialog::Fill() {
    SetWindowTextW(hwnd(), kAboutCaption);
    HWND main = pages_[kMainPage]->hwnd();
    SetDlgItemTextW(main, control::kTitle, content_.title.c_str());
    SetDlgItemTextW(main, control::kAuthor, content_.author.c_str());

    // The e-mail line, or the dedication moved up into its place.
    HWND emailCaption = GetDlgItem(main, control::kEMailCaption), email = GetDlgItem(main, control::kEMail);
    HWND devote = GetDlgItem(main, control::kDevote);
    if (content_.email.empty()) {
        ShowWindow(emailCaption, SW_HIDE);
        ShowWindow(email, SW_HIDE);
        RECT a{}, b{};
        GetWindowRect(devote, &a);
        GetWindowRect(emailCaption, &b);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&a), 2);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&b), 2);
        SetWindowPos(devote, nullptr, a.left, b.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(emailCaption, nullptr, b.left, a.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowTextW(email, content_.email.c_str());
        LOGFONTW lf{};
        GetObjectW(labelFont_, sizeof lf, &lf);
        lf.lfUnderline = TRUE;
        underlined_.reset(CreateFontIndirectW(&lf));
        SendMessageW(email, WM_SETFONT, reinterpret_cast<WPARAM>(underlined_.get()), TRUE);
        emailLink_ = true;
    }

    // The window icon: the small icon, or none.
    SetFormIcon(content_.smallIcon.get());

    // The large icon: the caller's, or the library's own; it is also the drag image.
    ComPtr<IPictureDisp> large = content_.icon;
    if (!large) support::asLoadResIconEx(L"LUMEN_0000", ModuleInstance(), large.put());
    icon_.SetPicture(large.get());

    SetWindowTextW(devote, content_.devote.c_str());
    AddToolTip(tooltips_, main, GetDlgItem(main, control::kLumen), content_.pictureToolTip);
    SetDedicationPicture();

    SetDlgItemTextW(main, control::kVersion,
                    support::asFormatVersion(content_.major, content_.minor, content_.revision).c_str());
    appMajor_ = content_.major;
    appMinor_ = content_.minor;
    appRevision_ = content_.revision;

    SetDlgItemTextW(pages_[kDescriptionPage]->hwnd(), control::kDescription, content_.description.c_str());
}

void AboutDialog::SetDedicationPicture() {
    HWND main = pages_[kMainPage]->hwnd();
    HWND lumen = GetDlgItem(main, control::kLumen);
    if (!content_.picture) {
        // The library's own picture at its designed place.
        lumenBitmap_.reset(static_cast<HBITMAP>(LoadImageW(ModuleInstance(), L"LUMEN_0000", IMAGE_BITMAP, 0, 0, 0)));
        ShowWindow(lumen, SW_SHOWNA);
        return;
    }
    OLE_HANDLE handle = 0;
    short type = 0;
    if (!ReadPicture(content_.picture.get(), handle, type) || handle == 0 || type < 1) {
        ShowWindow(lumen, SW_HIDE);  // an empty picture: the place stays blank
        return;
    }
    lumenPicture_ = content_.picture;
    const SIZE size = HandleSize(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), type);
    RECT page{};
    GetClientRect(main, &page);
    // Into the page's lower right corner: 5 pixels from its right, 3 from its bottom.
    SetWindowPos(lumen, HWND_TOP, page.right - size.cx - 5, page.bottom - size.cy - 3, size.cx, size.cy,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

HRESULT AboutDialog::InitTabs() {
    FillModulesList();
    FillSystemInfo();
    FillProcessTimes();

    ComPtr<_orxTabControl> tabs;
    if (HRESULT hr = CreateOrxTabControl(__uuidof(_orxTabControl), tabs.put_void()); FAILED(hr)) return hr;
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (HRESULT hr = tabs.As(container); FAILED(hr)) return hr;
    if (HRESULT hr = container->FindConnectionPoint(DIID___orxTabControl, point.put()); FAILED(hr)) return hr;
    sink_ = ComPtr<TabSink>::Attach(new TabSink(this));
    if (HRESULT hr = point->Advise(static_cast<IDispatch*>(sink_.get()), &sinkCookie_); FAILED(hr)) return hr;
    tabs_ = tabs;

    RECT first{};
    GetWindowRect(pages_[kMainPage]->hwnd(), &first);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&first), 2);
    for (int i = 0; i < kPages; ++i) {
        bool used = true;
        switch (i) {
        case kDescriptionPage:
            used = GetWindowTextLengthW(PageItem(i, control::kDescription)) > 0;
            break;
        case kModulesPage:
            used = SendMessageW(PageItem(i, control::kModules), LB_GETCOUNT, 0, 0) > 0;
            break;
        case kTimesPage:
            used = !processTimesTag_.empty();
            break;
        case kUpdatePage: {
            const std::wstring name = GetAppInternalName();
            used = !name.empty();
            if (used) {
                HWND info = PageItem(i, control::kUpdateInfo);
                SetWindowTextW(info, PreparedUpdateInfo(WindowTextOf(info), name).c_str());
                updateFileUrl_ = VersionFileUrl(UpdateHost(), name);
                AddToolTip(tooltips_, pages_[i]->hwnd(), PageItem(i, control::kUpdateCheck), updateFileUrl_);
            }
            break;
        }
        default:
            break;
        }
        HWND page = pages_[i]->hwnd();
        if (used) {
            if (HRESULT hr = tabs_->AddTab(pageObjects_[i].get(), VARIANT_TRUE); FAILED(hr)) return hr;
            SetWindowPos(page, nullptr, first.left, first.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            ShowWindow(page, SW_HIDE);
        }
    }
    return tabs_->PopTab(1, VARIANT_FALSE, VARIANT_TRUE);
}

void AboutDialog::FillModulesList() {
    HWND list = PageItem(kModulesPage, control::kModules);
    std::unique_ptr<ModuleList> modules;
    if (HostIsNT()) {
        std::unique_ptr<CPSAPIInfo> status;
        if (CPSAPIInfo::Create(status).ok() && status && status->ModulesCount() > 0) modules = std::move(status);
    }
    if (!modules) modules = std::make_unique<CToolHelpInfo>();
    std::int32_t longestName = 0;
    for (const CModuleEntry& e : modules->Entries())
        longestName = std::max(longestName, static_cast<std::int32_t>(e.Name.size()));
    size_t longestLine = 0;
    for (const CModuleEntry& e : modules->Entries()) {
        const std::wstring line = e.toString(longestName);
        longestLine = std::max(longestLine, line.size());
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    if (SendMessageW(list, LB_GETCOUNT, 0, 0) > 0) SendMessageW(list, LB_SETCURSEL, 0, 0);
    modules_ = std::move(modules);
    if (longestLine > 0) {
        // Room to scroll the longest line into view: the width of one blank more than it holds.
        support::WindowDC dc = support::GetWindowDC(list);
        if (dc.valid()) {
            const support::SelectedObject font =
                support::Select(dc.get().dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
            const std::wstring blanks(longestLine + 1, L' ');
            SIZE extent{};
            if (GetTextExtentPoint32W(dc.get().dc, blanks.c_str(), static_cast<int>(blanks.size()), &extent))
                SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent.cx), 0);
        }
    }
}

void AboutDialog::FillSystemInfo() {
    HWND page = pages_[kSystemPage]->hwnd();
    SetDlgItemTextW(page, control::kSystemName, support::asGetHostOSFullName(true, true).c_str());
    support::MemoryStatus m;
    if (!support::asGlobalMemoryStatus(m)) return;
    SetDlgItemTextW(page, control::kMemValueBase + 0,
                    FreePhysicalMemoryText(support::asFormatByteSizeEx(m.availablePhysical), m.memoryLoad).c_str());
    const auto used = [](std::uint64_t total, std::uint64_t available) { return total > available ? total - available : 0; };
    SetDlgItemTextW(page, control::kMemValueBase + 1,
                    support::asFormatByteSizeEx(used(m.totalPageFile, m.availablePageFile)).c_str());
    SetDlgItemTextW(page, control::kMemValueBase + 2,
                    support::asFormatByteSizeEx(used(m.totalVirtual, m.availableVirtual)).c_str());
}

void AboutDialog::FillProcessTimes() {
    if (!HostIsNT()) return;
    FILETIME creation{}, exit{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user)) return;
    HWND page = pages_[kTimesPage]->hwnd();
    SetDlgItemTextW(page, control::kTimeValueBase + 0, FormatFileTimeLocal(creation).c_str());
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto units = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    SetDlgItemTextW(page, control::kTimeValueBase + 1,
                    FormatDuration(ElapsedUnits(units(creation), units(exit), units(now))).c_str());
    SetDlgItemTextW(page, control::kTimeValueBase + 2, FormatDuration(FileTimeUnits(kernel)).c_str());
    SetDlgItemTextW(page, control::kTimeValueBase + 3, FormatDuration(FileTimeUnits(user)).c_str());
    SetDlgItemTextW(page, control::kTimeValueBase + 4,
                    FormatDuration(FileTimeUnits(kernel) + FileTimeUnits(user)).c_str());
    processTimesTag_ = kTimesReadTag;
}

void AboutDialog::OnTabShown(LONG) {
    for (int i = 0; i < kPages; ++i) {
        if (!pages_[i] || !OwnVisible(pages_[i]->hwnd())) continue;
        HWND focus = Item(control::kOk);
        if (i == kDescriptionPage) {
            focus = PageItem(i, control::kDescription);
            SendMessageW(focus, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
        } else if (i == kModulesPage) {
            focus = PageItem(i, control::kModules);
        } else if (i == kUpdatePage) {
            HWND check = PageItem(i, control::kUpdateCheck);
            if (OwnVisible(check)) focus = check;
        }
        SetFocus(focus);
    }
}

void AboutDialog::PopNext() {
    if (tabs_ && !hiddenPicture_) tabs_->PopNextTab(VARIANT_FALSE, VARIANT_TRUE);
}

void AboutDialog::PopPrev() {
    if (tabs_ && !hiddenPicture_) tabs_->PopPrevTab(VARIANT_FALSE, VARIANT_TRUE);
}

bool AboutDialog::PreviewKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
    if ((GetKeyState(VK_SHIFT) | GetKeyState(VK_CONTROL) | GetKeyState(VK_MENU)) & 0x8000) return false;
    switch (msg.wParam) {
    case VK_PRIOR:
        PopPrev();
        return true;
    case VK_NEXT:
        PopNext();
        return true;
    case VK_ESCAPE:
        Close();
        return true;
    default:
        return false;
    }
}

HRESULT AboutDialog::ShowModal() {
    HWND dialog = hwnd();
    if (!dialog) return RuntimeErrorHResult(kErrObjectNotSet);
    if (IsWindowVisible(dialog)) return RuntimeErrorHResult(kErrFormAlreadyShown);
    // Modal without an owner form: every other window of the thread waits, and the one that
    // was active is active again afterwards.
    HWND previous = GetActiveWindow();
    std::vector<HWND> disabled;
    std::pair<HWND, std::vector<HWND>*> search(dialog, &disabled);
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&search));
    for (HWND w : disabled) EnableWindow(w, FALSE);

    closed_ = false;
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    if (tabs_) {
        LONG current = 0;
        if (SUCCEEDED(tabs_->get_CurrentTab(&current))) OnTabShown(current);  // the focus, now that it can be given
    }
    MSG msg{};
    bool quit = false;
    while (!closed_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got == -1) break;
        if (PreviewKey(msg)) continue;
        if (IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (HWND w : disabled)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    ShowWindow(dialog, SW_HIDE);
    if (previous && previous != dialog && IsWindow(previous)) SetActiveWindow(previous);
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that waits for it
    return S_OK;
}

void AboutDialog::Unload() {
    if (!loaded_) return;
    loaded_ = false;
    if (tabs_ && sinkCookie_) {
        ComPtr<IConnectionPointContainer> container;
        ComPtr<IConnectionPoint> point;
        if (SUCCEEDED(tabs_.As(container)) && SUCCEEDED(container->FindConnectionPoint(DIID___orxTabControl, point.put())))
            point->Unadvise(sinkCookie_);
    }
    if (sink_) sink_->Detach();
    sink_.reset();
    tabs_.reset();
    descriptionHook_.Detach();
    if (hwnd()) SetFormIcon(nullptr);
    if (tooltips_) DestroyWindow(tooltips_);
    tooltips_ = nullptr;
}

void AboutDialog::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case control::kOk:
    case IDCANCEL:
        if (code == BN_CLICKED) Close();
        return;
    case control::kSysInfo:
        if (code == BN_CLICKED) ShowSystemInfo(hwnd());
        return;
    case control::kEMail:
        if (code == STN_CLICKED) OnEMailClick();
        return;
    case control::kUpdateURL:
        if (code == STN_CLICKED)
            ShellExecuteW(hwnd(), L"open", WindowTextOf(control).c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
        return;
    case control::kUpdateCheck:
        if (code == BN_CLICKED) OnUpdateCheck();
        return;
    case control::kModules:
        if (code == LBN_DBLCLK) OnModulesDoubleClick();
        return;
    default:
        return;
    }
}

void AboutDialog::OnEMailClick() {
    const std::wstring address = WindowTextOf(PageItem(kMainPage, control::kEMail));
    if (address.empty()) return;
    ShellExecuteW(hwnd(), L"open", (L"mailto:" + address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void AboutDialog::OnModulesDoubleClick() {
    if (!modules_) return;
    const LRESULT index = SendMessageW(PageItem(kModulesPage, control::kModules), LB_GETCURSEL, 0, 0);
    const CModuleEntry* entry = nullptr;
    if (index < 0 || !modules_->ModuleItem(static_cast<std::int32_t>(index), entry).ok() || !entry) return;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;  // 12: the item's own context-menu verb
    info.hwnd = hwnd();
    info.lpVerb = L"properties";
    info.lpFile = entry->FileName.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
}

void AboutDialog::OnUpdateCheck() {
    if (checking_) return;
    checking_ = true;
    // The download blocks this thread: nothing of the dialog may run meanwhile.
    EnableWindow(hwnd(), FALSE);
    const VersionFetch fetch = FetchVersionFile(updateFileUrl_);
    EnableWindow(hwnd(), TRUE);
    checking_ = false;
    ShowUpdateView(UpdateCheckView(fetch, VersionNumbers{appMajor_, appMinor_, appRevision_}, &ConvertVersionPart));
}

void AboutDialog::ShowUpdateView(const UpdatePageView& view) {
    HWND page = pages_[kUpdatePage]->hwnd();
    if (!view.resultLayout) {
        SetDlgItemTextW(page, control::kUpdateInfo, view.info.c_str());
        return;
    }
    HWND url = GetDlgItem(page, control::kUpdateURL);
    if (!underlined_) {
        LOGFONTW lf{};
        GetObjectW(labelFont_, sizeof lf, &lf);
        lf.lfUnderline = TRUE;
        underlined_.reset(CreateFontIndirectW(&lf));
    }
    SendMessageW(url, WM_SETFONT, reinterpret_cast<WPARAM>(underlined_.get()), TRUE);
    urlLink_ = true;
    const bool hadFocus = GetFocus() == GetDlgItem(page, control::kUpdateCheck);
    ShowWindow(GetDlgItem(page, control::kUpdateCheck), SW_HIDE);
    ShowWindow(GetDlgItem(page, control::kUpdateInfo), SW_HIDE);
    SetDlgItemTextW(page, control::kUpdateResult, view.result.c_str());
    SetDlgItemTextW(page, control::kUpdateVersionBase + 2, view.localVersion.c_str());
    SetDlgItemTextW(page, control::kUpdateVersionBase + 3, view.siteVersion.c_str());
    for (int id : kResultLayout)
        ShowWindow(GetDlgItem(page, id), SW_SHOWNA);
    if (hadFocus) SetFocus(Item(control::kOk));  // the button is gone
}

bool AboutDialog::OnSetCursor(HWND under) {
    if (support::AnswerSetCursor()) return true;
    if (!linkCursor_) return false;
    const int id = GetDlgCtrlID(under);
    if ((id == control::kEMail && emailLink_ && GetParent(under) == pages_[kMainPage]->hwnd()) ||
        (id == control::kUpdateURL && urlLink_)) {
        SetCursor(linkCursor_);
        return true;
    }
    return false;
}

void AboutDialog::IconMouseMove(IconControl& icon, IconMouseArgs& args) {
    // Only the right button, no Shift, Ctrl or Alt: a manual drag with the large icon as image.
    if (dragging_ || args.button != kRightButton || args.shift != 0) return;
    dragging_ = true;
    icon.SetMouseIcon(icon.Picture().get());
    icon.SetMousePointer(IconControl::kCustomPointer);
    if (ComPtr<IPictureDisp> p = icon.Picture()) {
        OLE_HANDLE handle = 0;
        short type = 0;
        if (ReadPicture(p.get(), handle, type) && type == PICTYPE_ICON)
            SetCursor(reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)));
    }
}

void AboutDialog::IconMouseUp(IconControl& icon, IconMouseArgs& args) {
    if (!dragging_ || args.button != kRightButton) return;
    dragging_ = false;
    icon.SetMousePointer(IconControl::kDefaultPointer);
    POINT at{};
    GetCursorPos(&at);
    // The labels that take drops answer the mouse (SS_NOTIFY), so the point finds them.
    HWND target = WindowFromPoint(at);
    Drop(target);
}

void AboutDialog::Drop(HWND target) {
    if (!target) return;
    const int id = GetDlgCtrlID(target);
    const bool onMain = GetParent(target) == pages_[kMainPage]->hwnd();
    int egg = 0;
    if (onMain && id == control::kTitle) egg = 1;
    else if (onMain && id == control::kLumen) egg = 2;
    else if (target == Item(control::kSysInfo)) egg = 3;
    else if (target == Item(control::kOk)) egg = 4;
    if (!egg) return;
    DebugLine(L"Easter egg " + std::to_wstring(egg) + L"/4 detected!");
    if (egg == 1) ShowHiddenPicture();
    if (egg == 4) Close();
    // 2 and 3 would show dialogs of other libraries of the family, which are not delivered.
}

void AboutDialog::ShowHiddenPicture() {
    hiddenBitmap_.reset(static_cast<HBITMAP>(LoadImageW(ModuleInstance(), L"LUMEN_0001", IMAGE_BITMAP, 0, 0, 0)));
    hiddenPicture_ = true;
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ShowWindow(child, SW_HIDE);
    SetFocus(hwnd());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void AboutDialog::PaintForm(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (hiddenPicture_) {
        FillRect(dc, &client, blackBrush_.get());
        if (hiddenBitmap_) {
            // Centred for a picture 290 pixels wide, at the top.
            const double tppx = support::esScreenTwipsPerPixelX();
            const long innerTwips = std::lround(client.right * tppx);
            const long leftTwips = std::lround(innerTwips - 290 * tppx) / 2;
            DrawHandle(dc, hiddenBitmap_.get(), PICTYPE_BITMAP, static_cast<int>(std::lround(leftTwips / tppx)), 0);
        }
        return;
    }
    // The teal band behind the icon and the etched line above the buttons.
    RECT band{X(120), Y(120), X(120 + 855), Y(120 + 1635)};
    FillRect(dc, &band, tealBrush_.get());
    RECT edge{X(90), Y(1845), X(5654), Y(1845) + 2};
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_TOP);
}

INT_PTR AboutDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        CreateControls();
        support::esCenterFormEx(hwnd(), 0);
        support::asSetWindowIconAll(hwnd(), nullptr, nullptr);  // the form's own icon is cleared
        loaded_ = true;
        return FALSE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_CLOSE:
        closed_ = true;
        return TRUE;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, hiddenPicture_ ? blackBrush_.get() : GetSysColorBrush(COLOR_BTNFACE));
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, 1);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        PaintForm(dc);
        EndPaint(hwnd(), &ps);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != control::kLumen) return FALSE;
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        if (lumenPicture_) {
            OLE_HANDLE handle = 0;
            short type = 0;
            if (ReadPicture(lumenPicture_.get(), handle, type))
                DrawHandle(item->hDC, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), type, 0, 0);
        } else if (lumenBitmap_) {
            DrawHandle(item->hDC, lumenBitmap_.get(), PICTYPE_BITMAP, 0, 0);
        }
        return TRUE;
    }
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam))) {
            SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        Unload();
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

HRESULT RealShowAboutBox(const AboutContent& content) {
    AboutDialog dialog(content);
    if (!dialog.Load()) return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_CANNOT_MAKE);
    dialog.Fill();
    if (HRESULT hr = dialog.InitTabs(); FAILED(hr)) return hr;
    HRESULT shown = dialog.ShowModal();
    if (shown == RuntimeErrorHResult(kErrArgumentCount)) {
        DebugLine(L"RealShowAboutBox() ==> 450: " + std::wstring(RuntimeErrorText(kErrArgumentCount)));
        dialog.ShowModal();
    }
    dialog.Unload();
    return S_OK;
}

void ShowSystemInfo(HWND owner) {
    bool found = false;
    std::wstring program = support::esReadStringFromRegistry(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                                                             L"PATH", L"", &found);
    if (!found) {
        const std::wstring folder = support::esReadStringFromRegistry(
            HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO", L"", &found);
        program = found ? support::esBuildFileName(folder, L"MSINFO32.EXE") : std::wstring();
    }
    if (!program.empty()) {
        wchar_t current[MAX_PATH * 2] = {};
        GetCurrentDirectoryW(static_cast<DWORD>(std::size(current)), current);
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(owner, L"open", program.c_str(), nullptr, current, SW_SHOWDEFAULT));
        if (result > 32) return;
    }
    support::esMsgBoxEx(L"Информация о системе почему-то не доступна.", MB_ICONEXCLAMATION, L"", L"", owner);
}

}  // namespace bk::about
