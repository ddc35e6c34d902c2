#include "app/mainwindow/mainwindow.h"

#include <commctrl.h>

#include <cmath>
#include <exception>

#include "app/exiftool/error_object.h"
#include "app/exiftool/exiftool_run.h"
#include "app/settings/settings.h"
#include "app/settings/settings_dialog.h"
#include "app/settings/settings_store.h"
#include "app/startup/startup.h"
#include "app/version/appwindowtitle.h"
#include "app/version/formatversion.h"
#include "support/application.h"
#include "support/appsettings.h"
#include "support/colordialog.h"
#include "support/filedialog.h"
#include "support/msgbox.h"
#include "support/paths.h"
#include "support/screen.h"
#include "support/textfile.h"

namespace metaview {

// csTBSelectAllHook, with the window's key preview: the text box's key-downs go to the main
// window first, then Ctrl+A selects the whole text. Detached when it goes.
class TextBoxHook {
public:
    TextBoxHook(HWND box, MainWindow& owner) : box_(box), owner_(owner) {
        hooked_ = box_ && SetWindowSubclass(box_, &TextBoxHook::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    ~TextBoxHook() { Detach(); }
    TextBoxHook(const TextBoxHook&) = delete;
    TextBoxHook& operator=(const TextBoxHook&) = delete;
    bool hooked() const { return hooked_; }

private:
    static constexpr UINT_PTR kSubclassId = 1;

    void Detach() {
        if (hooked_) RemoveWindowSubclass(box_, &TextBoxHook::Proc, kSubclassId);
        hooked_ = false;
    }

    static LRESULT CALLBACK Proc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
        auto* self = reinterpret_cast<TextBoxHook*>(data);
        try {
            switch (message) {
            case WM_KEYDOWN: {
                const KeyModifiers modifiers{(GetKeyState(VK_SHIFT) & 0x8000) != 0,
                                             (GetKeyState(VK_CONTROL) & 0x8000) != 0,
                                             (GetKeyState(VK_MENU) & 0x8000) != 0};
                const unsigned key = static_cast<unsigned>(wParam);
                self->owner_.KeyDown(key, modifiers);  // the key still reaches the box
                if (self->keys_.OnKeyDown(key, modifiers)) {
                    SendMessageW(box, EM_SETSEL, 0, -1);
                    return 0;
                }
                break;
            }
            case WM_CHAR:
                if (self->keys_.OnChar(static_cast<wchar_t>(wParam))) return 0;
                break;
            case WM_SETCURSOR:
                if (self->owner_.waitCursor()) {
                    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                    return TRUE;
                }
                break;
            case WM_NCDESTROY:
                self->Detach();
                break;
            default:
                break;
            }
        } catch (...) {
            // Nothing may unwind into the system's code: the message goes on to the box.
        }
        return DefSubclassProc(box, message, wParam, lParam);
    }

    HWND box_;
    MainWindow& owner_;
    SelectAllKeys keys_;
    bool hooked_ = false;
};

namespace {

constexpr UINT_PTR kLoadTimer = 1;

// Appends a timing mark to the file named by the timing variable, when that is set; see
// TimingMarkLine. Failures are ignored: the mark is for benchmarks only.
void RecordTimingMark(std::string_view name) {
    wchar_t path[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(kTimingMarkVariable, path, ARRAYSIZE(path));
    if (length == 0 || length >= ARRAYSIZE(path)) return;
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const std::string line =
        TimingMarkLine(name, (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    support::UniqueHandle file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return;
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// Default client area: 8820 x 6885 twips.
constexpr int kClientWidthTwips = 8820;
constexpr int kClientHeightTwips = 6885;
constexpr int kTwipsPerInch = 1440;
constexpr wchar_t kSaveFilter[] = L"Text files|*.TXT|All files|*.*";

ATOM RegisterWindowClass(WNDPROC proc) {
    static const ATOM atom = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = MainWindow::kClassName;
        return RegisterClassExW(&wc);
    }();
    return atom;
}

int ScreenDpiY(HWND window) {
    int dpi = 96;
    if (HDC dc = GetDC(window)) {
        dpi = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(window, dc);
    }
    return dpi;
}

// The outer size of a window whose client area is the default size, centred on the work area
// of the primary monitor.
RECT DefaultPlacement(DWORD style, DWORD exStyle, bool withMenu) {
    int dpiX = 96, dpiY = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpiX = GetDeviceCaps(screen, LOGPIXELSX);
        dpiY = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    RECT r{0, 0, MulDiv(kClientWidthTwips, dpiX, kTwipsPerInch), MulDiv(kClientHeightTwips, dpiY, kTwipsPerInch)};
    AdjustWindowRectEx(&r, style, withMenu, exStyle);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int left = work.left + ((work.right - work.left) - width) / 2;
    const int top = work.top + ((work.bottom - work.top) - height) / 2;
    return RECT{left, top, left + width, top + height};
}

KeyModifiers CurrentModifiers() {
    return {(GetKeyState(VK_SHIFT) & 0x8000) != 0, (GetKeyState(VK_CONTROL) & 0x8000) != 0,
            (GetKeyState(VK_MENU) & 0x8000) != 0};
}

// The menu bar: File, Tools, the version item, Help. Items start as the window has them at
// load; the version item gets its text from ApplySettings.
HMENU BuildMenuBar() {
    HMENU bar = CreateMenu();
    if (!bar) return nullptr;
    if (HMENU file = CreatePopupMenu()) {
        AppendMenuW(file, MF_STRING | MF_GRAYED, menu::kSave, L"Save output text as...\tF2");
        AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(file, MF_STRING, menu::kExit, L"Exit\tCtrl+Q");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
    }
    if (HMENU tools = CreatePopupMenu()) {
        AppendMenuW(tools, MF_STRING | MF_GRAYED, menu::kSettings, L"Settings...");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"Tools");
    }
    AppendMenuW(bar, MF_STRING | MF_GRAYED, menu::kVersion, L"...");
    if (HMENU help = CreatePopupMenu()) {
        AppendMenuW(help, MF_STRING, menu::kHelpContents, L"Contents...\tF1");
        AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(help, MF_STRING, menu::kAbout, L"About...\tShift+F1");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");
    }
    return bar;
}

// esSetMenuJustify: the menu bar items from `position` on sit at the right end of the bar
// (the flag on the first of them moves it and all that follow).
void SetMenuJustify(HWND window, UINT position) {
    HMENU bar = GetMenu(window);
    if (!bar) return;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoW(bar, position, TRUE, &item)) return;
    item.fType |= MFT_RIGHTJUSTIFY;
    SetMenuItemInfoW(bar, position, TRUE, &item);
    DrawMenuBar(window);
}

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(Program& program) {
    if (!RegisterWindowClass(&MainWindow::WindowProc)) return nullptr;
    std::unique_ptr<MainWindow> self(new MainWindow(program));
    constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    constexpr DWORD exStyle = WS_EX_APPWINDOW;
    const RECT r = DefaultPlacement(style, exStyle, true);
    HWND window = CreateWindowExW(exStyle, kClassName, L"", style, r.left, r.top, r.right - r.left,
                                  r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), self.get());
    if (!window) return nullptr;
    self->Load();
    return self;
}

MainWindow::MainWindow(Program& program) : program_(program) {}

MainWindow::~MainWindow() {
    hook_.reset();
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void MainWindow::Show(int showCommand) {
    if (restoredShow_ == SW_SHOWMAXIMIZED && (showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWDEFAULT))
        showCommand = SW_SHOWMAXIMIZED;
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    if (!timerStarted_) timerStarted_ = SetTimer(window_, kLoadTimer, 1, nullptr) != 0;
}

void MainWindow::ShowMessage(const std::wstring& text) {
    if (!text_) return;
    SetWindowTextW(text_, text.c_str());
    SendMessageW(text_, EM_SETSEL, 0, 0);
    SendMessageW(text_, EM_SCROLLCARET, 0, 0);
    SendMessageW(text_, WM_VSCROLL, SB_TOP, 0);
}

bool MainWindow::TranslateAccelerators(MSG& message) const {
    if (!window_ || !accelerators_) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    return TranslateAcceleratorW(window_, accelerators_.get(), &message) != 0;
}

bool MainWindow::KeyDown(unsigned key, KeyModifiers modifiers) {
    switch (MainWindowKeyAction(key, modifiers)) {
    case KeyAction::Close:
        // Posted: the key may come from inside the text box, which closing destroys.
        PostMessageW(window_, WM_CLOSE, 0, 0);
        return true;
    case KeyAction::HelpContents:
    case KeyAction::AboutBox:
        // The help document and the About box come with the library's About box; until then
        // F1 and Shift+F1 are reserved and do nothing.
        return true;
    case KeyAction::None:
        break;
    }
    return false;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        if (auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's code; the message counts as not handled.
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Load, the part that needs the window's children: icons, fonts, text box, hook, menus.
void MainWindow::OnCreate() {
    if (!support::esIsInIDE()) support::asSetWindowResIconAll(window_, L"A_MAIN");
    // The window's font: Tahoma 9 pt with the Cyrillic character set.
    windowFont_.reset(CreateFontW(-MulDiv(9, ScreenDpiY(window_), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    menu_ = BuildMenuBar();
    if (menu_) SetMenu(window_, menu_);
    ACCEL keys[] = {
        {FVIRTKEY, VK_F2, static_cast<WORD>(menu::kSave)},
        {FVIRTKEY | FCONTROL, 'Q', static_cast<WORD>(menu::kExit)},
    };
    accelerators_.reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));

    text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                                ES_AUTOVSCROLL | ES_NOHIDESEL,
                            0, 0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextBoxId)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!text_) return;
    SendMessageW(text_, EM_SETLIMITTEXT, 0, 0);  // no 30,000-character limit
    if (windowFont_) SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_.get()), FALSE);
    hook_ = std::make_unique<TextBoxHook>(text_, *this);
}

// Load, the part that follows creation: settings, colours, font, caption, placement.
void MainWindow::Load() {
    LoadSettings(program_.application);
    ApplySettings(false);
    RestorePlacement();
}

void MainWindow::Unload() {
    SaveState();
    hook_.reset();
}

// What the window keeps for the next start: its placement and the settings.
void MainWindow::SaveState() {
    SavePlacement();
    SaveSettings(program_.application);
}

// Each step on its own: one that cannot be applied leaves the others in place.
void MainWindow::ApplySettings(bool colorsOnly) {
    foreColor_ = support::ResolveColor(g_settings.OutBoxForeColor);
    backColor_ = support::ResolveColor(g_settings.OutBoxBackColor);
    if (HBRUSH brush = CreateSolidBrush(backColor_)) backBrush_.reset(brush);
    if (text_) InvalidateRect(text_, nullptr, TRUE);
    if (colorsOnly) return;

    SetMonospacedFont(false);
    SetWindowTextW(window_,
                   MakeWindowTitle(program_.identity.title, L"", L"", program_.commandLineFileName, L"Untitled", true,
                                   true)
                       .c_str());
    SetVersionItem(FormatVersionMenuCaption(program_.identity));
    SetMenuJustify(window_, 2);
}

void MainWindow::SetMonospacedFont(bool consolasFirst) {
    const auto list = MonospacedFontList(consolasFirst);
    if (!ApplyFirstAvailableFont(list, [this](const FontChoice& font) { return TrySetFont(font.name, font.points); }))
        SetSystemFixedPitchFont(list.back().points);
}

// None of the preferred faces is installed: the column-aligned listing still needs a
// fixed-pitch face, so take the one the system's font mapper offers, if it really is one.
void MainWindow::SetSystemFixedPitchFont(double points) {
    if (!text_) return;
    LOGFONTW wanted{};
    wanted.lfHeight = -static_cast<LONG>(std::lround(points * ScreenDpiY(text_) / 72.0));
    wanted.lfWeight = FW_NORMAL;
    wanted.lfCharSet = RUSSIAN_CHARSET;
    wanted.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    support::GdiObject<HFONT> font(CreateFontIndirectW(&wanted));
    if (!font) return;
    TEXTMETRICW metrics{};
    bool fixed = false;
    if (HDC dc = GetDC(text_)) {
        HGDIOBJ old = SelectObject(dc, font.get());
        // TMPF_FIXED_PITCH set means a variable pitch (the name says the opposite).
        fixed = GetTextMetricsW(dc, &metrics) && !(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);
        SelectObject(dc, old);
        ReleaseDC(text_, dc);
    }
    if (!fixed) return;
    SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    textFont_ = std::move(font);
}

bool MainWindow::TrySetFont(const std::wstring& name, double points) {
    if (!text_ || name.size() >= LF_FACESIZE) return false;
    LOGFONTW wanted{};
    wanted.lfHeight = -static_cast<LONG>(std::lround(points * ScreenDpiY(text_) / 72.0));
    wanted.lfWeight = FW_NORMAL;
    wanted.lfCharSet = RUSSIAN_CHARSET;
    wanted.lfOutPrecision = OUT_DEFAULT_PRECIS;
    wanted.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    wanted.lfQuality = DEFAULT_QUALITY;
    wanted.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    name.copy(wanted.lfFaceName, name.size());
    support::GdiObject<HFONT> font(CreateFontIndirectW(&wanted));
    if (!font) return false;

    wchar_t face[LF_FACESIZE] = {};
    if (HDC dc = GetDC(text_)) {
        HGDIOBJ old = SelectObject(dc, font.get());
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, old);
        ReleaseDC(text_, dc);
    }
    if (!IsSameFace(name, face)) return false;  // the system put another face in its place
    SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    textFont_ = std::move(font);  // the box's previous font of ours goes now, no longer in use
    return true;
}

void MainWindow::SetVersionItem(const std::wstring& caption) {
    if (!menu_) return;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    SetMenuItemInfoW(menu_, menu::kVersion, FALSE, &item);
    DrawMenuBar(window_);
}

void MainWindow::RestorePlacement() {
    support::AppSettings store(program_.application);
    int show = SW_SHOWNORMAL;
    if (store.RestoreWindowPlacement(L"", L"Window placement", window_, &show))
        restoredShow_ = show;
    else
        support::esCenterFormEx(window_, 0);
}

void MainWindow::SavePlacement() {
    support::AppSettings store(program_.application);
    store.SaveWindowPlacement(L"", L"Window placement", window_);
}

std::wstring MainWindow::GetSaveFileName() {
    support::FileDialog dialog;
    dialog.SetFilter(kSaveFilter);
    dialog.SetFlags(0);
    dialog.SetOwnerWindow(GetActiveWindow());
    support::AppSettings store(program_.application);
    dialog.SetInitialDirectory(store.ReadText(keys::kOfnPathsSection, keys::kLastTxtDirectory, L""));
    if (!dialog.ShowSave()) return {};
    const std::wstring fileName = dialog.FileName();
    store.WriteText(keys::kOfnPathsSection, keys::kLastTxtDirectory, support::esGetFilePath(fileName));
    return fileName;
}

std::wstring MainWindow::BoxText() const {
    if (!text_) return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(text_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(text_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void MainWindow::SaveOutputText() {
    const std::wstring fileName = GetSaveFileName();
    if (fileName.empty()) return;
    const support::FileError failure = support::TextFileIO::WriteTextFile(fileName, TextToSave(outputText_, BoxText()));
    if (failure.failed()) ShowSaveFailure(fileName, failure.code, failure.description);
}

// Through the library's error display; when the library cannot be reached, a plain message
// box with the same texts, so the failure is never silent.
void MainWindow::ShowSaveFailure(const std::wstring& fileName, unsigned long code, const std::wstring& description) {
    const std::wstring leadIn = SaveFailureText(fileName);
    support::ComPtr<_orxErr> errors;
    if (SUCCEEDED(program_.library.OrxErr(errors))) {
        const long number = static_cast<long>(HRESULT_FROM_WIN32(code));
        ErrObject* raw = nullptr;
        if (SUCCEEDED(CreateErrorObject(ErrorRecord{number, description, L"TextFileIO", {}, 0}, &raw))) {
            support::Bstr title(L"");
            support::Bstr text(leadIn);
            VARIANT_BOOL silent = VARIANT_FALSE;
            VbMsgBoxResult result{};
            BSTR textRaw = text.detach();
            const HRESULT hr = errors->ErrorDisplay(&raw, vbCritical, title.get(), &textRaw, &silent, &result);
            text = support::Bstr::Attach(textRaw);
            support::ComPtr<ErrObject> object = support::ComPtr<ErrObject>::Attach(raw);  // [in, out]: ours again
            if (SUCCEEDED(hr)) return;
        }
    }
    support::esMsgBoxEx(leadIn + L"\r\n\r\n" + description, MB_ICONERROR, L"", L"");
}

void MainWindow::SetBusyCursor(bool busy) {
    waitCursor_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void MainWindow::OnLoadTimer() {
    KillTimer(window_, kLoadTimer);
    if (busy_ || runFinished_) return;
    busy_ = true;
    support::ComPtr<_orxErr> errors;
    program_.library.OrxErr(errors);  // without it the reports use the system's own texts
    ExifToolHost host;
    host.SetBusyCursor = [this](bool wait) { SetBusyCursor(wait); };
    const ExifToolSettings settings{g_settings.TextLanguage, g_settings.FileNameCharset};
    RunExifTool(program_.commandLineFileName, outputText_, [this](const std::wstring& text) { ShowMessage(text); },
                settings, errors.get(), host);
    if (text_) UpdateWindow(text_);  // the result is painted now, not after the menu changes below
    RecordTimingMark("result-shown");
    busy_ = false;
    runFinished_ = true;
    if (menu_) {
        EnableMenuItem(menu_, menu::kSave, MF_BYCOMMAND | MF_ENABLED);
        EnableMenuItem(menu_, menu::kSettings, MF_BYCOMMAND | MF_ENABLED);
        DrawMenuBar(window_);
    }
}

void MainWindow::OnCommand(unsigned id) {
    switch (id) {
    case menu::kSave:
        if (runFinished_ && !busy_) SaveOutputText();
        break;
    case menu::kExit:
        PostMessageW(window_, WM_CLOSE, 0, 0);
        break;
    case menu::kSettings:
        if (runFinished_ && !busy_) {
            ShowSettingsDialog(window_, program_.application);
            ApplySettings(true);  // the ExifTool options count from the next start
        }
        break;
    case menu::kHelpContents:
        KeyDown(kKeyF1, KeyModifiers{});
        break;
    case menu::kAbout:
        KeyDown(kKeyF1, KeyModifiers{true, false, false});
        break;
    default:
        break;
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        if (text_) MoveWindow(text_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (text_) SetFocus(text_);
        return 0;
    case WM_KEYDOWN:
        if (KeyDown(static_cast<unsigned>(wParam), CurrentModifiers())) return 0;
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1) OnCommand(LOWORD(wParam));  // menu or accelerator
        return 0;
    case WM_TIMER:
        if (wParam == kLoadTimer) {
            OnLoadTimer();
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:  // a read-only edit control asks with this one
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == text_ && backBrush_) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, foreColor_);
            SetBkColor(dc, backColor_);
            return reinterpret_cast<LRESULT>(backBrush_.get());
        }
        break;
    case WM_SETCURSOR:
        if (waitCursor_) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        if (busy_) return 0;  // refused silently while ExifTool runs
        DestroyWindow(window_);
        return 0;
    case WM_QUERYENDSESSION:
        return busy_ ? FALSE : TRUE;
    case WM_ENDSESSION:
        // The session ends: the process may be ended without the window ever being destroyed,
        // so what unloading would write is written now.
        if (wParam) SaveState();
        return 0;
    case WM_DESTROY:
        KillTimer(window_, kLoadTimer);
        try {
            Unload();
        } catch (...) {
            // Settings that cannot be written must not keep the program from ending.
        }
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        text_ = nullptr;
        menu_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

int RunMessageLoop(MainWindow& window) {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        if (window.TranslateAccelerators(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace metaview
